// Builder: makes the whole resource tree.
//
// Layout under the output root: resources/{GUI,scenes,chopper,flyable,characters}/ and
// manual/index.htm, and the desktop icons in icons/hicolor/<n>x<n>/apps/skirrow.png (the icon
// theme's own layout, so that installing copies the folder as it is). GUI, scenes, chopper and
// flyable each hold a zip archive of their files ("GUI.zip", ...). The same inputs give the same
// bytes on every run.
#pragma once

#include <string>

#include "Output.h"

namespace content {

inline constexpr const char* kGuiFolder = "resources/GUI";
inline constexpr const char* kScenesFolder = "resources/scenes";
inline constexpr const char* kChopperFolder = "resources/chopper";
inline constexpr const char* kFlyableFolder = "resources/flyable";
inline constexpr const char* kCharactersFolder = "resources/characters";
inline constexpr const char* kManualFolder = "manual";
inline constexpr const char* kIconsFolder = "icons/hicolor";
// The icon sizes written, in pixels (square).
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

void buildGui(Output& out);          // menu screens, settings, message box, pad pictures
void buildGameScreens(Output& out);  // the battle page, tips, HUD pictures, movies
void buildCharacters(Output& out);   // pilot portraits and HUD icons
void buildRooms(Output& out);        // levels, previews, maps, explosion sheet
void buildChopper(Output& out);      // the helicopter, skins, bullets, sparks, smoke
void buildFlyers(Output& out);       // bonus flyers
void buildSounds(Output& out);       // every sound effect and tune
void buildManual(Output& out);       // the player's manual
void buildIcons(Output& out);        // the desktop icon at every size

// Everything above plus the four archives (built through `scratchFolder`). False when an
// archive could not be written.
bool buildAll(Output& out, const std::string& scratchFolder);

// Builds into memory and writes the tree under `root`. False on failure, with `error` set.
bool buildTree(const std::string& root, std::string* error);

}  // namespace content
