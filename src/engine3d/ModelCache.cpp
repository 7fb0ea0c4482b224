#include "engine3d/ModelCache.h"

#include <vector>

#include "platform/Text.h"

namespace engine3d {

ModelCache::ModelCache(ModelLoadOptions options) : options_(std::move(options)) {}

std::unique_ptr<Group3D> ModelCache::get(const std::string& directory, const std::string& modelName,
                                         float radius, const NameFilter& filter) {
  if (const Entry* entry = models_.get(modelName)) {
    std::unique_ptr<Group3D> copy = entry->model->clone();
    if (radius != entry->radius) copy->normalize(radius, filter);
    return copy;
  }
  std::unique_ptr<Group3D> model = loadModel3ds(directory, modelName, radius, filter, options_);
  if (!model) return nullptr;
  std::unique_ptr<Group3D> copy = model->clone();
  models_.put(modelName, Entry{std::move(model), radius});
  return copy;
}

int ModelCache::loadLevels(Group3D& container, const std::string& directory,
                           const std::string& modelList, int levelCount, float segment,
                           float radius, const NameFilter& filter) {
  std::string list = modelList;
  platform::trim(list, " \t()");
  std::vector<std::unique_ptr<Group3D>> levels;
  for (std::string name : platform::split(list, ";")) {
    platform::trim(name, platform::kBlanks);
    levels.push_back(name.empty() ? nullptr : get(directory, name, radius, filter));
  }
  container.setLevels(std::move(levels), levelCount, segment);
  return container.levelCount();
}

}  // namespace engine3d
