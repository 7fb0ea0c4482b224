// Plain types shared by every host service: handles, rectangles, colours and the message record.
//
// Handles are small integers; 0 is "none". A handle of an object that was destroyed simply stops
// working (calls with it fail), so stale handles never touch freed memory.
#pragma once

#include <cstdint>

namespace host {

using Hwnd = std::uint32_t;     // window
using Hdc = std::uint32_t;      // device context
using Hgdiobj = std::uint32_t;  // bitmap, pen, brush or font
using Hbitmap = Hgdiobj;
using Hpen = Hgdiobj;
using Hbrush = Hgdiobj;
using Hfont = Hgdiobj;

// Colour as the platform passes it to GDI: 0x00BBGGRR (red in the low byte).
using ColorRef = std::uint32_t;
constexpr ColorRef rgb(int r, int g, int b) {
  return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int redOf(ColorRef c) {
  return c & 0xFF;
}
constexpr int greenOf(ColorRef c) {
  return (c >> 8) & 0xFF;
}
constexpr int blueOf(ColorRef c) {
  return (c >> 16) & 0xFF;
}
constexpr ColorRef kInvalidColor = 0xFFFFFFFF;

struct Point {
  int x = 0;
  int y = 0;
};

// Right and bottom are exclusive, as on the platform.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const Rect&) const = default;
};

// Intersection of two rectangles; empty (all zero) when they do not overlap.
Rect intersect(const Rect& a, const Rect& b);
// Smallest rectangle holding both; an empty operand is ignored.
Rect unite(const Rect& a, const Rect& b);
Rect offsetRect(const Rect& r, int dx, int dy);

// One queued message. `time` is the tick count when it was queued; `point` the stylus position
// in screen coordinates at that time.
struct Message {
  Hwnd window = 0;
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  std::uint32_t time = 0;
  Point point;
};

constexpr std::intptr_t makeLParam(int low, int high) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(low) & 0xFFFF) |
                                    ((static_cast<std::uint32_t>(high) & 0xFFFF) << 16));
}
constexpr int loWord(std::intptr_t v) {
  return static_cast<int>(v & 0xFFFF);
}
constexpr int hiWord(std::intptr_t v) {
  return static_cast<int>((v >> 16) & 0xFFFF);
}
// Signed coordinates packed in a position parameter.
constexpr int xOfLParam(std::intptr_t v) {
  return static_cast<std::int16_t>(v & 0xFFFF);
}
constexpr int yOfLParam(std::intptr_t v) {
  return static_cast<std::int16_t>((v >> 16) & 0xFFFF);
}

}  // namespace host
