// The emulated handheld: everything the program may ask about the device comes from one of these.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// Geometry of the display's raw frame buffer as the display escape reports it. Strides are in
// bytes; `xStride` may be negative on devices whose memory runs across the portrait picture.
struct RawFrameBufferInfo {
  int width = 0;
  int height = 0;
  int xStride = 2;
  int yStride = 0;
  int bitsPerPixel = 16;
};

struct DeviceProfile {
  std::string name;
  int screenWidth = 240;  // system metrics, pixels
  int screenHeight = 320;
  int displayDepth = 16;  // RGB565
  RawFrameBufferInfo rawFrameBuffer;
  std::string oemInfo;
  std::string processorCore;
  std::string processorName;
  std::uint64_t totalMemory = 64ull << 20;
  // When set, the memory status reports these figures instead of the machine's real ones.
  std::optional<std::uint64_t> availableMemory;
  // True when the screen has more than 240x320 pixels and the OS would pixel-double programs
  // that do not declare themselves hi-res aware.
  bool hiRes = false;
  // Host keys (SDL key names, e.g. "F9") that act as the application buttons A, B, C, D.
  std::array<std::string, 4> appButtonKeys{"F9", "F10", "F11", "F12"};
  // GAPI special case: the display is driven 240x320 through a landscape frame buffer.
  bool gapiLandscapeBuffer = false;
};

// Names of the built-in profiles, default first.
std::vector<std::string> profileNames();

// The profile of that name; nullopt for an unknown name.
std::optional<DeviceProfile> findProfile(std::string_view name);

// The profile named by $SKIRROW_DEVICE, else the default ("qvga"). An unknown name falls back to
// the default with a note on stderr.
DeviceProfile profileFromEnvironment();

// True when the processor name qualifies for OpenGL ES: upper-cased it contains "PXA" and also
// "27" or "28".
bool processorQualifiesForGl(std::string_view processorName);

}  // namespace host
