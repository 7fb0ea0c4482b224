// Feeds arbitrary bytes to the template reader, then exercises every getter, an item rewrite and
// a save, as a page does with a damaged settings file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/Template.h"

namespace {

const std::string& workFolder() {
  static const std::string folder = [] {
    // Memory-backed when possible: saves sync their files, which is slow on a disk.
    char shm[] = "/dev/shm/skirrow-fuzz-template-XXXXXX";
    char tmp[] = "/tmp/skirrow-fuzz-template-XXXXXX";
    const char* made = ::mkdtemp(shm);
    return std::string(made ? made : ::mkdtemp(tmp));
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& folder = workFolder();
  std::string file = folder + "/in.properties";
  if (std::FILE* f = std::fopen(file.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  platform::Template t;
  if (!t.load(folder, "in.properties")) return 0;
  std::vector<std::string> keys = t.keys();
  for (const std::string& key : keys) {
    (void)t.getRaw(key);
    for (const auto& item : t.parseItems(*t.getRaw(key))) {
      (void)t.getInt(key, item.first, 0);
      (void)t.getColor(key, item.first, 0);
      (void)t.getVector(key, item.first, {});
    }
    (void)t.getFloat(key, "", 0.0f);
    (void)t.getStringInto(key, "", 5);
  }
  if (!keys.empty()) t.setItem(keys.front(), "fuzz", "1");
  t.save();
  platform::Template again;
  again.load(folder, "in.properties");
  return 0;
}
