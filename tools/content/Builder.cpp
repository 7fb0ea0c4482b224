#include "Builder.h"

#include <filesystem>

namespace content {

bool buildAll(Output& out, const std::string& scratchFolder) {
  buildGui(out);
  buildGameScreens(out);
  buildCharacters(out);
  buildRooms(out);
  buildChopper(out);
  buildFlyers(out);
  buildSounds(out);
  buildManual(out);
  buildIcons(out);
  return out.addArchive(kGuiFolder, "GUI.zip", scratchFolder) &&
         out.addArchive(kScenesFolder, "scenes.zip", scratchFolder) &&
         out.addArchive(kChopperFolder, "chopper.zip", scratchFolder) &&
         out.addArchive(kFlyableFolder, "flyable.zip", scratchFolder);
}

bool buildTree(const std::string& root, std::string* error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(root, ec);
  const std::string scratch = (fs::path(root) / ".content-scratch").string();
  fs::create_directories(scratch, ec);
  Output out;
  bool ok = buildAll(out, scratch);
  fs::remove_all(scratch, ec);
  if (!ok) {
    if (error) *error = "could not write an archive";
    return false;
  }
  return out.write(root, error);
}

}  // namespace content
