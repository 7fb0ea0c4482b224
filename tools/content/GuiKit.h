// GuiKit: shorthands shared by the screen builders for writing pictures and template objects
// into the GUI folder.
#pragma once

#include <string>

#include "GifWriter.h"
#include "Output.h"
#include "Picture.h"
#include "TemplateWriter.h"
#include "Widgets.h"

namespace content {

std::string guiPath(const std::string& name);
void putGuiGif(Output& out, const std::string& name, const Picture& picture);
void putGuiJpeg(Output& out, const std::string& name, const Picture& picture, int quality = 90);
void putGuiBmp(Output& out, const std::string& name, const Picture& picture);

// A sprite scene filling the given rectangle.
Items sceneItems(int x, int y, int w, int h);
// A sprite in `container` at the given rectangle.
Items spriteItems(const std::string& container, int x, int y, int w, int h);
// A text-only sprite.
Items textItems(const std::string& container, int x, int y, int w, int h, const std::string& text,
                int size, uint32_t color, const char* alignment = "CENTER", int weight = 700);

// Writes the button's two faces ("b_<face>.gif", "b_<face>_on.gif") and returns the items of a
// sprite of `guiType` showing them.
Items buttonItems(Output& out, const std::string& container, const std::string& face, int x, int y,
                  int w, int h, const std::string& label, ButtonKind kind,
                  const char* guiType = "button", int textSize = 12);

}  // namespace content
