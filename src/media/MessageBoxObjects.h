// The objects of a page's message box, as "messagebox.properties" describes them; the page
// merges that template in on first use (GuiCanvas::showMessageBox).
#pragma once

#include "scene/ObjectTable.h"

namespace media {

class SceneSprite;
class Sprite;

struct MessageBoxObjects {
  SceneSprite* box = nullptr;  // "sceneMessageBox": its visibility says whether the box is up
  Sprite* message = nullptr;   // "sptMessage": the text, drawn into its picture when it has one
  Sprite* context = nullptr;   // "sptMessageContext": hidden carrier of the context key
  Sprite* ok = nullptr;        // "btnOk": shown for kind 0
  Sprite* yes = nullptr;       // "btnYes": shown for kind 1
  Sprite* no = nullptr;        // "btnNo": shown for kind 1

  static const scene::ObjectTable<MessageBoxObjects>& table();
};

}  // namespace media
