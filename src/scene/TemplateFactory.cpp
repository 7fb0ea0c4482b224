#include "scene/TemplateFactory.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/MessageBoxes.h"
#include "host/System.h"
#include "platform/Files.h"
#include "platform/ProcessSwitches.h"
#include "scene/Canvas.h"
#include "scene/CreatorTable.h"

namespace scene {
namespace {

constexpr std::array<const char*, kObjectTypeCount> kKeywords = {
    "SceneAWT", "SceneSprite", "Scene3D", "AWTComponent", "Sprite",    "Group3D",
    "Chip3D",   "Fog",         "Light",   "LOD",          "WaveSound", "BitmapFont",
};

int scaled(platform::Template& tmpl, std::string_view key, std::string_view item, int fallback) {
  return platform::scaleInt(tmpl.getInt(key, item, fallback));
}

}  // namespace

const char* keywordOf(ObjectType type) {
  return kKeywords[static_cast<size_t>(type)];
}

std::optional<ObjectType> objectTypeOf(std::string_view keyword) {
  for (int i = 0; i < kObjectTypeCount; ++i)
    if (keyword == kKeywords[static_cast<size_t>(i)]) return static_cast<ObjectType>(i);
  return std::nullopt;
}

int TemplateFactory::readSceneExtent(platform::Template& tmpl, std::string_view key,
                                     std::string_view item, int whole) {
  std::optional<std::string> text = tmpl.getString(key, item);
  if (!text || text->empty()) return whole;
  if (text->find('%') != std::string::npos) {
    // A share of the page is already in page pixels: no design-width scaling on top.
    float percent = std::strtof(text->c_str(), nullptr);
    return static_cast<int>(std::lround(percent * static_cast<float>(whole) / 100.0f));
  }
  return scaled(tmpl, key, item, whole);
}

Geometry TemplateFactory::readGeometry(Canvas& canvas, platform::Template& tmpl,
                                       std::string_view key, ObjectType type) {
  Geometry g;
  int clientWidth = canvas.hwnd() ? canvas.clientWidth() : 0;
  int clientHeight = canvas.hwnd() ? canvas.clientHeight() : 0;
  switch (type) {
    case ObjectType::kSceneAWT:
      g.width = clientWidth;
      g.height = clientHeight;
      return g;
    case ObjectType::kSceneSprite:
    case ObjectType::kScene3D:
      g.width = readSceneExtent(tmpl, key, "width", clientWidth);
      g.height = readSceneExtent(tmpl, key, "height", clientHeight);
      break;
    case ObjectType::kAWTComponent:
      g.width = scaled(tmpl, key, "width", 32);
      g.height = scaled(tmpl, key, "height", 16);
      break;
    case ObjectType::kSprite:
      g.width = scaled(tmpl, key, "width", -10000);
      g.height = scaled(tmpl, key, "height", -10000);
      break;
    default:
      return g;  // 3D nodes, sounds and fonts have no place on the page
  }
  g.x = scaled(tmpl, key, "x", 0);
  g.y = scaled(tmpl, key, "y", 0);
  return g;
}

void TemplateFactory::applySceneItems(Scene& scene, const CreateRequest& request) {
  platform::Template& tmpl = request.tmpl;
  std::string_view key = request.name;
  scene.x = request.geometry.x;
  scene.y = request.geometry.y;
  scene.width = request.geometry.width;
  scene.height = request.geometry.height;
  scene.visible = request.visible;
  scene.buffered = tmpl.getBool(key, "buffered", false);
  scene.transparentColor = static_cast<int32_t>(tmpl.getColor(key, "transparentColor", 0));
  scene.useDeviceCompatibleBitmap = tmpl.getBool(key, "useDeviceCompatibleBitmap", true);
  if (request.type != ObjectType::kSceneAWT)
    scene.bkgColor = static_cast<int32_t>(tmpl.getColor(key, "bkgColor", 0xFFFFFFFFu));
}

bool TemplateFactory::createObject(Canvas& canvas, std::string_view key) {
  platform::Template& tmpl = canvas.pageTemplate();
  std::optional<std::string> typeWord = tmpl.getString(key, "type");
  if (!typeWord) return false;
  std::optional<ObjectType> type = objectTypeOf(*typeWord);
  if (!type) {
    canvas.createCustom(tmpl, key);
    return true;
  }
  const ObjectCreator& creator = canvas.creators().creatorOf(*type);
  // A type whose subsystem is not part of this program is left out of the page.
  if (!creator) return true;
  CreateRequest request{canvas, key,     *type, tmpl, readGeometry(canvas, tmpl, key, *type),
                        {},     nullptr, {},    true, 0};
  request.container = tmpl.getString(key, "container").value_or(std::string());
  if (!request.container.empty()) request.containerScene = canvas.findScene(request.container);
  request.indexLabel = tmpl.getString(key, "index").value_or(std::string());
  request.visible = tmpl.getBool(key, "visible", true);
  request.number = tmpl.getInt(key, "number", 0);
  creator(request);
  return true;
}

bool TemplateFactory::loadTemplate(Canvas& canvas, std::string_view folder, std::string_view name,
                                   bool replace) {
  if (folder.empty() || name.empty()) return false;
  platform::Template& tmpl = canvas.pageTemplate();
  const std::string fileFolder(folder);
  const std::string fileName(name.substr(0, Canvas::kTemplateNameChars));
  auto reportMissing = [&] {
    std::string text = "Can not find the template file: " +
                       platform::displayPath(std::string(folder) + std::string(name)) + ".";
    host::messageBox(canvas.hwnd(), text, "Error", host::MB_OK | host::MB_ICONSTOP);
  };
  std::vector<std::string> defined;
  if (replace) {
    // The file is read before the page lets go of its content: a page whose next screen cannot
    // be found keeps the screen it has (and with it a way on) instead of going black.
    platform::Template loaded{'=', ',', ':'};
    if (!loaded.load(fileFolder, fileName, &defined)) {
      reportMissing();
      return false;
    }
    canvas.beforeReplace();
    tmpl.clear();
    canvas.objectNames_.clear();
    canvas.clearSounds();  // the page's bound objects are cleared with them
    canvas.bitmapFonts_.clear();
    canvas.removeAllScenes();
    tmpl = std::move(loaded);
    canvas.templateName_ = fileName;
    canvas.templateFolder_ = fileFolder;
  } else {
    if (!tmpl.load(fileFolder, fileName, &defined)) {
      reportMissing();
      // The page goes on with the file it had.
      tmpl.setPath(canvas.templateFolder_, canvas.templateName_);
      return false;
    }
  }
  const std::string keptFolder = replace ? fileFolder : canvas.templateFolder_;
  const std::string keptName = replace ? fileName : canvas.templateName_;
  canvas.templateName_ = fileName;
  canvas.templateFolder_ = fileFolder;
  std::sort(defined.begin(), defined.end());

  std::vector<std::string> keys = tmpl.keys();
  const int count = static_cast<int>(keys.size());
  LoadProgressListener* progress = canvas.progressListener();
  char text[64];
  for (int index = 0; index < count; ++index) {
    const std::string& key = keys[static_cast<size_t>(index)];
    std::vector<std::string>& names = canvas.objectNames_;
    if (std::find(names.begin(), names.end(), key) == names.end()) {
      names.push_back(key);
      createObject(canvas, key);
    } else if (std::binary_search(defined.begin(), defined.end(), key)) {
      // This file describes the key again: its object is made from the new description.
      createObject(canvas, key);
    }
    if (progress) {
      std::snprintf(text, sizeof text, "Load %.20s", key.c_str());
      progress->onLoadProgress(text, canvas.templateName_, index * 100 / count);
    }
  }
  if (progress) progress->onLoadProgress("Load", canvas.templateName_, 100);
  canvas.bindObjects();
  canvas.afterLoad();

  if (!replace) {
    canvas.templateName_ = keptName;
    canvas.templateFolder_ = keptFolder;
    tmpl.setPath(keptFolder, keptName);
    return true;
  }
  canvas.typedKeys_.clear();
  canvas.lastTypedTick_ = host::tickCount();
  canvas.pressedSprite_ = nullptr;
  return true;
}

}  // namespace scene
