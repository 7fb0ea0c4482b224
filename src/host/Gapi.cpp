#include "host/Gapi.h"

#include <algorithm>

#include "host/Host.h"
#include "host/Keys.h"
#include "host/Screen.h"
#include "host/WindowManager.h"

namespace host {

Gapi::Gapi(Host& host) : host_(host) {}

int Gapi::openDisplay(Hwnd window, std::uint32_t flags) {
  if (displayOpen_ || !host_.windows().isWindow(window)) return 0;
  displayOpen_ = true;
  suspended_ = false;
  if (host_.profile().gapiLandscapeBuffer) {
    const Screen& s = host_.screen();
    landscape_.assign(static_cast<size_t>(s.width()) * s.height(), 0);
  }
  return 1;
}

int Gapi::closeDisplay() {
  if (!displayOpen_) return 0;
  if (drawing_) endDraw();
  displayOpen_ = false;
  landscape_.clear();
  return 1;
}

GxDisplayProperties Gapi::displayProperties() const {
  const DeviceProfile& p = host_.profile();
  GxDisplayProperties props;
  const Screen& screen = host_.screen();
  props.width = static_cast<std::uint32_t>(screen.width());
  props.height = static_cast<std::uint32_t>(screen.height());
  props.bitsPerPixel = 16;
  props.format = kfDirect | kfDirect565;
  if (p.gapiLandscapeBuffer) {
    // Rows of the landscape buffer are screen-height pixels long.
    props.xPitch = -screen.height() * 2;
    props.yPitch = 2;
    props.format |= kfLandscape;
  } else {
    props.xPitch = 2;
    props.yPitch = screen.width() * 2;
  }
  return props;
}

void* Gapi::beginDraw() {
  if (!displayOpen_ || suspended_) return nullptr;
  drawing_ = true;
  Screen& s = host_.screen();
  if (landscape_.empty()) return s.pixels();
  // Fill the landscape buffer with the current picture so partial drawing keeps the rest.
  int w = s.width(), h = s.height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      landscape_[static_cast<size_t>(w - 1 - x) * h + y] = s.pixels()[y * w + x];
  return landscape_.data() + static_cast<size_t>(w - 1) * h;
}

int Gapi::endDraw() {
  if (!drawing_) return 0;
  drawing_ = false;
  Screen& s = host_.screen();
  if (!landscape_.empty()) {
    int w = s.width(), h = s.height();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        s.pixels()[y * w + x] = landscape_[static_cast<size_t>(w - 1 - x) * h + y];
  }
  s.markDirty({0, 0, s.width(), s.height()});
  return 1;
}

int Gapi::suspend() {
  if (!displayOpen_ && !inputOpen_) return 0;
  suspended_ = true;
  return 1;
}

int Gapi::resume() {
  if (!displayOpen_ && !inputOpen_) return 0;
  suspended_ = false;
  return 1;
}

int Gapi::setViewport(std::uint32_t top, std::uint32_t height, std::uint32_t, std::uint32_t) {
  return displayOpen_ && top + height <= static_cast<std::uint32_t>(host_.screen().height()) ? 1
                                                                                             : 0;
}

int Gapi::openInput() {
  if (inputOpen_) return 0;
  inputOpen_ = true;
  return 1;
}

int Gapi::closeInput() {
  if (!inputOpen_) return 0;
  inputOpen_ = false;
  return 1;
}

GxKeyList Gapi::defaultKeys(int options) const {
  GxKeyList keys;
  keys.a = VK_APP1, keys.b = VK_APP2, keys.c = VK_APP3, keys.start = VK_APP4;
  if (options == GX_LANDSCAPEKEYS) {
    // Holding the device on its side turns the arrows with it.
    keys.up = VK_LEFT, keys.down = VK_RIGHT, keys.left = VK_DOWN, keys.right = VK_UP;
  } else {
    keys.up = VK_UP, keys.down = VK_DOWN, keys.left = VK_LEFT, keys.right = VK_RIGHT;
  }
  return keys;
}

RawFrameBuffer Gapi::rawFrameBuffer() {
  const DeviceProfile& p = host_.profile();
  RawFrameBuffer raw;
  raw.format = 2;  // RGB565
  raw.bitsPerPixel = 16;
  raw.width = p.rawFrameBuffer.width;
  raw.height = p.rawFrameBuffer.height;
  raw.xStride = p.rawFrameBuffer.xStride;
  raw.yStride = p.rawFrameBuffer.yStride;
  if (!p.gapiLandscapeBuffer) {
    raw.frame = host_.screen().physicalPixels();
    rawHandedOut_ = true;
  }
  return raw;
}

}  // namespace host
