#include "host/FontLocator.h"

#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace host {
namespace {

const char* styleName(bool bold, bool italic) {
  return bold ? (italic ? "BoldItalic" : "Bold") : (italic ? "Italic" : "Regular");
}

bool readable(const std::string& path) {
  if (path.empty()) return false;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

std::string inFolder(const std::string& folder, bool bold, bool italic) {
  if (folder.empty()) return {};
  std::string path = folder + "/LiberationSans-" + styleName(bold, italic) + ".ttf";
  return readable(path) ? path : std::string();
}

struct ConfigDeleter {
  void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};
struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};

// The file fontconfig matches to "Arial" in this style, in `configFile`'s configuration (the
// desktop's when empty).
std::string throughFontconfig(const std::string& configFile, bool bold, bool italic) {
  std::unique_ptr<FcConfig, ConfigDeleter> own;
  FcConfig* config = nullptr;
  if (configFile.empty()) {
    if (!FcInit()) return {};
  } else {
    own.reset(FcConfigCreate());
    if (!own ||
        !FcConfigParseAndLoad(own.get(), reinterpret_cast<const FcChar8*>(configFile.c_str()),
                              FcTrue) ||
        !FcConfigBuildFonts(own.get()))
      return {};
    config = own.get();
  }
  std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternBuild(
      nullptr, FC_FAMILY, FcTypeString, "Arial", FC_WEIGHT, FcTypeInteger,
      bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR, FC_SLANT, FcTypeInteger,
      italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN, FC_SCALABLE, FcTypeBool, FcTrue, nullptr));
  if (!pattern) return {};
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  std::unique_ptr<FcPattern, PatternDeleter> match(FcFontMatch(config, pattern.get(), &result));
  FcChar8* file = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file)
    return {};
  std::string path(reinterpret_cast<const char*>(file));
  return readable(path) ? path : std::string();
}

}  // namespace

FontSources FontSources::fromEnvironment() {
  FontSources sources;
  if (const char* dir = std::getenv("SKIRROW_FONT_DIR"); dir && *dir) sources.folder = dir;
  return sources;
}

FontLocator::FontLocator(FontSources sources, Sink say)
    : sources_(std::move(sources)), say_(std::move(say)) {
  if (!say_)
    say_ = [](const std::string& text) { std::fprintf(stderr, "skirrow: %s\n", text.c_str()); };
}

const std::string& FontLocator::file(bool bold, bool italic) {
  std::optional<std::string>& slot = files_[(bold ? 2 : 0) + (italic ? 1 : 0)];
  if (!slot) slot = locate(bold, italic);
  return *slot;
}

std::string FontLocator::locate(bool bold, bool italic) {
  if (!sources_.folder.empty()) {
    if (std::string path = inFolder(sources_.folder, bold, italic); !path.empty()) return path;
    sayOnce(saidFolder_, "SKIRROW_FONT_DIR=" + sources_.folder + " holds no LiberationSans-" +
                             styleName(bold, italic) + ".ttf; looking for \"Arial\" elsewhere");
  }
  if (sources_.useFontconfig)
    if (std::string path = throughFontconfig(sources_.fontconfigFile, bold, italic); !path.empty())
      return path;
  if (std::string path = inFolder(sources_.fallbackFolder, bold, italic); !path.empty())
    return path;
  sayOnce(saidNone_,
          "no font found for \"Arial\" (install fonts-liberation, or set SKIRROW_FONT_DIR to a "
          "folder holding LiberationSans-Regular.ttf): text will not be drawn");
  return {};
}

void FontLocator::sayOnce(bool& said, const std::string& text) {
  if (said) return;
  said = true;
  say_(text);
}

}  // namespace host
