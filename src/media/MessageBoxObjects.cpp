#include "media/MessageBoxObjects.h"

#include "media/GuiCanvas.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"

namespace media {

const scene::ObjectTable<MessageBoxObjects>& MessageBoxObjects::table() {
  using Table = scene::ObjectTable<MessageBoxObjects>;
  using scene::ObjectType;
  static const Table table(
      GuiCanvas::kMessageTemplate,
      {
          Table::object<&MessageBoxObjects::box>("sceneMessageBox", ObjectType::kSceneSprite),
          Table::object<&MessageBoxObjects::message>("sptMessage", ObjectType::kSprite),
          Table::object<&MessageBoxObjects::context>("sptMessageContext", ObjectType::kSprite),
          Table::object<&MessageBoxObjects::ok>("btnOk", ObjectType::kSprite),
          Table::object<&MessageBoxObjects::yes>("btnYes", ObjectType::kSprite),
          Table::object<&MessageBoxObjects::no>("btnNo", ObjectType::kSprite),
      });
  return table;
}

}  // namespace media
