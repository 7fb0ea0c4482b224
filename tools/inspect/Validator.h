// Validator: checks a resource tree against what the program looks up in it.
//
// The tree is the folder holding GUI/, scenes/, chopper/, flyable/ and characters/. Every file
// is read the way the program reads it: through the archive-aware opener with each folder's
// archive registered, templates with the program's Template, pictures with its decoders,
// models with its 3DS loader. What is required is listed in Requirements.h.
//
// Checked:
// - the four archives open;
// - every screen template loads, is not empty and holds the objects the pages' tables name, of
//   the kind each page binds, its properties and its command words;
// - every file a template names ("x.gif", "x.wav", "x.properties") exists; pictures decode,
//   sounds carry the canonical 44-byte PCM WAV header;
// - every picture and sound in the tree, on disk or inside an archive, decodes or is canonical;
//   a picture decodes fully, every frame, and without a message the program would show (a
//   JPEG cut short decodes padded, a GIF cut after some frames keeps them: both are damaged);
// - the helicopter, every room's level.3ds and every flyer of the rooms' flyable.properties load
//   with the 3DS loader without a message (a file cut off loads in part), hold their required
//   parts, and the maps their materials name exist;
// - rooms 0 to 6 each have a preview, a radar map and a flyer list; at least four pilots with
//   their portraits and helicopter skins.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class Template;
}
namespace scene {
struct ObjectRequirement;
}

namespace inspect {

// One thing wrong: the file concerned (relative to the tree) and what is wrong with it.
struct Problem {
  std::string file;
  std::string what;
};

class Validator {
 public:
  explicit Validator(std::string resourcesFolder);

  // Runs every check and returns the problems found, in the order found. Registers the tree's
  // archives (extracting into a private temporary folder) and releases every archive before
  // returning, so it must not run while the program's own archives are registered.
  std::vector<Problem> run();

  // Number of distinct files examined by the last run().
  int filesChecked() const { return static_cast<int>(checked_.size()); }

 private:
  void checkArchives();
  void checkScreens();
  // Checks that the template at `relative` holds what one row of a page's table needs.
  void checkEntry(const std::string& relative, platform::Template& t,
                  const scene::ObjectRequirement& needed);
  // Checks every file the template at `relative` names in its values.
  void checkTemplateReferences(const std::string& relative, platform::Template& t);
  void checkChopper();
  void checkRooms();
  void checkFlyers(const std::string& roomFile);
  void checkPilots();
  void checkEveryPictureAndSound();

  // Each checks one file (relative to the tree, '/' separated) once; later calls are no-ops.
  // False when a problem was reported.
  bool checkExists(const std::string& relative, std::string_view kind);
  void checkPicture(const std::string& relative);
  void checkSound(const std::string& relative);
  void checkModel(const std::string& relative, const std::vector<std::string_view>& parts);

  void report(const std::string& file, std::string what);
  std::string path(const std::string& relative) const { return root_ + relative; }

  std::string root_;  // with a trailing '/'
  std::vector<Problem> problems_;
  std::set<std::string> checked_;
};

}  // namespace inspect
