#include "media/PixelFormat.h"

#include "host/Host.h"

namespace media {
namespace {

// The switches are read and written only on the main thread, between page loads.
bool gUseDeviceDepth = true;
bool gSwapRedBlue = false;
int gDisplayDepth = 0;  // 0: not asked yet

}  // namespace

bool useDeviceDepth() {
  return gUseDeviceDepth;
}
void setUseDeviceDepth(bool on) {
  gUseDeviceDepth = on;
}
bool swapRedBlue() {
  return gSwapRedBlue;
}
void setSwapRedBlue(bool on) {
  gSwapRedBlue = on;
}

int displayDepth() {
  if (gDisplayDepth == 0) {
    // The screen's own depth, as a bitmap compatible with it would have; asked once because it
    // cannot change while the program runs.
    setDisplayDepth(host::Host::get().profile().displayDepth);
  }
  return gDisplayDepth;
}

void setDisplayDepth(int bitsPerPixel) {
  if (bitsPerPixel == 0) {
    gDisplayDepth = 0;
    return;
  }
  // Pictures exist in 16 and 32 bits only: a 24-bit display gets 32-bit pictures, and anything
  // shallower than 24 bits is served best by RGB565.
  gDisplayDepth = bitsPerPixel >= 24 ? 32 : 16;
}

int pictureDepth(bool useDeviceDepth) {
  return useDeviceDepth ? displayDepth() : 32;
}

PixelLayout currentLayout() {
  return PixelLayout{pictureDepth(gUseDeviceDepth), gSwapRedBlue};
}

}  // namespace media
