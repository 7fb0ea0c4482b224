#include "app/Settings.h"

namespace app {

scene::TemplateRequirements settingsRequirements(const char* file) {
  scene::TemplateRequirements requirements{file, {}};
  for (const char* entry :
       {kSoundEffectSetting, kDriverTypeSetting, kSkillLevelSetting, kControlStyleSetting})
    requirements.objects.push_back({entry, scene::ObjectRequirement::Form::kProperty});
  return requirements;
}

}  // namespace app
