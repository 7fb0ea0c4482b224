// Feeds arbitrary bytes to the "PocketPCKeyMapping" value reader, directly and as the value of a
// settings template. Checks that the map it builds writes back as a value that reads as the same
// map, in the pair form "%d:%d" joined with ",".
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "media/KeyMapping.h"

namespace {

const std::string& workFolder() {
  static const std::string folder = makeScratchFolder("keymapping");
  return folder;
}

void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "key mapping round trip broken: %s\n", what);
  std::abort();
}

std::vector<media::KeyPair> pairsOf(const scene::KeyMap& map) {
  std::vector<media::KeyPair> pairs;
  for (const std::string& key : map.keys()) {
    require(!key.empty() && key.size() <= 5 && key.find_first_not_of("0123456789") == key.npos,
            "device codes are decimal key codes");
    uint32_t code = static_cast<uint32_t>(std::strtoul(key.c_str(), nullptr, 10));
    require(std::to_string(code) == key, "device codes are written plainly");
    require(code <= 0xFFFF && *map.get(key) <= 0xFFFF, "codes are key codes");
    pairs.push_back({code, *map.get(key)});
  }
  return pairs;
}

void requireRoundTrip(const scene::KeyMap& map) {
  std::vector<media::KeyPair> pairs = pairsOf(map);
  std::string value = media::formatKeyMapping(pairs);
  require(value.find_first_not_of("0123456789:,") == value.npos, "pair form");
  std::unique_ptr<scene::KeyMap> back = media::parseKeyMapping(value);
  if (pairs.empty()) {
    require(!back, "no pairs read back as no map");
    return;
  }
  require(back && pairsOf(*back) == pairs, "same map");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string value(reinterpret_cast<const char*>(data), size);
  std::unique_ptr<scene::KeyMap> map = media::parseKeyMapping(value);
  require(!map == value.empty(), "an empty value, and only that, is no map");
  if (map) requireRoundTrip(*map);

  // The same bytes as the stored value of a settings template.
  const std::string& folder = workFolder();
  std::string file = folder + "gsetting.properties";
  if (std::FILE* f = std::fopen(file.c_str(), "wb")) {
    std::fputs("soundEffect=selected:0\nPocketPCKeyMapping=", f);
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  if (std::unique_ptr<scene::KeyMap> stored = media::loadMapping(folder, "gsetting.properties"))
    requireRoundTrip(*stored);
  require(media::hasMapping(folder, "gsetting.properties"), "the property is there");
  return 0;
}
