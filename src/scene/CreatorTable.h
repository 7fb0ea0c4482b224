// CreatorTable: which routine builds each template object type of a page.
//
// The template factory dispatches every object of a template by its type keyword; what each
// type builds is registered here by the subsystem that owns it (sprites and GUI components, 3D
// nodes, sounds). A page is given its table when it is made (Canvas's constructor) and loads
// every template through it. The program's runtime owns the table the pages share; a test may
// make one of its own. A type without a creator is left out of the page.
#pragma once

#include <array>

#include "scene/TemplateFactory.h"

namespace scene {

class CreatorTable {
 public:
  // Installs the creator of `type`, replacing any earlier one; an empty function removes it.
  void set(ObjectType type, ObjectCreator creator) { creators_[index(type)] = std::move(creator); }
  bool has(ObjectType type) const { return static_cast<bool>(creators_[index(type)]); }
  // The creator of `type`; an empty function when there is none.
  const ObjectCreator& creatorOf(ObjectType type) const { return creators_[index(type)]; }
  // Removes every creator.
  void clear() { creators_ = {}; }

 private:
  static std::size_t index(ObjectType type) { return static_cast<std::size_t>(type); }

  std::array<ObjectCreator, kObjectTypeCount> creators_;
};

}  // namespace scene
