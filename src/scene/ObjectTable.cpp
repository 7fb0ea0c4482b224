#include "scene/ObjectTable.h"

namespace scene {

std::string ObjectRequirement::key(int index) const {
  std::string text(name);
  if (count <= 0) return text;
  const std::size_t at = text.find("%d");
  if (at != std::string::npos) text.replace(at, 2, std::to_string(index));
  return text;
}

}  // namespace scene
