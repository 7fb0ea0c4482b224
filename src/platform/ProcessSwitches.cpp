#include "platform/ProcessSwitches.h"

namespace platform {

namespace {

struct Switches {
  float screenScale = 1.0f;
  bool soundEffectsEnabled = false;
  std::string guiFolder;
};

Switches& switches() {
  static Switches instance;
  return instance;
}

}  // namespace

float screenScale() {
  return switches().screenScale;
}

void setScreenScale(float scale) {
  if (scale > 0.0f) switches().screenScale = scale;
}

void setScreenScaleFromWidth(int clientWidth) {
  // The float constant 0x3B888889: 240 gives exactly 1.0f and 480 exactly 2.0f.
  setScreenScale(static_cast<float>(clientWidth) * 0.004166667f);
}

int scaleInt(int x) {
  float scale = switches().screenScale;
  if (scale == 1.0f) return x;
  return static_cast<int>(static_cast<float>(x) * scale + 0.5f);
}

float scaleFloat(float y) {
  float scale = switches().screenScale;
  return scale == 1.0f ? y : y * scale;
}

bool soundEffectsEnabled() {
  return switches().soundEffectsEnabled;
}
void setSoundEffectsEnabled(bool enabled) {
  switches().soundEffectsEnabled = enabled;
}

const std::string& guiFolder() {
  return switches().guiFolder;
}
void setGuiFolder(std::string_view folder) {
  switches().guiFolder = folder;
}

}  // namespace platform
