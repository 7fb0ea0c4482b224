// The Game API of the device: direct access to the display frame buffer and the hardware
// buttons.
//
// The frame buffer is the device screen (RGB565). beginDraw hands out the address of pixel
// (0, 0) and the properties give the byte pitches to step by. On the iPAQ H38 profile the
// memory is a 320x240 landscape buffer: x pitch -640, y pitch 2, and the pointer lies at the
// start of the buffer's last row; endDraw turns it into the portrait screen. Changes become
// visible at endDraw, and while the display is open the screen is shown continuously, so
// writes through the raw frame buffer pointer also appear.
#pragma once

#include <cstdint>
#include <vector>

#include "host/Types.h"

namespace host {

class Host;

constexpr std::uint32_t GX_FULLSCREEN = 0x01;
constexpr int GX_NORMALKEYS = 0x02;
constexpr int GX_LANDSCAPEKEYS = 0x03;

// Display format flags.
constexpr std::uint32_t kfLandscape = 0x8;
constexpr std::uint32_t kfPalette = 0x10;
constexpr std::uint32_t kfDirect = 0x20;
constexpr std::uint32_t kfDirect555 = 0x40;
constexpr std::uint32_t kfDirect565 = 0x80;

struct GxDisplayProperties {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::int32_t xPitch = 0;  // bytes from a pixel to its right neighbour
  std::int32_t yPitch = 0;  // bytes from a pixel to the one below
  std::uint32_t bitsPerPixel = 0;
  std::uint32_t format = 0;
};

struct GxKeyList {
  std::uint16_t up = 0, down = 0, left = 0, right = 0;
  std::uint16_t a = 0, b = 0, c = 0, start = 0;
};

// What the raw frame-buffer display escape reports.
struct RawFrameBuffer {
  std::uint16_t format = 0;
  std::uint16_t bitsPerPixel = 0;
  void* frame = nullptr;
  int xStride = 0;
  int yStride = 0;
  int width = 0;
  int height = 0;
};

class Gapi {
 public:
  explicit Gapi(Host& host);

  // Each returns 1 on success, 0 on failure, as the library does.
  int openDisplay(Hwnd window, std::uint32_t flags);
  int closeDisplay();
  GxDisplayProperties displayProperties() const;
  // Address of pixel (0, 0); null when the display is not open or is suspended.
  void* beginDraw();
  int endDraw();
  int suspend();
  int resume();
  int setViewport(std::uint32_t top, std::uint32_t height, std::uint32_t reserved1,
                  std::uint32_t reserved2);
  int openInput();
  int closeInput();
  // Keys for the orientation asked for; the application buttons are VK_APP1..VK_APP4 and the
  // arrows the arrow keys. Landscape keys turn the arrows a quarter to the left.
  GxKeyList defaultKeys(int options) const;

  // The raw frame buffer; its pixels are the device screen for every profile except H38, where
  // the escape is not offered (frame null, as on that device).
  RawFrameBuffer rawFrameBuffer();

  bool displayOpen() const { return displayOpen_; }
  bool inputOpen() const { return inputOpen_; }
  bool suspended() const { return suspended_; }
  bool drawing() const { return drawing_; }
  // True while programs may write to the screen memory behind the host's back.
  bool showsContinuously() const { return displayOpen_ || rawHandedOut_; }

 private:
  Host& host_;
  bool displayOpen_ = false;
  bool inputOpen_ = false;
  bool suspended_ = false;
  bool drawing_ = false;
  bool rawHandedOut_ = false;
  std::vector<std::uint16_t> landscape_;  // H38 buffer, 320 x 240
};

}  // namespace host
