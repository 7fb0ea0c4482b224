// Glyphs and metrics of GDI fonts, rendered with FreeType.
//
// Every face maps to "Arial"'s stand-in, Liberation Sans (same metrics), found as FontLocator.h
// says ($SKIRROW_FONT_DIR, else fontconfig); weight 600 and above picks the bold file, italic
// the italic one. A positive height is the cell height (ascent + descent) and a negative one the
// character (em) height, as on the platform; 0 means 12 pixels.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "host/FontLocator.h"

namespace host {

struct FontRequest {
  int height = 0;
  int weight = 400;
  bool italic = false;
};

struct FontMetrics {
  int height = 0;  // cell height
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;
  int externalLeading = 0;
  int averageCharWidth = 0;
  int maxCharWidth = 0;
};

struct Glyph {
  int width = 0;  // bitmap columns
  int rows = 0;
  int left = 0;                        // from the pen position to the bitmap's left edge
  int top = 0;                         // from the baseline up to the bitmap's top row
  int advance = 0;                     // pixels
  std::vector<std::uint8_t> coverage;  // rows * width, 0..255
};

class FontEngine {
 public:
  // Fonts from `sources`; the locator's notes go to `say` (default stderr).
  explicit FontEngine(FontSources sources = FontSources::fromEnvironment(),
                      FontLocator::Sink say = {});
  ~FontEngine();
  FontEngine(const FontEngine&) = delete;
  FontEngine& operator=(const FontEngine&) = delete;

  // False when FreeType is missing; text then draws nothing and measures 0 (as it does in a
  // style whose font file cannot be found or read).
  bool ready() const;
  // The file a style is drawn from; empty when none was found.
  const std::string& fontFile(bool bold, bool italic) { return locator_.file(bold, italic); }
  FontMetrics metrics(const FontRequest& font);
  // The glyph of a code point (cached; the reference stays valid for the engine's life).
  const Glyph& glyph(const FontRequest& font, std::uint32_t codePoint);

 private:
  struct Face;
  Face* faceFor(const FontRequest& font);
  bool sizeFace(Face& face, const FontRequest& font);

  struct Library;
  std::unique_ptr<Library> library_;
  FontLocator locator_;
  std::map<std::string, std::unique_ptr<Face>> faces_;
  // Keyed by the face itself, not its file name: a look-up, made for every character drawn,
  // then copies no string. Faces live as long as the engine.
  std::map<std::tuple<const Face*, int, std::uint32_t>, Glyph> glyphs_;
  std::map<std::tuple<const Face*, int>, FontMetrics> metrics_;
};

// Decodes UTF-8 into code points; invalid bytes become U+FFFD.
std::vector<std::uint32_t> decodeUtf8(std::string_view text);
// The same into `out` (cleared first), which keeps its capacity between calls.
void decodeUtf8(std::string_view text, std::vector<std::uint32_t>& out);
// Encodes code points [begin, end) as UTF-8.
std::string encodeUtf8(const std::vector<std::uint32_t>& text, std::size_t begin, std::size_t end);

}  // namespace host
