// Private records of Gdi, shared by its two source files (objects and text).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "host/Gdi.h"

namespace host {

struct Gdi::Object {
  GdiObjectKind kind = GdiObjectKind::None;
  bool stock = false;
  int selectedIn = 0;  // number of DCs holding it
  // Bitmap.
  std::vector<std::uint8_t> storage;
  std::vector<std::uint32_t> palette;
  PixelSurface surface;
  int dibHeight = 0;
  int rowBytes = 0;
  std::uint32_t masks[3] = {0, 0, 0};
  // Pen and brush.
  int penStyle = PS_SOLID;
  int penWidth = 1;
  ColorRef color = 0;
  bool null = false;
  // Font.
  LogFont font;
};

struct Gdi::DcData {
  Hwnd window = 0;
  bool screen = false;  // the whole device screen (a DC of no window)
  Hbitmap bitmap = 0;
  Hpen pen = 0;
  Hbrush brush = 0;
  Hfont font = 0;
  ColorRef text = 0;
  ColorRef bk = 0xFFFFFF;
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
};

// The rectangles a drawing call may touch. A window's visible region is a handful of
// rectangles at most, so they are kept inline: drawing, which runs every frame, allocates
// nothing. A region of more rectangles than fit spills to the heap and stays correct.
class ClipRects {
 public:
  void clear() {
    count_ = 0;
    more_.clear();
  }
  void assign(const Rect& only) {
    clear();
    push_back(only);
  }
  void assign(const std::vector<Rect>& rects) {
    clear();
    for (const Rect& r : rects) push_back(r);
  }
  void push_back(const Rect& r) {
    if (count_ < kInline && more_.empty())
      inline_[count_++] = r;
    else
      spill().push_back(r);
  }
  bool empty() const { return size() == 0; }
  std::size_t size() const { return more_.empty() ? count_ : more_.size(); }
  Rect* begin() { return more_.empty() ? inline_.data() : more_.data(); }
  Rect* end() { return begin() + size(); }
  const Rect* begin() const { return more_.empty() ? inline_.data() : more_.data(); }
  const Rect* end() const { return begin() + size(); }
  bool contains(int x, int y) const {
    for (const Rect& r : *this)
      if (r.contains(x, y)) return true;
    return false;
  }

 private:
  static constexpr std::size_t kInline = 8;
  std::vector<Rect>& spill() {
    if (more_.empty()) more_.assign(inline_.begin(), inline_.begin() + count_);
    return more_;
  }
  std::array<Rect, kInline> inline_{};
  std::size_t count_ = 0;
  std::vector<Rect> more_;
};

struct Gdi::Target {
  PixelSurface surface;
  int originX = 0;
  int originY = 0;
  ClipRects clip;  // surface coordinates
  bool screen = false;
  bool valid() const { return surface.top && !clip.empty(); }
};

}  // namespace host
