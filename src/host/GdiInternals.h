// Private records of Gdi, shared by its two source files (objects and text).
#pragma once

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

struct Gdi::Target {
  PixelSurface surface;
  int originX = 0;
  int originY = 0;
  std::vector<Rect> clip;  // surface coordinates
  bool screen = false;
  bool valid() const { return surface.top && !clip.empty(); }
};

}  // namespace host
