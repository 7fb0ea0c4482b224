#include "BmpWriter.h"

namespace content {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v)), out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF), put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> encodeBmp(const Picture& picture) {
  const uint32_t w = static_cast<uint32_t>(picture.width());
  const uint32_t h = static_cast<uint32_t>(picture.height());
  const uint32_t stride = (w * 3 + 3) & ~3u;
  const uint32_t dataSize = stride * h;
  std::vector<uint8_t> out;
  out.reserve(54 + dataSize);
  out.push_back('B'), out.push_back('M');
  put32(out, 54 + dataSize), put32(out, 0), put32(out, 54);
  put32(out, 40), put32(out, w), put32(out, h), put16(out, 1), put16(out, 24);
  put32(out, 0), put32(out, dataSize), put32(out, 2835), put32(out, 2835), put32(out, 0),
      put32(out, 0);
  for (int y = static_cast<int>(h) - 1; y >= 0; --y) {
    for (uint32_t x = 0; x < w; ++x) {
      Rgba p = picture.at(static_cast<int>(x), y);
      out.push_back(p.b), out.push_back(p.g), out.push_back(p.r);
    }
    for (uint32_t pad = w * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

}  // namespace content
