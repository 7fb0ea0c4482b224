#include "platform/BackBuffer.h"

#include "host/Gdi.h"
#include "host/Host.h"

namespace platform {

std::unique_ptr<BackBuffer> BackBuffer::create(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  host::Gdi& gdi = host::Host::get().gdi();
  void* bits = nullptr;
  std::unique_ptr<BackBuffer> buffer(new BackBuffer());
  buffer->bitmap_ = gdi.createDibSection(host::topDownBitmapInfo(width, height, 16), &bits);
  buffer->dc_ = gdi.createCompatibleDc(0);
  if (!buffer->bitmap_ || !buffer->dc_ || !bits) return nullptr;
  buffer->previous_ = gdi.selectObject(buffer->dc_, buffer->bitmap_);
  buffer->pixels_ = static_cast<uint16_t*>(bits);
  buffer->width_ = width;
  buffer->height_ = height;
  buffer->pitch_ = (width * 2 + 3) & ~3;
  return buffer;
}

BackBuffer::~BackBuffer() {
  host::Gdi& gdi = host::Host::get().gdi();
  if (dc_ && previous_) gdi.selectObject(dc_, previous_);
  if (dc_) gdi.deleteDc(dc_);
  if (bitmap_) gdi.deleteObject(bitmap_);
}

void BackBuffer::present(host::Hdc dc) const {
  host::Host::get().gdi().bitBlt(dc, 0, 0, width_, height_, dc_, 0, 0, host::SRCCOPY);
}

}  // namespace platform
