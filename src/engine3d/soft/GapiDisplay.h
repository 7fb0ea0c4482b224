// GapiDisplay: direct access to the display frame buffer and the hardware buttons through the
// device's Game API, for the 2D display path and the software renderer's pictures.
//
// Three kinds of device are told apart when the display opens:
// - the iPAQ H38 series (OEM text containing "iPAQ" and "H38"), always driven as a 240 x 320
//   RGB565 display through its landscape buffer (x pitch -640 bytes, y pitch 2);
// - VGA frame buffers (raw width 480): the raw frame buffer's geometry and pixels are used,
//   and blits land at doubled positions; a program that sees a 240-wide system screen is
//   pixel-doubled (each pixel a 2 x 2 block), one that sees the full 480 copies 1:1;
// - everything else: the pointer from beginDraw, held until the display closes.
#pragma once

#include <cstdint>

#include "engine3d/SceneView.h"
#include "host/Gapi.h"
#include "host/Types.h"

namespace engine3d {

// A source rectangle: [left, right) x [top, bottom) in pixels.
struct BlitRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class GapiDisplay {
 public:
  // Blit rotations: rows as rows, or a quarter turn one way or the other.
  static constexpr int kRotateNone = 0;
  static constexpr int kRotateLeft = 1;   // the picture's right side ends up at the top
  static constexpr int kRotateRight = 2;  // the picture's left side ends up at the top
  // The key codes that replace the A, B, C and Start keys: the four application buttons.
  static constexpr std::uint16_t kKeyA = 0xC1;
  static constexpr std::uint16_t kKeyB = 0xC2;
  static constexpr std::uint16_t kKeyC = 0xC3;
  static constexpr std::uint16_t kKeyStart = 0xC4;

  // `gapi` is borrowed and must outlive this object.
  explicit GapiDisplay(host::Gapi& gapi);
  // Closes what is still open.
  ~GapiDisplay();
  GapiDisplay(const GapiDisplay&) = delete;
  GapiDisplay& operator=(const GapiDisplay&) = delete;

  // Opens the display full screen (with `openDisplay`) and the buttons (with `openInput`).
  // False when a part asked for could not be opened; what did open stays open until close().
  bool openGapi(host::Hwnd window, bool openDisplay, bool openInput);
  // Ends drawing when the frame pointer came from beginDraw, closes the display and the input,
  // each only when it was opened.
  void closeGapi();

  // Passed straight to the Game API.
  int suspend() { return gapi_.suspend(); }
  int resume() { return gapi_.resume(); }
  int setViewport(std::uint32_t top, std::uint32_t height, std::uint32_t r1, std::uint32_t r2) {
    return gapi_.setViewport(top, height, r1, r2);
  }
  void* beginDraw() { return gapi_.beginDraw(); }
  int endDraw() { return gapi_.endDraw(); }

  // Copies the 16-bit `surface` (or the part `source` of it, clipped to it) to the frame buffer
  // with its corner at (x, y), turned by `rotation`. The destination is clipped to the screen.
  // Nothing happens without a frame pointer, or for a surface that is not 16-bit.
  void blitToScreen(const PixelTarget& surface, int x, int y, const BlitRect* source, int rotation);

  // The display properties in use (forced on the iPAQ, the raw frame buffer's on VGA).
  const host::GxDisplayProperties& properties() const { return properties_; }
  bool iPaq() const { return iPaq_; }
  bool vgaFrameBuffer() const { return vgaFrameBuffer_; }
  bool vgaScreen() const { return vgaScreen_; }
  std::uint16_t* frame() const { return frame_; }
  // The button list (landscape keys with the application buttons as A, B, C and Start).
  const host::GxKeyList& keys() const { return keys_; }
  std::uint16_t keyA() const { return keys_.a; }
  std::uint16_t keyB() const { return keys_.b; }
  std::uint16_t keyC() const { return keys_.c; }
  std::uint16_t keyStart() const { return keys_.start; }

 private:
  host::Gapi& gapi_;
  host::GxDisplayProperties properties_;
  host::GxKeyList keys_;
  std::uint16_t* frame_ = nullptr;
  bool displayOpened_ = false;
  bool inputOpened_ = false;
  bool frameFromBeginDraw_ = false;
  bool iPaq_ = false;
  bool vgaFrameBuffer_ = false;
  bool vgaScreen_ = false;
};

}  // namespace engine3d
