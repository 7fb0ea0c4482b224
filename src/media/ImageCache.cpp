#include "media/ImageCache.h"

namespace media {

Image* ImageCache::get(std::string_view directory, std::string_view name, bool powerOfTwo,
                       bool padToPowerOfTwo, bool* wasCached) {
  auto found = images_.find(name);
  if (found != images_.end()) {
    if (wasCached) *wasCached = true;
    return found->second.get();
  }
  std::string path(directory);
  // An empty folder means the name is the path: a leading '\' would send it to the root.
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path.push_back('\\');
  path.append(name);
  auto image = std::make_unique<Image>(path, powerOfTwo, padToPowerOfTwo);
  Image* result = image.get();
  images_.emplace(std::string(name), std::move(image));
  if (wasCached) *wasCached = false;
  return result;
}

void ImageCache::remove(std::string_view name) {
  auto found = images_.find(name);
  if (found != images_.end()) images_.erase(found);
}

bool ImageCache::removeImage(const Image* image) {
  for (auto it = images_.begin(); it != images_.end(); ++it) {
    if (it->second.get() == image) {
      images_.erase(it);
      return true;
    }
  }
  return false;
}

}  // namespace media
