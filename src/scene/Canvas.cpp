#include "scene/Canvas.h"

#include <algorithm>
#include <cstdio>

#include "host/Gapi.h"
#include "host/Gdi.h"
#include "host/Host.h"
#include "host/MessageBoxes.h"
#include "host/System.h"
#include "platform/Files.h"

namespace scene {
namespace {

// Colour key in the platform's red-low order, as the GDI blits compare it.
host::ColorRef toColorRef(uint32_t rgb) {
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

}  // namespace

Canvas::Canvas(std::string_view name, bool buffered, const CreatorTable& creators)
    : platform::Window(name, 0, buffered),
      creators_(creators),
      previousIdleHandler_(platform::activeIdleHandler()) {
  style_ = kStyle;
  className_ = kClassName;
  // A buffered page paints every pixel itself, so erasing first would only flicker.
  classBackground_ = static_cast<uint32_t>(
      host::Host::get().gdi().stockObject(buffered ? host::NULL_BRUSH : host::BLACK_BRUSH));
}

Canvas::~Canvas() {
  // The window's destruction must reach afterDestroy() while this object is still a Canvas.
  if (hwnd()) destroy();
  if (active_) setActive(false);
}

void Canvas::onIdle(const host::Message&, host::Hwnd) {
  noteFrameStart();
  runFrame();
  if (directionPad_ && directionPad_->dragging()) directionPad_->draw();
  paintOverlays();
}

void Canvas::noteFrameStart() {
  framesStarted_ = true;
  lastFrameTick_ = host::tickCount();
}

uint32_t Canvas::msUntilNextIdle() {
  if (maxFramesPerSecond_ <= 0 || !framesStarted_) return 0;
  const uint32_t interval =
      static_cast<uint32_t>((1000 + maxFramesPerSecond_ - 1) / maxFramesPerSecond_);
  const uint32_t elapsed = host::tickCount() - lastFrameTick_;
  return elapsed >= interval ? 0 : interval - elapsed;
}

void Canvas::setActive(bool active) {
  if (active) {
    active_ = true;
    platform::setActiveIdleHandler(this);
    frameTimer_.reset();
    return;
  }
  // Only the page that is running frames hands the pump back; an idle page leaves the running
  // one in place.
  if (!active_) return;
  active_ = false;
  platform::setActiveIdleHandler(previousIdleHandler_);
}

void Canvas::runFrame() {
  reportDue_ = frameTimer_.tick();
  frameTime_ = frameTimer_.dt();
  // Last added first; an index walk stays valid when a listener removes itself.
  for (int i = preFrameListeners_.count() - 1; i >= 0; --i)
    if (i < preFrameListeners_.count()) preFrameListeners_[i]->onFrame(*this, frameTime_);
  update(frameTime_);
  drawScenes();
  afterDraw(frameTime_);
  for (int i = postFrameListeners_.count() - 1; i >= 0; --i)
    if (i < postFrameListeners_.count()) postFrameListeners_[i]->onFrame(*this, frameTime_);
  if (reportDue_) onReport(static_cast<float>(frameTimer_.windowMs()) * 0.001f);
}

void Canvas::drawScenes() {
  DrawTarget canvasTarget = targetOf(backBuffer());
  for (size_t i = 0; i < scenes_.size(); ++i) drawScene(*scenes_[i], canvasTarget);
}

void Canvas::drawScene(Scene& scene, const DrawTarget& canvasTarget) {
  if (!scene.visible) return;
  bool drawOnly = frameTime_ < 0.0f;
  if (!scene.buffered) {
    // An active page's last frame is still on the back buffer: keep it, unless the direction
    // pad is being dragged and has to be drawn over a fresh picture.
    if (drawOnly && active_ && !(directionPad_ && directionPad_->dragging())) return;
    scene.render(frameTime_);
    return;
  }
  if (drawOnly) scene.render(0.0f);
  if (scene.drawDelegate()) {
    scene.drawDelegate()->drawScene(scene, canvasTarget);
    return;
  }
  DrawTarget source = scene.bufferTarget();
  if (!source.valid()) return;
  if (scene.bufferMatchesTarget() && source.pixels && canvasTarget.pixels) {
    copyPixels565(source, canvasTarget, scene.x, scene.y, scene.width, scene.height,
                  scene.transparentColor);
    return;
  }
  if (!canvasTarget.dc || !source.dc) return;
  host::Gdi& gdi = host::Host::get().gdi();
  if (scene.transparentColor != -1) {
    gdi.transparentImage(canvasTarget.dc, scene.x, scene.y, scene.width, scene.height, source.dc, 0,
                         0, scene.width, scene.height,
                         toColorRef(static_cast<uint32_t>(scene.transparentColor)));
  } else {
    gdi.bitBlt(canvasTarget.dc, scene.x, scene.y, scene.width, scene.height, source.dc, 0, 0,
               host::SRCCOPY);
  }
}

void Canvas::onPaint(const host::Rect&) {
  if (active_) {
    // A frame run for a paint counts against the cap like one run by the pump.
    noteFrameStart();
    runFrame();
  } else {
    frameTime_ = -1.0f;
    drawScenes();
  }
}

void Canvas::refresh() {
  frameTime_ = -1.0f;
  drawScenes();
  if (active_) return;
  if (directionPad_ && directionPad_->dragging()) directionPad_->draw();
  paintOverlays();
}

Scene* Canvas::addScene(std::string_view name, std::unique_ptr<Scene> scene) {
  if (!scene) return nullptr;
  Scene* raw = scene.get();
  for (const auto& owned : scenes_)
    if (owned.get() == raw) return raw;
  raw->attach(this, name, targetOf(backBuffer()));
  scenes_.push_back(std::move(scene));
  return raw;
}

void Canvas::removeScene(Scene* scene) {
  auto it = std::find_if(scenes_.begin(), scenes_.end(),
                         [scene](const auto& owned) { return owned.get() == scene; });
  if (it == scenes_.end()) return;
  for (const auto& object : (*it)->objects())
    if (object.get() == pressedSprite_) pressedSprite_ = nullptr;
  unbindObjects();
  scenes_.erase(it);
  // What lives in the other scenes is still there.
  bindObjects();
}

void Canvas::removeAllScenes() {
  pressedSprite_ = nullptr;
  unbindObjects();
  // Top first, so that a scene never outlives one drawn above it.
  while (!scenes_.empty()) scenes_.pop_back();
}

Scene* Canvas::findScene(std::string_view name) const {
  for (const auto& scene : scenes_)
    if (scene->name() == name) return scene.get();
  return nullptr;
}

SceneObject* Canvas::findObject(std::string_view name) const {
  for (const auto& scene : scenes_)
    if (SceneObject* object = scene->findObject(name)) return object;
  return nullptr;
}

Scene* Canvas::findSceneOf(std::string_view name) const {
  for (const auto& scene : scenes_)
    if (scene->findObject(name)) return scene.get();
  return nullptr;
}

host::Hwnd Canvas::findObjectWindow(std::string_view name) const {
  SceneObject* object = findObject(name);
  return object ? object->nativeWindow() : 0;
}

PageResource* Canvas::getBitmapFont(std::string_view name) {
  auto* found = bitmapFonts_.get(std::string(name));
  return found ? found->get() : nullptr;
}

bool Canvas::saveTemplate() {
  if (template_.save()) return true;
  // The file named is the one the save tried: an installed program's is the user's copy.
  std::string text = "Can not update the template file: " +
                     platform::displayPath(template_.savePath()) +
                     ".\nThe file is read-only or the storage media is not available. All "
                     "changes will be ignored.";
  host::messageBox(hwnd(), text, "Warning", host::MB_OK | host::MB_ICONEXCLAMATION);
  return false;
}

void Canvas::addPreFrameListener(FrameListener* l) {
  if (l && !preFrameListeners_.contains(l)) preFrameListeners_.append(l);
}
void Canvas::removePreFrameListener(FrameListener* l) {
  if (l) preFrameListeners_.remove(l);
}
void Canvas::addPostFrameListener(FrameListener* l) {
  if (l && !postFrameListeners_.contains(l)) postFrameListeners_.append(l);
}
void Canvas::removePostFrameListener(FrameListener* l) {
  if (l) postFrameListeners_.remove(l);
}

uint32_t Canvas::lastKeyUp() {
  uint32_t key = lastKeyUp_;
  lastKeyUp_ = 0;
  return key;
}

void Canvas::onParentActivate(bool active) {
  host::Gapi& gapi = host::Host::get().gapi();
  if (gapi.displayOpen() || gapi.inputOpen()) {
    if (active)
      gapi.resume();
    else
      gapi.suspend();
  }
  if (!active) {
    wasActive_ = active_;
    if (active_) setActive(false);
    setSoundsPaused(true);
    return;
  }
  setFocus();
  if (wasActive_) setActive(true);
  setSoundsPaused(false);
}

void Canvas::setSoundsPaused(bool paused) {
  if (paused)
    pauseAllSounds();
  else
    resumeAllSounds();
}

void Canvas::addBinding(ObjectBinding* binding) {
  if (!binding || std::find(bindings_.begin(), bindings_.end(), binding) != bindings_.end()) return;
  bindings_.push_back(binding);
  binding->bind(*this);
}

void Canvas::removeBinding(ObjectBinding* binding) {
  bindings_.erase(std::remove(bindings_.begin(), bindings_.end(), binding), bindings_.end());
}

void Canvas::bindObjects() {
  for (ObjectBinding* binding : bindings_) binding->bind(*this);
}

void Canvas::unbindObjects() {
  for (ObjectBinding* binding : bindings_) binding->unbind();
}

void Canvas::afterDestroy() {
  setActive(false);
  releaseAll();
}

void Canvas::releaseAll() {
  unbindObjects();
  template_.clear();
  inputPad_.reset();
  directionPad_.reset();
  removeAllScenes();
  objectNames_.clear();
  clearSounds();
  bitmapFonts_.clear();
  preFrameListeners_.clear();
  postFrameListeners_.clear();
}

// ---- Sounds of the page ----

void Canvas::registerSound(std::string_view name, std::string_view src, const SoundLoader& load) {
  std::string path = templateFolder_;
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  path += src;
  PageSound* sound = nullptr;
  if (auto* known = sounds_.get(path)) {
    sound = known->get();
  } else if (load) {
    std::unique_ptr<PageSound> made = load(path);
    if (!made) return;
    sound = made.get();
    sounds_.put(path, std::move(made));
  }
  if (sound) waveSounds_.put(std::string(name), sound);
}

PageSound* Canvas::findSound(std::string_view name) const {
  PageSound* const* found = waveSounds_.get(std::string(name));
  return found ? *found : nullptr;
}

void Canvas::playSound(host::Hwnd window, std::string_view name, int mode) {
  PageSound* sound = findSound(name);
  if (!sound) {
    std::string text = "Can not find the wave sound file: " + std::string(name) + ".";
    host::messageBox(hwnd(), text, "Error", host::MB_OK | host::MB_ICONSTOP);
    return;
  }
  if (sound->state() == PageSound::kPlaying) return;
  if (mode == 0) {
    stopAllSounds();
  } else if (mode == 1 && anySoundPlaying()) {
    return;
  }
  sound->playOnce(window);
}

void Canvas::stopAllSounds() {
  const auto& files = sounds_.keys();
  for (int i = 0; i < files.count(); ++i) (*sounds_.get(files[i]))->stop();
}

void Canvas::pauseAllSounds() {
  const auto& files = sounds_.keys();
  for (int i = 0; i < files.count(); ++i) (*sounds_.get(files[i]))->pause();
}

void Canvas::resumeAllSounds() {
  const auto& files = sounds_.keys();
  for (int i = 0; i < files.count(); ++i) (*sounds_.get(files[i]))->resume();
}

bool Canvas::anySoundPlaying() const {
  const auto& files = sounds_.keys();
  for (int i = 0; i < files.count(); ++i)
    if ((*sounds_.get(files[i]))->state() == PageSound::kPlaying) return true;
  return false;
}

void Canvas::clearSounds() {
  unbindObjects();
  waveSounds_.clear();
  sounds_.clear();
}

}  // namespace scene
