#include "media/Creators3D.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "engine3d/Group3D.h"
#include "engine3d/Light.h"
#include "engine3d/Primitives.h"
#include "host/MessageBoxes.h"
#include "media/ImageTexture.h"
#include "media/Scene3D.h"
#include "scene/Canvas.h"
#include "scene/TemplateFactory.h"

namespace media {
namespace {

using scene::CreateRequest;
using scene::ObjectType;

void showModelMessage(const engine3d::UserMessage& message) {
  std::uint32_t icon = message.icon == engine3d::MessageIcon::kStop ? host::MB_ICONSTOP
                       : message.icon == engine3d::MessageIcon::kExclamation
                           ? host::MB_ICONEXCLAMATION
                           : host::MB_ICONINFORMATION;
  host::messageBox(0, message.text, message.caption, host::MB_OK | icon);
}

engine3d::NameFilter filterOf(platform::Template& t, std::string_view key) {
  engine3d::NameFilter filter;
  filter.wanted = t.getString(key, "wantedObjectsWhenNormalize");
  filter.unwanted = t.getString(key, "unwantedObjectsWhenNormalize");
  return filter;
}

std::shared_ptr<engine3d::Texture> texture(TextureStore& textures, const CreateRequest& r,
                                           std::string_view item) {
  std::optional<std::string> name = r.tmpl.getString(r.name, item);
  if (!name || name->empty()) return nullptr;
  engine3d::TextureRequest request;
  request.folder = r.canvas.templateFolder();
  request.name = *name;
  return textures.get(request);
}

void createScene3D(const CreateRequest& r) {
  auto s = std::make_unique<Scene3D>();
  scene::TemplateFactory::applySceneItems(*s, r);
  s->setAmbient(r.tmpl.getColor(r.name, "ambient", Scene3D::kDefaultAmbient));
  if (auto provider = r.tmpl.getString(r.name, "zBufferProviderScene"))
    s->setZBufferProvider(*provider);
  // Authoring aid: "eye" and "target" place the scene's first camera (pages that steer the
  // camera themselves leave them out).
  if (r.tmpl.getString(r.name, "eye") || r.tmpl.getString(r.name, "target")) {
    std::array<float, 3> eye = r.tmpl.getVector(r.name, "eye", {0.0f, 0.0f, -10.0f});
    std::array<float, 3> target = r.tmpl.getVector(r.name, "target", {0.0f, 0.0f, 0.0f});
    s->setInitialView({eye[0], eye[1], eye[2]}, {target[0], target[1], target[2]});
  }
  r.canvas.addScene(r.name, std::move(s));
}

// Group3D and Chip3D share one reading: a chip is made from its items, a group loaded from its
// model; both then take the common settings and their copies.
void createGroup(engine3d::ModelCache& models, TextureStore& textures, const CreateRequest& r) {
  auto* container = dynamic_cast<Scene3D*>(r.containerScene);
  if (!container) return;
  platform::Template& t = r.tmpl;
  const float radius = t.getFloat(r.name, "radius", 1.0f);
  std::unique_ptr<engine3d::Group3D> group;
  if (r.type == ObjectType::kChip3D) {
    group = engine3d::Chip3D::create(
        t.getFloat(r.name, "width", 1.0f), t.getFloat(r.name, "height", 1.0f), radius,
        t.getInt(r.name, "orientation", engine3d::kChipFacingZ), texture(textures, r, "texture"),
        texture(textures, r, "alpha"), t.getBool(r.name, "mirror", false));
  } else {
    std::optional<std::string> model = t.getString(r.name, "model");
    if (!model || model->empty()) return;
    group = models.get(r.canvas.templateFolder(), *model, radius, filterOf(t, r.name));
  }
  if (!group) return;
  group->setVisible(r.visible);
  group->setDetailLevel(t.getInt(r.name, "detailLevel", 3));
  group->setEnvironmentEnabled(t.getBool(r.name, "environmentEnabled", true));
  group->billboard = t.getInt(r.name, "billboard", engine3d::kBillboardNone);
  group->cullingPolicy = t.getInt(r.name, "cullingPolicy", engine3d::kCullGroup);
  if (r.number < 1) {
    container->addGroup(r.name, std::move(group));
    return;
  }
  std::string base(r.name);
  engine3d::Group3D* first = container->addGroup(base + "0", std::move(group));
  for (int i = 1; i < r.number; ++i) container->addGroup(base + std::to_string(i), first->clone());
}

void createFog(const CreateRequest& r) {
  auto* container = dynamic_cast<Scene3D*>(r.containerScene);
  if (!container) return;
  engine3d::Fog fog;
  fog.front = r.tmpl.getInt(r.name, "front", 100);
  fog.back = r.tmpl.getInt(r.name, "back", 200);
  fog.colour = r.tmpl.getColor(r.name, "color", 0xFFFFFF);
  container->setFog(fog);
}

void createLight(const CreateRequest& r) {
  auto* container = dynamic_cast<Scene3D*>(r.containerScene);
  if (!container) return;
  std::array<float, 3> dir = r.tmpl.getVector(r.name, "dir", {0.0f, -1.0f, 0.0f});
  container->addLight(engine3d::Light::make(std::string(r.name),
                                            engine3d::Vector3{dir[0], dir[1], dir[2]},
                                            r.tmpl.getColor(r.name, "color", 0xFFFFFF)));
}

void createLevels(engine3d::ModelCache& cache, const CreateRequest& r) {
  // The container is a group anywhere on the page, not a scene.
  auto* holder = dynamic_cast<GroupObject*>(r.canvas.findObject(r.container));
  if (!holder) return;
  platform::Template& t = r.tmpl;
  std::string models = t.getString(r.name, "model").value_or("");
  cache.loadLevels(holder->group(), r.canvas.templateFolder(), models,
                   t.getInt(r.name, "levelNum", 1), t.getFloat(r.name, "segment", 1.0f),
                   t.getFloat(r.name, "radius", 1.0f), filterOf(t, r.name));
}

}  // namespace

engine3d::ModelLoadOptions pageModelOptions(TextureStore& textures) {
  engine3d::ModelLoadOptions options;
  options.textures = textures.loader();
  options.messages = showModelMessage;
  return options;
}

void register3DCreators(scene::CreatorTable& table, engine3d::ModelCache& models,
                        TextureStore& textures) {
  auto group = [&models, &textures](const CreateRequest& r) { createGroup(models, textures, r); };
  table.set(ObjectType::kScene3D, createScene3D);
  table.set(ObjectType::kGroup3D, group);
  table.set(ObjectType::kChip3D, group);
  table.set(ObjectType::kFog, createFog);
  table.set(ObjectType::kLight, createLight);
  table.set(ObjectType::kLOD, [&models](const CreateRequest& r) { createLevels(models, r); });
}

}  // namespace media
