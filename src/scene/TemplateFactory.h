// TemplateFactory: builds a page from its template.
//
// Every real key of a screen template whose value is a nested list with a `type` item describes
// one object. Loading a template into a Canvas creates these objects in key order by their type
// keyword. The factory owns the dispatch (the keywords and the order they are tested in), the
// reading of the common geometry items (x, y, width, height, scaled from the 240-pixel design
// width) and the load itself (replace or merge, progress, afterLoad). What each type builds is
// looked up in the canvas's creator table (CreatorTable.h), filled by the subsystem that owns
// the type (sprites and GUI components, 3D nodes, sounds); a type without a creator is skipped,
// and a keyword that is not one of the types goes to the canvas's createCustom().
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Template.h"

namespace scene {

class Canvas;
class Scene;

// Object type keywords, in the order the dispatch tests them.
enum class ObjectType {
  kSceneAWT,
  kSceneSprite,
  kScene3D,
  kAWTComponent,
  kSprite,
  kGroup3D,
  kChip3D,
  kFog,
  kLight,
  kLOD,
  kWaveSound,
  kBitmapFont,
};
constexpr int kObjectTypeCount = 12;

// The keyword of a type ("SceneSprite" ...).
const char* keywordOf(ObjectType type);
// The type a keyword names (exact, case-sensitive); nothing for any other word.
std::optional<ObjectType> objectTypeOf(std::string_view keyword);

// Pixel position and size on the page, already scaled. For scenes: x and y (default 0), width
// and height (default the canvas client size; "N%" is N percent of it, rounded and not scaled).
// A SceneAWT always covers the client area at (0, 0). AWTComponent: default size 32 x 16.
// Sprite: default size -10000 (negative: take the texture's size). Other types: all 0.
struct Geometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// What a creator receives. `tmpl` is the canvas's template (the object's items are read with
// tmpl.getInt(name, "item", fallback) and the like); `name` is the template key.
struct CreateRequest {
  Canvas& canvas;
  std::string_view name;
  ObjectType type;
  platform::Template& tmpl;
  Geometry geometry;
  // The common items: `container` (empty when absent) and the scene of that name (null when
  // there is none: the object stays unattached), the `index` label (empty when absent),
  // `visible` (default true) and `number` (default 0: one object, no copies).
  std::string container;
  Scene* containerScene = nullptr;
  std::string indexLabel;
  bool visible = true;
  int number = 0;
};

// Builds and attaches one object (or declaration); attaching hands ownership to the canvas or
// one of its scenes.
using ObjectCreator = std::function<void(const CreateRequest&)>;

class TemplateFactory {
 public:
  // Loads folder + name into `canvas`. With `replace` the page's content is dropped first;
  // otherwise the file's objects are added and the page keeps its own template name and path
  // (so saveTemplate() writes the page's file with the merged keys). After the objects are
  // made the canvas's bound objects are bound again, then afterLoad() runs. A file that cannot be
  // read shows "Can not find the template file: <path>." (the path as displayPath writes it;
  // caption "Error", stop icon) and nothing else changes: in replace mode too the page keeps
  // showing what it showed, so that its own links still lead on. Returns whether the file was
  // loaded; empty folder or name: nothing happens, false.
  static bool loadTemplate(Canvas& canvas, std::string_view folder, std::string_view name,
                           bool replace);

  // Creates the object described by `key` of the canvas's template with the canvas's creator
  // table. False when its value has no `type` item (it is not an object).
  static bool createObject(Canvas& canvas, std::string_view key);

  // Gives a new scene of `request` the items every scene kind reads: the geometry, `visible`,
  // `buffered` (0), `transparentColor` (0), `useDeviceCompatibleBitmap` (1) and, except for a
  // SceneAWT, `bkgColor` (-1: none).
  static void applySceneItems(Scene& scene, const CreateRequest& request);

  // The scaled geometry a `type` object of `key` reads.
  static Geometry readGeometry(Canvas& canvas, platform::Template& tmpl, std::string_view key,
                               ObjectType type);
  // A width or height item: default `whole` when absent, "N%" as N percent of `whole`
  // (rounded), else the scaled number.
  static int readSceneExtent(platform::Template& tmpl, std::string_view key, std::string_view item,
                             int whole);
};

}  // namespace scene
