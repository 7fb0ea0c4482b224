// Where the font files for the face "Arial" are on this machine.
//
// The program's texts ask for "Arial"; on Linux its metric-compatible stand-in is Liberation
// Sans. The files are looked for, per style (regular, bold, italic, bold italic):
//   1. in the folder $SKIRROW_FONT_DIR names (LiberationSans-<Style>.ttf), when it is set;
//   2. through fontconfig, as every desktop program finds its fonts ("Arial" with the style's
//      weight and slant; the desktop's aliases give Liberation Sans, else its nearest face);
//   3. in the Debian folder of fonts-liberation.
// What goes wrong is said once per locator, on stderr unless another sink is given: a font
// folder that lacks the files, and a machine where no font can be found at all (text then draws
// nothing).
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace host {

struct FontSources {
  // A folder that overrides the search; empty: none.
  std::string folder;
  bool useFontconfig = true;
  // A fontconfig configuration file to use instead of the desktop's (tests); empty: the
  // desktop's.
  std::string fontconfigFile;
  // The last place looked at; empty: none.
  std::string fallbackFolder = "/usr/share/fonts/truetype/liberation";

  // $SKIRROW_FONT_DIR and the defaults.
  static FontSources fromEnvironment();
};

class FontLocator {
 public:
  using Sink = std::function<void(const std::string& text)>;

  // `say` receives the one-time notes (default: stderr, one line each, "skirrow: ...").
  explicit FontLocator(FontSources sources, Sink say = {});

  // The file of the style, found on first use; empty when there is none.
  const std::string& file(bool bold, bool italic);

 private:
  std::string locate(bool bold, bool italic);
  void sayOnce(bool& said, const std::string& text);

  FontSources sources_;
  Sink say_;
  std::array<std::optional<std::string>, 4> files_;
  bool saidFolder_ = false;
  bool saidNone_ = false;
};

}  // namespace host
