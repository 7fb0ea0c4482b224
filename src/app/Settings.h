// The settings template: which file the program reads its settings from and the entries it
// reads. The file lies in the GUI folder; its entries are check-box groups whose `selected`
// item is the choice made.
#pragma once

#include "scene/ObjectTable.h"

namespace app {

// The settings file of most devices, and of a Dell device with a 480-pixel-wide frame buffer.
inline constexpr const char* kSettingsFile = "gsetting.properties";
inline constexpr const char* kDellSettingsFile = "gsetting_2700G.properties";

// The entries: sound effects on (0) or off, the graphics driver (0: the software renderer), the
// computer pilots' skill and the control style of the game page.
inline constexpr const char* kSoundEffectSetting = "soundEffect";
inline constexpr const char* kDriverTypeSetting = "driverType";
inline constexpr const char* kSkillLevelSetting = "skillLevel";
inline constexpr const char* kControlStyleSetting = "controlStyle";

// What a settings file must hold (for `file`, one of the two above).
scene::TemplateRequirements settingsRequirements(const char* file);

}  // namespace app
