// Feeds arbitrary bytes to a level's "flyable.properties" as the battle reads it: the template
// with '=' ',' ':' separators, then readFlyableTypes. Checks what the battle relies on when it
// makes its flyers from the entries: every entry is a key with a value, in file order, its name
// fits the model-name limit of 63 characters and its skin count is never negative.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "game/Flyable.h"
#include "platform/Template.h"

namespace {

const std::string& workFolder() {
  static const std::string folder = makeScratchFolder("flyable");
  return folder;
}

void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "flyer entries broken: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& folder = workFolder();
  const std::string file = folder + "flyable.properties";
  if (std::FILE* f = std::fopen(file.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  platform::Template entries('=', ',', ':');
  if (!entries.load(folder, "flyable.properties")) return 0;
  const std::vector<game::FlyableType> types = game::readFlyableTypes(entries);

  // The entries are the keys with a value, in order.
  std::vector<std::string> valued;
  for (const std::string& key : entries.keys())
    if (!key.empty() && entries.getString(key)) valued.push_back(key);
  require(types.size() == valued.size(), "one entry per key with a value");
  for (size_t i = 0; i < types.size(); ++i) {
    const game::FlyableType& type = types[i];
    // The limit counts characters (UTF-8 lead bytes), never splitting one.
    int characters = 0;
    for (unsigned char c : type.name) characters += (c & 0xC0) != 0x80;
    require(characters <= 63, "a name fits the model-name limit");
    require(valued[i].compare(0, type.name.size(), type.name) == 0, "the name is the key's start");
    require(type.textureNum >= 0, "no negative skin count");
    require(type.skins.empty(), "skins are loaded later, by the battle");
    // Reading twice gives the same values: nothing depends on state left by the first read.
    const game::FlyableType again = game::readFlyableTypes(entries)[i];
    require(again.kind == type.kind && again.textureNum == type.textureNum &&
                (again.maxSpeed == type.maxSpeed || again.maxSpeed != again.maxSpeed) &&
                again.alphaTest == type.alphaTest,
            "the same entry reads the same");
  }
  return 0;
}
