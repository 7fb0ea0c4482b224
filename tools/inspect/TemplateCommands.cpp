#include <cstdio>
#include <fstream>

#include "Commands.h"
#include "platform/Template.h"

namespace inspect {

namespace {

// Shows control characters so that a value's line end or tab is visible on one line.
std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\t')
      out += "\\t";
    else if (static_cast<unsigned char>(c) < 0x20) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(c));
      out += hex;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// Splits FILE into the folder and name the program would pass to load().
std::pair<std::string, std::string> folderAndName(const std::string& file) {
  size_t cut = file.find_last_of("\\/");
  if (cut == std::string::npos) return {".", file};
  return {file.substr(0, cut + 1), file.substr(cut + 1)};
}

// True when the file holds bytes no text has: NUL and the control characters other than tab,
// line and page breaks (a picture or an archive named by mistake).
bool holdsBinaryData(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  char buffer[4096];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      const auto c = static_cast<unsigned char>(buffer[i]);
      if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v') return true;
    }
  }
  return false;
}

// Loads a template as the program does; false (after saying why) when it cannot be read or is
// no text at all.
bool load(platform::Template& t, const std::string& file) {
  auto [folder, name] = folderAndName(file);
  if (!t.load(folder, name)) {
    fail("cannot read template " + file);
    return false;
  }
  if (holdsBinaryData(file)) {
    fail(file + " is not a template: it holds binary data");
    return false;
  }
  return true;
}

int dump(const std::string& file) {
  platform::Template t;
  if (!load(t, file)) return 1;
  // Copy the key list first: expanding a value may not change the order, but be independent of it.
  std::vector<std::string> keys(t.allKeys().begin(), t.allKeys().end());
  for (const std::string& key : keys) {
    const std::string* value = t.getRaw(key);
    if (platform::Template::isPseudoKey(key))
      std::printf("(%s) %s\n", key.c_str(), escaped(*value).c_str());
    else
      std::printf("%s=%s\n", key.c_str(), escaped(*value).c_str());
  }
  std::printf("# %d properties, %zu lines\n", t.count(), keys.size());
  return 0;
}

int set(const Args& args) {
  const std::string& file = args[0];
  platform::Template t;
  if (!load(t, file)) return 1;
  if (args.size() == 3) {
    t.set(args[1], args[2]);
  } else {
    if (!t.contains(args[1])) return fail("no property '" + args[1] + "' in " + file);
    t.setItem(args[1], args[2], args[3]);
  }
  if (!t.save())
    return fail("cannot update the template file " + file +
                ": it is read-only or the storage media is not available");
  return 0;
}

}  // namespace

int templateCommand(const Args& args) {
  if (args.size() == 2 && args[0] == "dump") return dump(args[1]);
  if ((args.size() == 4 || args.size() == 5) && args[0] == "set")
    return set(Args(args.begin() + 1, args.end()));
  return fail("usage: template dump FILE | template set FILE KEY [ITEM] VALUE", 2);
}

}  // namespace inspect
