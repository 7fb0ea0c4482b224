// ObjectTable: the template objects a page needs, declared once.
//
// A page (or a dialog of it) lists in one table every template key it looks up: the name, the
// kind of object the key must describe, and the typed pointer of a plain struct of the page's
// that holds it. The canvas fills the struct after every template load and empties it before it
// drops the objects (BoundObjects below), so the page finds each object once rather than by
// name, with a cast, at every use. A missing object, or one of another kind, leaves its pointer
// null and the page carries on. skirrow-tool validate checks resource trees against the same
// rows (requirements()), so each name is written once.
//
// A page declares its table like this:
//
//   struct MenuObjects {
//     SceneSprite* gui = nullptr;
//     Sprite* title = nullptr;
//     std::array<Sprite*, 4> slots{};             // "sptSlot0" .. "sptSlot3"
//     WaveSound* music = nullptr;
//   };
//   const scene::ObjectTable<MenuObjects>& menuTable() {
//     using Table = scene::ObjectTable<MenuObjects>;
//     static const Table table("Menu.properties", {
//         Table::object<&MenuObjects::gui>("sceneGUI", ObjectType::kSceneSprite),
//         Table::object<&MenuObjects::title>("txtTitle", ObjectType::kSprite),
//         Table::object<&MenuObjects::slots>("sptSlot%d", ObjectType::kSprite),
//         Table::object<&MenuObjects::music>("titleMusic", ObjectType::kWaveSound),
//         Table::declared("tip", ObjectType::kWaveSound),  // played by name
//         Table::command("StartGame"),                      // matched by substring
//     });
//     return table;
//   }
//
// and keeps `scene::BoundObjects<MenuObjects> objects_{*this, menuTable()};` as a member.
// Scenes are found among the page's scenes, sprites and other scene objects among their
// objects, sounds among the page's sounds and bitmap fonts among its fonts; the row's kind and
// the pointer's type must agree, which the compiler checks.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "scene/Canvas.h"
#include "scene/TemplateFactory.h"

namespace scene {

// One key a page needs of its template.
struct ObjectRequirement {
  enum class Form {
    kObject,    // the key describes an object of `type`
    kProperty,  // the key holds a value that is no object (a check-box group, a setting)
    kCommand,   // some key carries `name` as part of it (commands are matched by substring)
  };
  std::string_view name;  // the key; for a family a pattern with one "%d"
  Form form = Form::kObject;
  ObjectType type = ObjectType::kSprite;  // kObject only
  int count = 0;  // 0: the single key `name`; n: the keys name%d for 0 .. n-1

  // The key of family member `index` ("%d" replaced by the number), or `name` for a single key.
  std::string key(int index = 0) const;
};

// What one template file must hold for the page that loads it.
struct TemplateRequirements {
  std::string_view file;
  std::vector<ObjectRequirement> objects;
};

namespace table_detail {

enum class Holder { kScene, kObject, kSound, kFont, kNone };

// Where the canvas keeps objects of `type`.
constexpr Holder holderOf(ObjectType type) {
  switch (type) {
    case ObjectType::kSceneAWT:
    case ObjectType::kSceneSprite:
    case ObjectType::kScene3D:
      return Holder::kScene;
    case ObjectType::kAWTComponent:
    case ObjectType::kSprite:
    case ObjectType::kGroup3D:
    case ObjectType::kChip3D:
      return Holder::kObject;
    case ObjectType::kWaveSound:
      return Holder::kSound;
    case ObjectType::kBitmapFont:
      return Holder::kFont;
    default:
      return Holder::kNone;  // fog, lights and levels of detail are parts of a scene or group
  }
}

template <typename T>
constexpr Holder holderOfType() {
  if constexpr (std::is_base_of_v<Scene, T>) return Holder::kScene;
  if constexpr (std::is_base_of_v<SceneObject, T>) return Holder::kObject;
  if constexpr (std::is_base_of_v<PageSound, T>) return Holder::kSound;
  if constexpr (std::is_base_of_v<PageResource, T>) return Holder::kFont;
  return Holder::kNone;
}

// The object of kind T named `key`, or null.
template <typename T>
T* lookUp(Canvas& canvas, std::string_view key) {
  if constexpr (std::is_base_of_v<Scene, T>)
    return dynamic_cast<T*>(canvas.findScene(key));
  else if constexpr (std::is_base_of_v<SceneObject, T>)
    return dynamic_cast<T*>(canvas.findObject(key));
  else if constexpr (std::is_base_of_v<PageSound, T>)
    return dynamic_cast<T*>(canvas.findSound(key));
  else
    return dynamic_cast<T*>(canvas.getBitmapFont(key));
}

// What a pointer member is: its struct, the pointed-to type and the family size (0: single).
template <typename M>
struct MemberTraits;
template <typename C, typename T>
struct MemberTraits<T * C::*> {
  using Owner = C;
  using Target = T;
  static constexpr int kCount = 0;
};
template <typename C, typename T, std::size_t N>
struct MemberTraits<std::array<T*, N> C::*> {
  using Owner = C;
  using Target = T;
  static constexpr int kCount = static_cast<int>(N);
};

// One '%' in the name, and it starts "%d".
constexpr bool isFamilyPattern(std::string_view name) {
  const std::size_t at = name.find('%');
  return at != std::string_view::npos && name.substr(at, 2) == "%d" &&
         name.find('%', at + 1) == std::string_view::npos;
}

}  // namespace table_detail

template <typename Objects>
class ObjectTable {
 public:
  using Binder = void (*)(Objects&, Canvas&, const ObjectRequirement&);
  struct Row {
    ObjectRequirement requirement;
    Binder bind = nullptr;  // null: validated only, the page keeps no pointer
  };

