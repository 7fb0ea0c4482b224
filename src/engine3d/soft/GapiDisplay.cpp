#include "engine3d/soft/GapiDisplay.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "host/System.h"

namespace engine3d {

GapiDisplay::GapiDisplay(host::Gapi& gapi) : gapi_(gapi) {}

GapiDisplay::~GapiDisplay() {
  closeGapi();
}

bool GapiDisplay::openGapi(host::Hwnd window, bool openDisplay, bool openInput) {
  bool ok = true;
  if (openDisplay && !displayOpened_) {
    if (gapi_.openDisplay(window, host::GX_FULLSCREEN)) {
      displayOpened_ = true;
      properties_ = gapi_.displayProperties();
      const std::string oem = host::oemInfo();
      iPaq_ = oem.find("iPAQ") != std::string::npos && oem.find("H38") != std::string::npos;
      const host::RawFrameBuffer raw = gapi_.rawFrameBuffer();
      vgaFrameBuffer_ = raw.width == 480;
      vgaScreen_ = vgaFrameBuffer_ && host::screenWidth() == 480;
      if (iPaq_) {
        properties_.width = 240;
        properties_.height = 320;
        properties_.xPitch = -640;
        properties_.yPitch = 2;
        properties_.bitsPerPixel = 16;
        properties_.format = host::kfDirect | host::kfDirect565 | host::kfLandscape;
        // The device's frame memory sits at a fixed physical address; here the Game API hands
        // out the same landscape buffer from beginDraw, so the pointer comes from there and is
        // held (and ended) like the general case.
        frame_ = static_cast<std::uint16_t*>(gapi_.beginDraw());
        frameFromBeginDraw_ = frame_ != nullptr;
      } else if (vgaFrameBuffer_) {
        properties_.width = static_cast<std::uint32_t>(raw.width);
        properties_.height = static_cast<std::uint32_t>(raw.height);
        properties_.xPitch = raw.xStride;
        properties_.yPitch = raw.yStride;
        properties_.bitsPerPixel = raw.bitsPerPixel;
        properties_.format = raw.format;
        frame_ = static_cast<std::uint16_t*>(raw.frame);
      } else {
        frame_ = static_cast<std::uint16_t*>(gapi_.beginDraw());
        frameFromBeginDraw_ = frame_ != nullptr;
      }
    } else {
      ok = false;
    }
  }
  if (openInput && !inputOpened_) {
    if (gapi_.openInput()) {
      inputOpened_ = true;
      keys_ = gapi_.defaultKeys(host::GX_LANDSCAPEKEYS);
      keys_.a = kKeyA;
      keys_.b = kKeyB;
      keys_.c = kKeyC;
      keys_.start = kKeyStart;
    } else {
      ok = false;
    }
  }
  return ok;
}

void GapiDisplay::closeGapi() {
  if (frameFromBeginDraw_) gapi_.endDraw();
  frameFromBeginDraw_ = false;
  frame_ = nullptr;
  if (displayOpened_) gapi_.closeDisplay();
  displayOpened_ = false;
  if (inputOpened_) gapi_.closeInput();
  inputOpened_ = false;
}

void GapiDisplay::blitToScreen(const PixelTarget& surface, int x, int y, const BlitRect* source,
                               int rotation) {
  if (!frame_ || !surface.bits || surface.bitsPerPixel != 16 || surface.width <= 0 ||
      surface.height <= 0)
    return;
  BlitRect r = source ? *source : BlitRect{0, 0, surface.width, surface.height};
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, surface.width);
  r.bottom = std::min(r.bottom, surface.height);
  if (r.right <= r.left || r.bottom <= r.top) return;
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;

  // Destination corner and size on the (logical) screen.
  int originX = x + r.left, originY = y + r.top, destW = w, destH = h;
  if (rotation == kRotateLeft) {
    originX = x + r.top;
    originY = y + surface.width - r.right;
    destW = h;
    destH = w;
  } else if (rotation == kRotateRight) {
    originX = x + surface.height - r.bottom;
    originY = y + r.left;
    destW = h;
    destH = w;
  }
  // A VGA frame buffer has twice the resolution: positions double, and pixels become 2 x 2
  // blocks unless the program already sees the full-size screen.
  const int scale = vgaFrameBuffer_ ? 2 : 1;
  const int block = vgaFrameBuffer_ && !vgaScreen_ ? 2 : 1;
  const int blockShift = block == 2 ? 1 : 0;
  const int baseX = originX * scale;
  const int baseY = originY * scale;
  const int screenW = static_cast<int>(properties_.width);
  const int screenH = static_cast<int>(properties_.height);
  const int x0 = std::max(baseX, 0);
  const int x1 = std::min(baseX + destW * block, screenW);
  const int y0 = std::max(baseY, 0);
  const int y1 = std::min(baseY + destH * block, screenH);
  if (x1 <= x0 || y1 <= y0) return;

  const std::ptrdiff_t xPitch = properties_.xPitch / 2;  // in 16-bit units
  const std::ptrdiff_t yPitch = properties_.yPitch / 2;
  const auto* bits = static_cast<const std::uint8_t*>(surface.bits);
  auto sourceRow = [&](int sy) {
    return reinterpret_cast<const std::uint16_t*>(bits +
                                                  static_cast<std::ptrdiff_t>(sy) * surface.stride);
  };

  if (rotation == kRotateNone && block == 1 && xPitch == 1) {
    // Rows stay rows and the frame buffer's pixels are adjacent: one block copy per row.
    for (int py = y0; py < y1; ++py) {
      const std::uint16_t* from = sourceRow(r.top + (py - baseY)) + r.left + (x0 - baseX);
      std::uint16_t* to = frame_ + py * yPitch + x0;
      std::memcpy(to, from, static_cast<std::size_t>(x1 - x0) * 2);
    }
    return;
  }
  for (int py = y0; py < y1; ++py) {
    const int oy = (py - baseY) >> blockShift;
    std::uint16_t* to = frame_ + py * yPitch + x0 * xPitch;
    for (int px = x0; px < x1; ++px, to += xPitch) {
      const int ox = (px - baseX) >> blockShift;
      int sx, sy;
      if (rotation == kRotateLeft) {
        sx = r.right - 1 - oy;
        sy = r.top + ox;
      } else if (rotation == kRotateRight) {
        sx = r.left + oy;
        sy = r.bottom - 1 - ox;
      } else {
        sx = r.left + ox;
        sy = r.top + oy;
      }
      *to = sourceRow(sy)[sx];
    }
  }
}

}  // namespace engine3d
