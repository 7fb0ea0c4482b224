// The process-wide switches the whole program reads: the 2D screen scale, the sound-effects
// switch and the GUI resource folder. Each is set once at start-up (and the sound switch again
// when the player changes it).
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Layouts are written for a 240-pixel-wide screen; positions and sizes are multiplied by
// client width / 240 when read. Starts at 1.0.
float screenScale();
// Sets the scale from the main window's client width (width * 0.004166667); a result <= 0 is
// ignored and the old value stays.
void setScreenScaleFromWidth(int clientWidth);
void setScreenScale(float scale);
// x unchanged at scale exactly 1.0, else (int)(x * scale + 0.5).
int scaleInt(int x);
// y unchanged at scale exactly 1.0, else y * scale.
float scaleFloat(float y);

bool soundEffectsEnabled();
void setSoundEffectsEnabled(bool enabled);

// The folder every template that names no other folder is loaded from, ending in '\'.
const std::string& guiFolder();
void setGuiFolder(std::string_view folder);

}  // namespace platform
