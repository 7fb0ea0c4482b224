#include "media/SpriteCreators.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "media/BitmapFont.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "platform/ProcessSwitches.h"
#include "scene/Canvas.h"
#include "scene/TemplateFactory.h"

namespace media {

namespace {

using scene::CreateRequest;
using scene::ObjectType;

constexpr uint32_t kNone = 0xFFFFFFFF;

Image* picture(ImageCache& images, const CreateRequest& r, std::string_view item) {
  std::optional<std::string> file = r.tmpl.getString(r.name, item);
  if (!file || file->empty()) return nullptr;
  return images.get(r.canvas.templateFolder(), *file);
}

BitmapFont* bitmapFont(scene::Canvas& canvas, platform::Template& tmpl, std::string_view key,
                       std::string_view item) {
  std::optional<std::string> name = tmpl.getString(key, item);
  if (!name || name->empty()) return nullptr;
  return dynamic_cast<BitmapFont*>(canvas.getBitmapFont(*name));
}

int guiKindOf(const std::optional<std::string>& word) {
  if (!word) return Sprite::kPlain;
  if (*word == "button") return Sprite::kButton;
  if (*word == "checkbox") return Sprite::kCheckbox;
  if (*word == "hyperlink") return Sprite::kHyperlink;
  if (*word == "tiplink") return Sprite::kTiplink;
  if (*word == "editbox") return Sprite::kEditbox;
  return Sprite::kPlain;
}

int alignmentOf(const std::optional<std::string>& word) {
  if (word && *word == "CENTER") return Sprite::kCenter;
  if (word && *word == "RIGHT") return Sprite::kRight;
  return Sprite::kLeft;
}

void createSceneSprite(ImageCache& images, const CreateRequest& r) {
  platform::Template& t = r.tmpl;
  auto s = std::make_unique<SceneSprite>(r.geometry.x, r.geometry.y, r.geometry.width,
                                         r.geometry.height);
  scene::TemplateFactory::applySceneItems(*s, r);
  s->bkgTexture = picture(images, r, "bkgTexture");
  s->indexTextColor = t.getColor(r.name, "indexTextColor", 0xFFFF00);
  s->indexTextSize = platform::scaleInt(t.getInt(r.name, "indexTextSize", 12));
  s->indexTextOffsetX = platform::scaleInt(t.getInt(r.name, "indexTextOffsetX", 0));
  s->indexTextOffsetY = platform::scaleInt(t.getInt(r.name, "indexTextOffsetY", 0));
  r.canvas.addScene(r.name, std::move(s));
}

std::unique_ptr<Sprite> readSprite(ImageCache& images, const CreateRequest& r) {
  platform::Template& t = r.tmpl;
  std::string_view key = r.name;
  auto s =
      std::make_unique<Sprite>(r.geometry.x, r.geometry.y, r.geometry.width, r.geometry.height);
  s->visible = r.visible;
  s->guiKind = guiKindOf(t.getString(key, "GUIType"));
  switch (s->guiKind) {
    case Sprite::kEditbox: {
      int maxLength = std::max(1, t.getInt(key, "maxLength", 20));
      if (!t.getBool(key, "allowEmpty", true)) maxLength = -maxLength;
      s->linkText = std::to_string(maxLength) + "," + t.getString(key, "title").value_or("");
      break;
    }
    case Sprite::kCheckbox:
      s->linkText = t.getString(key, "group").value_or("");
      break;
    case Sprite::kHyperlink:
    case Sprite::kTiplink:
      s->linkText = t.getString(key, "href").value_or("");
      break;
    default:
      break;
  }
  s->persistent = t.getBool(key, "persistent", false);
  if (auto text = t.getString(key, "text")) s->setText(*text);
  if (auto face = t.getString(key, "textFont")) s->setFontFace(*face);
  s->textSize = platform::scaleInt(t.getInt(key, "textSize", Sprite::kDefaultTextSize));
  s->textItalic = t.getBool(key, "textItalic", false);
  bool link = s->guiKind == Sprite::kHyperlink || s->guiKind == Sprite::kTiplink;
  s->textUnderline = t.getBool(key, "textUnderline", link);
  s->textWeight = std::min(900, t.getInt(key, "textWeight", 400));
  s->textOffsetX = platform::scaleInt(t.getInt(key, "textOffsetX", 0));
  s->textOffsetY = platform::scaleInt(t.getInt(key, "textOffsetY", 0));
  s->textFormatted = t.getBool(key, "textFormatted", true);
  s->textAlignment = alignmentOf(t.getString(key, "textAlignment"));
  s->textColor = t.getColor(key, "textColor", 0);
  s->normalFont = bitmapFont(r.canvas, t, key, "BitmapFontNormal");
  s->brightFont = bitmapFont(r.canvas, t, key, "BitmapFontBright");
  s->color = t.getColor(key, "color", kNone);
  s->brightColor = t.getColor(key, "brightColor", kNone);
  s->frameColor = t.getColor(key, "frame", kNone);
  s->status = t.getInt(key, "status", 0);
  s->animationEnabled = t.getBool(key, "animationEnabled", true);

  Image* normal = picture(images, r, "texture");
  Image* bright = picture(images, r, "bright");
  if (t.getString(key, "transparentColor")) {
    uint32_t keyColor = t.getColor(key, "transparentColor", 0);
    for (Image* image : {normal, bright}) {
      for (int i = 0; image && i < image->frameCount(); ++i) {
        image->surfaceAt(i)->transparent = true;
        image->surfaceAt(i)->transparentColor = keyColor;
      }
    }
  }
  bool widthFromPicture = s->width < 0;
  bool heightFromPicture = s->height < 0;
  s->setImages(normal, bright, t.getInt(key, "clipX", -1), t.getInt(key, "clipY", -1),
               t.getInt(key, "clipW", -1), t.getInt(key, "clipH", -1));
  // A size taken from the picture is in picture pixels; the layout is display-scaled.
  if (widthFromPicture && s->width >= 0) s->width = platform::scaleInt(s->width);
  if (heightFromPicture && s->height >= 0) s->height = platform::scaleInt(s->height);
  return s;
}

void createSprite(ImageCache& images, const CreateRequest& r) {
  auto* container = dynamic_cast<SceneSprite*>(r.containerScene);
  if (!container) return;  // a sprite without its scene is not kept
  std::unique_ptr<Sprite> first = readSprite(images, r);
  if (r.number < 1) {
    container->addSprite(std::move(first), r.name, r.indexLabel);
    return;
  }
  std::string base(r.name);
  Sprite* model = container->addSprite(std::move(first), base + "0", r.indexLabel);
  for (int i = 1; i < r.number; ++i)
    container->addSprite(model->clone(), base + std::to_string(i), r.indexLabel);
}

void createBitmapFont(const CreateRequest& r) {
  platform::Template& t = r.tmpl;
  std::optional<std::string> bitmap = t.getString(r.name, "bitmap");
  int columns = t.getInt(r.name, "columns", 0);
  int rows = t.getInt(r.name, "rows", 0);
  if (!bitmap || bitmap->empty() || columns < 1 || rows < 1) return;
  std::string key(r.name);
  if (r.canvas.bitmapFonts().contains(key)) return;
  std::string path = r.canvas.templateFolder();
  if (path.empty() || path.back() != '\\') path += '\\';
  path += *bitmap;
  auto font = std::make_unique<BitmapFont>(
      path, columns, rows, t.getInt(r.name, "caseConvertion", 1), t.getInt(r.name, "startCode", 32),
      t.getColor(r.name, "transparentColor", 0));
  r.canvas.bitmapFonts().put(key, std::move(font));
}

}  // namespace

void registerSpriteCreators(scene::CreatorTable& table, ImageCache& images) {
  table.set(ObjectType::kSceneSprite,
            [&images](const CreateRequest& r) { createSceneSprite(images, r); });
  table.set(ObjectType::kSprite, [&images](const CreateRequest& r) { createSprite(images, r); });
  table.set(ObjectType::kBitmapFont, createBitmapFont);
}

}  // namespace media
