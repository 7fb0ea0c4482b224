#include "media/SoundCreators.h"

#include <optional>
#include <string>

#include "media/WaveSound.h"
#include "scene/Canvas.h"
#include "scene/TemplateFactory.h"

namespace media {

namespace {

std::unique_ptr<scene::PageSound> loadSound(const std::string& path) {
  return WaveSound::loadWave(path);
}

void createWaveSound(const scene::CreateRequest& r) {
  std::optional<std::string> src = r.tmpl.getString(r.name, "src");
  if (!src || src->empty()) return;
  r.canvas.registerSound(r.name, *src, loadSound);
}

}  // namespace

void registerSoundCreators(scene::CreatorTable& table) {
  table.set(scene::ObjectType::kWaveSound, createWaveSound);
}

}  // namespace media
