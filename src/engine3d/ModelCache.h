// ModelCache: loads each model file once and hands out clones of it.
//
// The cache owns the loaded originals; callers own the clones they receive. A clone shares
// only its textures (and levels of detail) with the original, so callers may change, prepare
// and destroy it freely.
#pragma once

#include <memory>
#include <string>

#include "engine3d/Group3D.h"
#include "engine3d/Model3dsLoader.h"
#include "platform/HashMap.h"

namespace engine3d {

class ModelCache {
 public:
  explicit ModelCache(ModelLoadOptions options = {});

  // A clone of the model `modelName` (the cache key) from `directory`. The first request loads
  // it with loadModel3ds, normalised to `radius` with `filter`, and keeps it. Later requests
  // clone the kept model; when `radius` differs from the radius it was loaded with, the clone
  // is normalised again to `radius` with `filter`. Null when the file cannot be loaded (the
  // loader has told the user).
  std::unique_ptr<Group3D> get(const std::string& directory, const std::string& modelName,
                               float radius, const NameFilter& filter = {});

  // Levels of detail for `container`: `modelList` is a list of model names such as
  // "(near.3ds; far.3ds)" — blanks, tabs and round brackets around it are removed, it is split
  // at ';' and each name is trimmed of blanks and tabs. Each named model is loaded as get()
  // does with `radius`, then container.setLevels(models, levelCount, segment). Names that are
  // missing or fail to load are absent levels. Returns the number of levels set.
  int loadLevels(Group3D& container, const std::string& directory, const std::string& modelList,
                 int levelCount, float segment, float radius, const NameFilter& filter = {});

  // Forgets every kept model.
  void clear() { models_.clear(); }
  int count() const { return models_.count(); }

  const ModelLoadOptions& options() const { return options_; }

 private:
  struct Entry {
    std::unique_ptr<Group3D> model;
    float radius = 0.0f;
  };

  ModelLoadOptions options_;
  platform::HashMap<std::string, Entry> models_;
};

}  // namespace engine3d
