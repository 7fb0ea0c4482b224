#include "host/FontEngine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstdlib>

namespace host {

struct FontEngine::Library {
  FT_Library ft = nullptr;
  ~Library() {
    if (ft) FT_Done_FreeType(ft);
  }
};

struct FontEngine::Face {
  FT_Face face = nullptr;
  std::string file;
  int cellUnits = 0;    // win ascent + win descent, font units
  int ascentUnits = 0;  // win ascent
  int lineGapUnits = 0;
  int sizedEm = -1;  // pixel em size last set
  ~Face() {
    if (face) FT_Done_Face(face);
  }
};

std::vector<std::uint32_t> decodeUtf8(std::string_view text) {
  std::vector<std::uint32_t> out;
  decodeUtf8(text, out);
  return out;
}

void decodeUtf8(std::string_view text, std::vector<std::uint32_t>& out) {
  out.clear();
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + extra >= text.size() + (extra == 0 ? 1 : 0)) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    std::uint32_t cp = extra == 0 ? c : (c & (0x3F >> extra));
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      unsigned char cc = static_cast<unsigned char>(text[i + k]);
      if ((cc & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if (!ok) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(cp);
    i += extra + 1;
  }
}

std::string encodeUtf8(const std::vector<std::uint32_t>& text, std::size_t begin, std::size_t end) {
  std::string out;
  for (std::size_t i = begin; i < end && i < text.size(); ++i) {
    std::uint32_t cp = text[i];
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

FontEngine::FontEngine(FontSources sources, FontLocator::Sink say)
    : library_(std::make_unique<Library>()), locator_(std::move(sources), std::move(say)) {
  if (FT_Init_FreeType(&library_->ft) != 0) library_->ft = nullptr;
}

FontEngine::~FontEngine() {
  glyphs_.clear();
  metrics_.clear();
  faces_.clear();
}

bool FontEngine::ready() const {
  return library_->ft != nullptr;
}

FontEngine::Face* FontEngine::faceFor(const FontRequest& font) {
  if (!ready()) return nullptr;
  const std::string& file = locator_.file(font.weight >= 600, font.italic);
  if (file.empty()) return nullptr;
  auto it = faces_.find(file);
  if (it != faces_.end()) return it->second.get();
  auto face = std::make_unique<Face>();
  face->file = file;
  if (FT_New_Face(library_->ft, file.c_str(), 0, &face->face) != 0) {
    face->face = nullptr;
    faces_[file] = nullptr;
    return nullptr;
  }
  // The platform sizes fonts by the Windows ascent and descent of the OS/2 table.
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face->face, FT_SFNT_OS2));
  auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face->face, FT_SFNT_HHEA));
  if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
    face->ascentUnits = os2->usWinAscent;
    face->cellUnits = os2->usWinAscent + os2->usWinDescent;
  } else {
    face->ascentUnits = face->face->ascender;
    face->cellUnits = face->face->ascender - face->face->descender;
  }
  if (hhea) {
    int hheaCell = hhea->Ascender - hhea->Descender;
    face->lineGapUnits = std::max(0, hhea->Line_Gap - (face->cellUnits - hheaCell));
  }
  Face* raw = face.get();
  faces_[file] = std::move(face);
  return raw;
}

namespace {

int emPixels(const FontRequest& font, int cellUnits, int unitsPerEm) {
  int height = font.height == 0 ? 12 : font.height;
  if (height < 0) return -height;
  return std::max(
      1, static_cast<int>(std::lround(static_cast<double>(height) * unitsPerEm / cellUnits)));
}

}  // namespace

bool FontEngine::sizeFace(Face& face, const FontRequest& font) {
  int em = emPixels(font, face.cellUnits, face.face->units_per_EM);
  if (face.sizedEm == em) return true;
  if (FT_Set_Pixel_Sizes(face.face, 0, static_cast<FT_UInt>(em)) != 0) return false;
  face.sizedEm = em;
  return true;
}

FontMetrics FontEngine::metrics(const FontRequest& font) {
  Face* face = faceFor(font);
  if (!face) return {};
  int upem = face->face->units_per_EM;
  int em = emPixels(font, face->cellUnits, upem);
  auto key = std::make_tuple(static_cast<const Face*>(face), em);
  if (auto it = metrics_.find(key); it != metrics_.end()) return it->second;
  FontMetrics m;
  m.ascent = static_cast<int>(std::lround(static_cast<double>(face->ascentUnits) * em / upem));
  m.height = font.height > 0
                 ? font.height
                 : static_cast<int>(std::lround(static_cast<double>(face->cellUnits) * em / upem));
  m.descent = m.height - m.ascent;
  m.internalLeading = std::max(0, m.height - em);
  m.externalLeading =
      static_cast<int>(std::lround(static_cast<double>(face->lineGapUnits) * em / upem));
  // Average width as the platform reports it: the width of 'x' stands in for the OS/2 average.
  m.averageCharWidth = glyph(font, 'x').advance;
  m.maxCharWidth =
      static_cast<int>(std::lround(static_cast<double>(face->face->max_advance_width) * em / upem));
  metrics_[key] = m;
  return m;
}

const Glyph& FontEngine::glyph(const FontRequest& font, std::uint32_t codePoint) {
  static const Glyph kEmpty;
  Face* face = faceFor(font);
  if (!face) return kEmpty;
  int em = emPixels(font, face->cellUnits, face->face->units_per_EM);
  auto key = std::make_tuple(static_cast<const Face*>(face), em, codePoint);
  if (auto it = glyphs_.find(key); it != glyphs_.end()) return it->second;
  Glyph& g = glyphs_[key];
  if (!sizeFace(*face, font)) return g;
  FT_UInt index = FT_Get_Char_Index(face->face, codePoint);
  if (FT_Load_Glyph(face->face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) return g;
  FT_GlyphSlot slot = face->face->glyph;
  g.width = static_cast<int>(slot->bitmap.width);
  g.rows = static_cast<int>(slot->bitmap.rows);
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  g.coverage.resize(static_cast<size_t>(g.width) * g.rows);
  for (int y = 0; y < g.rows; ++y)
    for (int x = 0; x < g.width; ++x)
      g.coverage[static_cast<size_t>(y) * g.width + x] =
          slot->bitmap.buffer[y * slot->bitmap.pitch + x];
  return g;
}

}  // namespace host
