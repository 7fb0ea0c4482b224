// What the program looks up in a resource tree, as data: the screens and the objects each must
// hold, the fixed pictures, the helicopter's files and the parts of every model. The Validator
// walks these tables. The screens' objects are the pages' own object tables (a page that needs
// another object adds a row to its table, and validate checks it from then on); the rest is
// listed here.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "scene/ObjectTable.h"

namespace inspect {

// The templates of the GUI folder and what each must hold: objects of the kind the page binds
// (a family "name%d" also passes as one object "name" with `number` copies), properties, and
// command words that some key must carry (commands are matched by substring, so "cmdEnterGame2"
// carries "EnterGame"). A template whose objects no page looks up must only exist and hold
// something.
const std::vector<scene::TemplateRequirements>& screenRequirements();

// Pictures and other files the program opens by fixed name from the GUI folder.
const std::vector<std::string_view>& guiFiles();

// Variables the program sets in a template before loading it, so that "{NAME}" references in
// the file expand to the picture the device uses.
struct PresetVariable {
  std::string_view name;
  std::string_view value;
};
const std::vector<PresetVariable>& presetVariables();

// Files of the chopper folder, and the helicopter model's parts.
inline constexpr std::string_view kHelicopterModel = "chopper_LOD.3ds";
const std::vector<std::string_view>& helicopterParts();
const std::vector<std::string_view>& chopperFiles();

// The rooms: levels 0 to kRoomCount - 1, each "scenes/level%d/" with these files ("%d" is the
// level) and a level.3ds holding these parts.
inline constexpr int kRoomCount = 7;
const std::vector<std::string_view>& roomFiles();
const std::vector<std::string_view>& roomParts();
// Files directly in the scenes folder.
const std::vector<std::string_view>& scenesFiles();

// Flyers: every one has these parts; a kind adds its own (kinds without a row add none).
const std::vector<std::string_view>& flyerParts();
const std::vector<std::string_view>& flyerKindParts(int kind);
const std::vector<std::string_view>& flyableFiles();

// Pilots: at least this many, each with the pictures "%s" + suffix in the characters folder.
inline constexpr int kMinPilots = 4;
const std::vector<std::string_view>& pilotPictureSuffixes();

// The resource folders that ship with an archive of the same name (GUI holds "GUI.zip").
const std::vector<std::string_view>& archiveFolders();

}  // namespace inspect
