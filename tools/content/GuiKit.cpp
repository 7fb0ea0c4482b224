#include "GuiKit.h"

#include "BmpWriter.h"
#include "Builder.h"
#include "JpegWriter.h"

namespace content {

std::string guiPath(const std::string& name) {
  return std::string(kGuiFolder) + "/" + name;
}

void putGuiGif(Output& out, const std::string& name, const Picture& picture) {
  out.put(guiPath(name), encodeGif(picture));
}

void putGuiJpeg(Output& out, const std::string& name, const Picture& picture, int quality) {
  out.put(guiPath(name), encodeJpeg(picture, quality));
}

void putGuiBmp(Output& out, const std::string& name, const Picture& picture) {
  out.put(guiPath(name), encodeBmp(picture));
}

Items sceneItems(int x, int y, int w, int h) {
  Items items;
  items("type", "SceneSprite")("x", x)("y", y)("width", w)("height", h);
  return items;
}

Items spriteItems(const std::string& container, int x, int y, int w, int h) {
  Items items;
  items("type", "Sprite")("container", container)("x", x)("y", y)("width", w)("height", h);
  return items;
}

Items textItems(const std::string& container, int x, int y, int w, int h, const std::string& text,
                int size, uint32_t color, const char* alignment, int weight) {
  Items items = spriteItems(container, x, y, w, h);
  items("text", text)("textSize", size)("textWeight", weight)("textAlignment", alignment);
  items.color("textColor", color);
  return items;
}

Items buttonItems(Output& out, const std::string& container, const std::string& face, int x, int y,
                  int w, int h, const std::string& label, ButtonKind kind, const char* guiType,
                  int textSize) {
  putGuiGif(out, "b_" + face + ".gif", buttonFace(w, h, label, kind, false, textSize));
  putGuiGif(out, "b_" + face + "_on.gif", buttonFace(w, h, label, kind, true, textSize));
  Items items = spriteItems(container, x, y, w, h);
  items("GUIType", guiType)("texture", "b_" + face + ".gif")("bright", "b_" + face + "_on.gif");
  return items;
}

}  // namespace content
