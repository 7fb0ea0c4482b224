// Pictures loaded once per owner: the canvas, a page, the model loader and so on each keep a
// cache, and every object they create asks it instead of loading the file again.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "media/Image.h"

namespace media {

class ImageCache {
 public:
  ImageCache() = default;
  ImageCache(const ImageCache&) = delete;
  ImageCache& operator=(const ImageCache&) = delete;
  // Destroys every Image in the cache.
  ~ImageCache() = default;

  // The Image stored under `name` (exact, case-sensitive), with `*wasCached` (optional) set to
  // true. Otherwise loads directory + '\' + name (no separator added when the directory ends in
  // '\' or '/', nor when it is empty) with the power-of-two options, stores it under `name`,
  // sets `*wasCached` to false and returns it. A file that cannot be loaded is stored as an
  // Image without frames all the same, so it is reported once. Never null; the Image stays
  // owned by the cache until it is removed or the cache is cleared or destroyed.
  Image* get(std::string_view directory, std::string_view name, bool powerOfTwo = false,
             bool padToPowerOfTwo = false, bool* wasCached = nullptr);

  // Destroys and forgets the Image stored under `name`; nothing when there is none.
  void remove(std::string_view name);
  // Destroys and forgets the entry holding `image`. False when no entry holds it.
  bool removeImage(const Image* image);
  // Destroys every Image.
  void clear() { images_.clear(); }

  int size() const { return static_cast<int>(images_.size()); }
  bool contains(std::string_view name) const { return images_.find(name) != images_.end(); }

 private:
  // One owner per cache, so the cache owns its Images outright and lends them out.
  std::map<std::string, std::unique_ptr<Image>, std::less<>> images_;
};

}  // namespace media
