// Builds 3DS chunk streams byte by byte, for tests that need files no exporter would write.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace engine3d_test {

class ChunkWriter {
 public:
  // Opens a chunk; its length is filled in by end().
  ChunkWriter& begin(std::uint16_t id) {
    u16(id);
    open_.push_back(bytes_.size());
    u32(0);
    return *this;
  }
  ChunkWriter& end() {
    const std::size_t lengthAt = open_.back();
    open_.pop_back();
    const auto length = static_cast<std::uint32_t>(bytes_.size() - (lengthAt - 2));
    for (int i = 0; i < 4; ++i) bytes_[lengthAt + i] = static_cast<std::uint8_t>(length >> (8 * i));
    return *this;
  }
  // A header with an explicit (possibly wrong) length and nothing else.
  ChunkWriter& header(std::uint16_t id, std::uint32_t length) { return u16(id).u32(length); }

  ChunkWriter& u8(std::uint8_t v) {
    bytes_.push_back(v);
    return *this;
  }
  ChunkWriter& u16(std::uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
  ChunkWriter& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  ChunkWriter& f32(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return u32(bits);
  }
  ChunkWriter& str(const std::string& s) {
    for (char c : s) u8(static_cast<std::uint8_t>(c));
    return u8(0);
  }

  // Common records.
  ChunkWriter& vertices(const std::vector<float>& xyz) {
    begin(0x4110).u16(static_cast<std::uint16_t>(xyz.size() / 3));
    for (float f : xyz) f32(f);
    return end();
  }
  ChunkWriter& faces(const std::vector<int>& abc) {
    u16(static_cast<std::uint16_t>(abc.size() / 3));
    for (size_t i = 0; i < abc.size(); i += 3)
      u16(static_cast<std::uint16_t>(abc[i]))
          .u16(static_cast<std::uint16_t>(abc[i + 1]))
          .u16(static_cast<std::uint16_t>(abc[i + 2]))
          .u16(0);
    return *this;
  }
  ChunkWriter& colour24(std::uint16_t id, int r, int g, int b) {
    return begin(id).begin(0x0011).u8(r).u8(g).u8(b).end().end();
  }
  ChunkWriter& percentInt(std::uint16_t id, int p) {
    return begin(id).begin(0x0030).u16(static_cast<std::uint16_t>(p)).end().end();
  }

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::string text() const { return std::string(bytes_.begin(), bytes_.end()); }

 private:
  std::vector<std::uint8_t> bytes_;
  std::vector<std::size_t> open_;
};

}  // namespace engine3d_test