  // The table of `templateFile` (the file name the page loads; empty for objects a dialog
  // builds in code).
  ObjectTable(std::string_view templateFile, std::initializer_list<Row> rows) : rows_(rows) {
    requirements_.file = templateFile;
    for (const Row& row : rows_) requirements_.objects.push_back(row.requirement);
  }

  // A row binding `Member` of Objects (a `T*`, or a `std::array<T*, N>` for the family `name`
  // with one "%d": name%d for 0 .. N-1) to the object of kind `type` under that key.
  template <auto Member>
  static consteval Row object(std::string_view name, ObjectType type) {
    using Traits = table_detail::MemberTraits<decltype(Member)>;
    static_assert(std::is_same_v<typename Traits::Owner, Objects>,
                  "the member belongs to another struct than the table's");
    if (table_detail::holderOf(type) != table_detail::holderOfType<typename Traits::Target>())
      throw "the pointer's type cannot hold an object of that kind";
    if ((Traits::kCount > 0) != table_detail::isFamilyPattern(name))
      throw "a family's name holds one %d, a single key's none";
    return Row{{name, ObjectRequirement::Form::kObject, type, Traits::kCount}, &bindMember<Member>};
  }
  // A row the template must have but the page keeps no pointer for (a sound it plays by name).
  static consteval Row declared(std::string_view name, ObjectType type, int count = 0) {
    if ((count > 0) != table_detail::isFamilyPattern(name))
      throw "a family's name holds one %d, a single key's none";
    return Row{{name, ObjectRequirement::Form::kObject, type, count}, nullptr};
  }
  // A key that holds a value but no object.
  static consteval Row property(std::string_view name) {
    return Row{{name, ObjectRequirement::Form::kProperty, ObjectType::kSprite, 0}, nullptr};
  }
  // A command word some key must carry.
  static consteval Row command(std::string_view word) {
    return Row{{word, ObjectRequirement::Form::kCommand, ObjectType::kSprite, 0}, nullptr};
  }

  // Sets every pointer of `objects` to what `canvas` holds now: the object of the row's key and
  // kind, or null.
  void bind(Objects& objects, Canvas& canvas) const {
    objects = Objects{};
    for (const Row& row : rows_)
      if (row.bind) row.bind(objects, canvas, row.requirement);
  }

  const TemplateRequirements& requirements() const { return requirements_; }

 private:
  template <auto Member>
  static void bindMember(Objects& objects, Canvas& canvas, const ObjectRequirement& row) {
    using Traits = table_detail::MemberTraits<decltype(Member)>;
    using Target = typename Traits::Target;
    if constexpr (Traits::kCount == 0) {
      objects.*Member = table_detail::lookUp<Target>(canvas, row.name);
    } else {
      for (int i = 0; i < Traits::kCount; ++i)
        (objects.*Member)[static_cast<std::size_t>(i)] =
            table_detail::lookUp<Target>(canvas, row.key(i));
    }
  }

  std::vector<Row> rows_;
  TemplateRequirements requirements_;
};

// A page's bound objects: the struct of typed pointers `table` fills from `canvas`. Made as a
// member of the page (or of something the page owns), it registers with the canvas, which binds
// it after every template load and clears it before the objects go; it unregisters when it
// ends. Read the pointers through -> or *.
template <typename Objects>
class BoundObjects final : public ObjectBinding {
 public:
  BoundObjects(Canvas& canvas, const ObjectTable<Objects>& table) : canvas_(canvas), table_(table) {
    canvas_.addBinding(this);
  }
  ~BoundObjects() override { canvas_.removeBinding(this); }
  BoundObjects(const BoundObjects&) = delete;
  BoundObjects& operator=(const BoundObjects&) = delete;

  const Objects& operator*() const { return objects_; }
  const Objects* operator->() const { return &objects_; }

  void bind(Canvas& canvas) override { table_.bind(objects_, canvas); }
  void unbind() override { objects_ = Objects{}; }

 private:
  Canvas& canvas_;
  const ObjectTable<Objects>& table_;
  Objects objects_{};
};

}  // namespace scene
