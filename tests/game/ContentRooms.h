// The rooms of the built content, as the game tests load them: without pictures (the grid does
// not need them) and with the loader's messages collected.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine3d/Group3D.h"
#include "engine3d/Model3dsLoader.h"
#include "game/Level.h"

namespace game_test {

// The scenes folder of the built resources, with a trailing '/'.
inline std::string scenesFolder() {
  return std::string(SKIRROW_BIN_DIR) + "/../resources/scenes/";
}

// Room `number` (0..5 lie on disk; room 6 only in scenes.zip), loaded and normalised as the
// battle does; `messages` receives what the loader would show.
inline std::unique_ptr<engine3d::Group3D> contentRoom(
    int number, std::vector<std::string>* messages = nullptr) {
  engine3d::ModelLoadOptions options;
  options.messages = [messages](const engine3d::UserMessage& m) {
    if (messages) messages->push_back(m.text);
  };
  return game::loadLevel(scenesFolder() + "level" + std::to_string(number) + "/",
                         game::levelRadius(number), options);
}

}  // namespace game_test
