#include "Requirements.h"

#include "app/Settings.h"
#include "game/GameCanvasObjects.h"
#include "media/MessageBoxObjects.h"
#include "pages/RootScreens.h"

namespace inspect {

const std::vector<scene::TemplateRequirements>& screenRequirements() {
  static const std::vector<scene::TemplateRequirements> screens = [] {
    std::vector<scene::TemplateRequirements> all;
    all.push_back({"cover.properties", {}});
    for (scene::TemplateRequirements& screen : pages::rootScreenRequirements())
      all.push_back(std::move(screen));
    all.push_back(media::MessageBoxObjects::table().requirements());
    all.push_back(game::GameCanvasObjects::table().requirements());
    all.push_back(app::settingsRequirements(app::kSettingsFile));
    all.push_back(app::settingsRequirements(app::kDellSettingsFile));
    all.push_back({"trainingtips_ppc.txt", {}});
    return all;
  }();
  return screens;
}

const std::vector<std::string_view>& guiFiles() {
  static const std::vector<std::string_view> files = {
      "video0.gif",        "video1.gif",       "video2.gif",   "video3.gif",
      "video4.gif",        "video5.gif",       "video6.gif",   "msgGrid.bmp",
      "msgGrid_smp.bmp",   "control_ppc.gif",  "vmode.bmp",    "hmode.bmp",
      "autospeedmode.bmp", "maxspeedmode.bmp", "inputpad.gif", "keypadBtn.gif",
      "keypadBtnBig.gif"};
  return files;
}

const std::vector<PresetVariable>& presetVariables() {
  // Both message-grid pictures are checked through guiFiles(); the template needs one value to
  // expand its references at all.
  static const std::vector<PresetVariable> variables = {{"MSG_GRID_PIC", "msgGrid.bmp"},
                                                        {"USE_DEV_COMPT_BMP", "1"}};
  return variables;
}

const std::vector<std::string_view>& helicopterParts() {
  static const std::vector<std::string_view> parts = {
      "body", "body_ds", "dashboard", "hud", "rotor1", "rotor2", "spark", "windowL", "windowR"};
  return parts;
}

const std::vector<std::string_view>& chopperFiles() {
  static const std::vector<std::string_view> files = {"spark.gif", "bullet.3ds", "BulletMark.gif",
                                                      "fume0.jpg", "fume1.jpg",  "fume2.jpg"};
  return files;
}

const std::vector<std::string_view>& roomFiles() {
  static const std::vector<std::string_view> files = {"level.3ds", "map%d.jpg",
                                                      "flyable.properties"};
  return files;
}

const std::vector<std::string_view>& roomParts() {
  static const std::vector<std::string_view> parts = {"ground", "ceiling", "wall", "dummy_t0",
                                                      "dummy_t1"};
  return parts;
}

const std::vector<std::string_view>& scenesFiles() {
  static const std::vector<std::string_view> files = {"explosion.jpg"};
  return files;
}

const std::vector<std::string_view>& flyerParts() {
  static const std::vector<std::string_view> parts = {"box", "body"};
  return parts;
}

const std::vector<std::string_view>& flyerKindParts(int kind) {
  static const std::vector<std::string_view> none;
  static const std::vector<std::string_view> flapping = {"wing_l", "wing_r"};
  static const std::vector<std::string_view> poses = {"wing0", "wing1", "wing2"};
  if (kind == 0) return flapping;
  if (kind == 1) return poses;
  return none;
}

const std::vector<std::string_view>& flyableFiles() {
  static const std::vector<std::string_view> files = {"box.jpg", "redcross.gif"};
  return files;
}

const std::vector<std::string_view>& pilotPictureSuffixes() {
  static const std::vector<std::string_view> suffixes = {"_neutral.gif", "_happy.gif",
                                                         "_chopper.gif"};
  return suffixes;
}

const std::vector<std::string_view>& archiveFolders() {
  static const std::vector<std::string_view> folders = {"GUI", "scenes", "chopper", "flyable"};
  return folders;
}

}  // namespace inspect
