// Canvas: a page. A double-buffered child window of the main window that owns an ordered list of
// scenes, the page's template, the sounds and bitmap fonts the template declared, the key and
// stylus state and a frame timer.
//
// While active the canvas is the message pump's idle handler: each empty pass of the pump runs
// one frame (timer tick, pre-frame listeners, update, drawing every scene bottom to top,
// after-draw, post-frame listeners, the periodic report, overlays and presentation). Pages
// derive from it and put their logic into the virtual slots.
//
// Ownership: the canvas owns its scenes (and through them their objects), the template, the
// wave sounds and bitmap fonts, the input pad and the direction pad. Listeners and the creator
// table its templates are built with are borrowed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/HashMap.h"
#include "platform/MessagePump.h"
#include "platform/PtrVector.h"
#include "platform/Template.h"
#include "platform/Window.h"
#include "scene/FrameTimer.h"
#include "scene/PageSound.h"
#include "scene/Scene.h"

namespace scene {

class Canvas;
class CreatorTable;

// Calibrated key codes: device code (as decimal text) -> standard code.
using KeyMap = platform::HashMap<std::string, uint32_t>;

// Called with the frame time before the update (pre-frame) or after drawing (post-frame).
struct FrameListener {
  virtual ~FrameListener() = default;
  virtual void onFrame(Canvas& canvas, float seconds) = 0;
};

// Told about each step of a template load: the text ("Load <key>" or "Load"), the template name
// and the percentage done.
struct LoadProgressListener {
  virtual ~LoadProgressListener() = default;
  virtual void onLoadProgress(std::string_view text, std::string_view templateName,
                              int percent) = 0;
};

// Something a template declares for the whole page (a wave sound, a bitmap font). Owned by the
// canvas's maps.
class PageResource {
 public:
  virtual ~PageResource() = default;
};

// The on-screen direction pad a page may enable. The canvas feeds it stylus positions in page
// coordinates and draws it while it is dragging.
class DirectionPad {
 public:
  virtual ~DirectionPad() = default;
  virtual bool dragging() const = 0;
  // A stylus down that hit nothing: starts a drag (when enabled).
  virtual void press(int x, int y) = 0;
  // A stylus move; `flags` are the message's key-state flags.
  virtual void move(int x, int y, uintptr_t flags) = 0;
  // A stylus up that released nothing: ends the drag.
  virtual void release(int x, int y) = 0;
  virtual void draw() = 0;
};

// Typed pointers a page keeps to objects of its templates (see ObjectTable.h). The canvas binds
// every registered set after each template load and clears them before it drops the objects
// they point at (scenes removed, sounds forgotten, the window destroyed).
class ObjectBinding {
 public:
  virtual ~ObjectBinding() = default;
  // Looks every pointer up in `canvas` again.
  virtual void bind(Canvas& canvas) = 0;
  // Sets every pointer to null.
  virtual void unbind() = 0;
};

// The page's on-screen keyboard dialog; owned by the canvas.
class InputPad {
 public:
  virtual ~InputPad() = default;
  // Shows the pad for `editBox` with the box's current `text` and `title`, accepting at most
  // `maxLength` characters and an empty answer only when `allowEmpty`. The answer reaches the
  // box as a stylus release on it.
  virtual void open(SceneObject& editBox, std::string_view text, std::string_view title,
                    int maxLength, bool allowEmpty) = 0;
};

class Canvas : public platform::Window, public platform::IdleHandler {
 public:
  static constexpr uint32_t kStyle = 0x50000000;  // child, visible
  static constexpr const char* kClassName = "CANVAS";
  static constexpr size_t kTemplateNameChars = 64;
  static constexpr int kMaxTypedKeys = 4;
  static constexpr uint32_t kTypingPauseMs = 2000;

  // Action bits of keyState().
  static constexpr uint32_t kKeyUp = 1, kKeyDown = 2, kKeyLeft = 4, kKeyRight = 8;
  static constexpr uint32_t kKeyDelete = 16, kKeyEnd = 32, kKeySpace = 64, kKeyEnter = 128;
  static constexpr uint32_t kKeyPageUp = 256, kKeyPageDown = 512, kKeyHome = 1024;
  static constexpr uint32_t kKeyInsert = 2048;
  static constexpr uint32_t kKeyApp1 = 0x2000, kKeyApp2 = 0x4000, kKeyApp3 = 0x8000;
  static constexpr uint32_t kKeyApp4 = 0x10000;

  // A page named `name` (its window title) whose templates are built with `creators` (borrowed:
  // it must outlive the page). Remembers the pump's current idle handler so that deactivation
  // can put it back.
  Canvas(std::string_view name, bool buffered, const CreatorTable& creators);
  ~Canvas() override;

  // The idle handler's operation: one frame.
  void onIdle(const host::Message& message, host::Hwnd mainWindow) override;
  // Time until the next frame may start under the frame-rate cap (0: now).
  uint32_t msUntilNextIdle() override;

  // The most frames per second the pump runs this page at; 0 lifts the cap. Frames start at
  // least ceil(1000 / fps) ms apart, and the pump spends the pause waiting for input, so a still
  // page costs little. Menu pages keep the default; a page with its own pacing sets its own.
  static constexpr int kDefaultMaxFramesPerSecond = 60;
  void setMaxFramesPerSecond(int fps) { maxFramesPerSecond_ = fps < 0 ? 0 : fps; }
  int maxFramesPerSecond() const { return maxFramesPerSecond_; }

  void setActive(bool active);
  bool isActive() const { return active_; }

  // Scenes, first = bottom. addScene takes ownership; a scene already present is left alone.
  Scene* addScene(std::string_view name, std::unique_ptr<Scene> scene);
  void removeScene(Scene* scene);
  void removeAllScenes();
  Scene* findScene(std::string_view name) const;
  // The first object of that name, scenes searched bottom to top; null when none.
  SceneObject* findObject(std::string_view name) const;
  Scene* findSceneOf(std::string_view objectName) const;
  // The platform window of a native-control object; 0 when none.
  host::Hwnd findObjectWindow(std::string_view name) const;
  const std::vector<std::unique_ptr<Scene>>& scenes() const { return scenes_; }

  // Page declarations. The maps own their entries.
  PageResource* getBitmapFont(std::string_view name);
  platform::HashMap<std::string, std::unique_ptr<PageResource>>& bitmapFonts() {
    return bitmapFonts_;
  }

  // ---- Sounds of the page ----
  // The page keeps each sound file once (`sounds`, by path, owned) and names the sounds its
  // template declared (`waveSounds`, name -> one of those, borrowed).
  //
  // Declares `name` as the sound of file `src` (relative to templateFolder(), a '\' put between
  // them when missing); a file the page does not know yet is made with `load`.
  void registerSound(std::string_view name, std::string_view src, const SoundLoader& load);
  // Null when the page declares no sound of that name.
  PageSound* findSound(std::string_view name) const;
  // Plays the sound `name` once; completion goes to `window`. An unknown name shows "Can not
  // find the wave sound file: <name>." (caption "Error", stop icon). A sound that is playing
  // already is left alone. Mode 0 stops every sound of the page first; mode 1 plays only when
  // no sound of the page is playing; any other mode just plays.
  void playSound(host::Hwnd window, std::string_view name, int mode);
  // stop, pause or resume applied to every sound file of the page.
  void stopAllSounds();
  void pauseAllSounds();
  void resumeAllSounds();
  bool anySoundPlaying() const;
  // Forgets every sound (each stops playing as it goes).
  void clearSounds();
  const platform::HashMap<std::string, PageSound*>& waveSounds() const { return waveSounds_; }
  int soundFileCount() const { return sounds_.count(); }

  // ---- Bound objects ----
  // Registers `binding` (borrowed; it removes itself before it ends) and binds it at once.
  void addBinding(ObjectBinding* binding);
  void removeBinding(ObjectBinding* binding);
  // Binds every registered set again: after a template load (the factory calls it before
  // afterLoad) and after the page adds objects in code.
  void bindObjects();

  // Saves the page template. On failure shows the "Warning" box and returns false.
  bool saveTemplate();

  // Draws once without advancing time; an inactive canvas also draws a dragging direction pad
  // and shows its back buffer.
  void refresh();

  // Null is ignored; a listener is called at most once per frame however often it is added.
  void addPreFrameListener(FrameListener* l);
  void removePreFrameListener(FrameListener* l);
  void addPostFrameListener(FrameListener* l);
  void removePostFrameListener(FrameListener* l);
  void setProgressListener(LoadProgressListener* l) { progressListener_ = l; }
  LoadProgressListener* progressListener() const { return progressListener_; }

  void setDirectionPad(std::unique_ptr<DirectionPad> pad) { directionPad_ = std::move(pad); }
  void removeDirectionPad() { directionPad_.reset(); }
  DirectionPad* directionPad() const { return directionPad_.get(); }
  void setInputPad(std::unique_ptr<InputPad> pad) { inputPad_ = std::move(pad); }
  InputPad* inputPad() const { return inputPad_.get(); }

  // Key and stylus state.
  uint32_t keyState() const { return keyState_; }
  void setKeyState(uint32_t bits) { keyState_ = bits; }
  // The last released key code; reading it clears it.
  uint32_t lastKeyUp();
  uint32_t lastKey() const { return lastKey_; }
  SceneObject* pressedSprite() const { return pressedSprite_; }
  void setPressedSprite(SceneObject* object) { pressedSprite_ = object; }
  const std::string& typedKeys() const { return typedKeys_; }

  // The key-code translation table of calibrated buttons: device code (decimal text) -> the
  // code the page sees. Owned; null for none.
  void setKeyMap(std::unique_ptr<KeyMap> map) { keyMap_ = std::move(map); }
  const KeyMap* keyMap() const { return keyMap_.get(); }
  // `key` as the page sees it: through the key map when it holds the code, then turned for a
  // rotated window (see onKey). Key listeners get the device's code; a page's own key handling
  // translates with this.
  uint32_t translateKey(uint32_t key) const;
  bool typeToTap = false;
  bool singleKeyState = false;
  bool rotateKeys = false;
  bool topSceneOnly = true;
  // Which way a rotated window is turned: 1 or 2 (see onMouse and onKey).
  int rotation = 1;

  // The creators every template of this page is built with.
  const CreatorTable& creators() const { return creators_; }
  platform::Template& pageTemplate() { return template_; }
  const std::string& templateFolder() const { return templateFolder_; }
  const std::string& templateName() const { return templateName_; }
  std::vector<std::string>& objectNames() { return objectNames_; }
  FrameTimer& frameTimer() { return frameTimer_; }
  float frameTime() const { return frameTime_; }
  void* userPointer = nullptr;

  // Overridable slots, called by the frame and by the template loader.
  virtual void runFrame();
  virtual void drawScenes();
  virtual void update(float seconds) {}
  virtual void afterDraw(float seconds) {}
  virtual void onReport(float periodSeconds) {}
  virtual void afterLoad() {}
  virtual void beforeReplace() {}
  // An object whose type the factory does not know. The base ignores it.
  virtual void createCustom(platform::Template& tmpl, std::string_view key) {}
  // The GUI side of a stylus event in page coordinates; see onMouse for the order.
  virtual void onStylus(uint32_t message, uintptr_t flags, int x, int y, int phase);
  // The pressed object's reaction on stylus down or up (phase 1). Nothing in the base.
  virtual void reactToStylus(SceneObject& pressed, uint32_t message) {}
  // Chooses the pointer shape for the object under the stylus (null: none). Nothing here.
  virtual void updateCursor(SceneObject* hovered) {}
  // From the top scene down, the first visible sprite scene's hit becomes pressedSprite.
  SceneObject* findPressedSprite(int x, int y);

 protected:
  // Active: runs a frame. Inactive: a draw-only pass (frameTime -1).
  void onPaint(const host::Rect& paintArea) override;
  // Moves and releases that reach a new page before its first press belong to a tap it never
  // saw begin (the press that opened it) and are dropped; the first press arms it. Positions are
  // turned for a rotated window (rotation 1: x' = width - y, y' = x; rotation 2: x' = y,
  // y' = height - x, back-buffer size) and handed to onStylus: a move steers the dragging
  // direction pad or the cursor; a press in phase 0 finds the pressed object (or starts the
  // pad); a release in phase 0 ends the pad's drag when nothing is pressed; phase 1 (after the
  // window's mouse listener) lets the pressed object react and refreshes the page.
  void onMouse(uint32_t message, uintptr_t flags, int x, int y, int phase) override;
  // Key down and up: the key map, then rotation (rotateKeys on a rotated window), lastKeyUp,
  // the action bits of keyState (one bit per key, released one at a time; with singleKeyState
  // only the last key's), then letters and digits go to lastKey or, with typeToTap, to the typed
  // text that taps the object whose index label it equals (within 2 s between keys, at most 4).
  void onKey(uint32_t message, uint32_t key) override;
  // Losing activation suspends the display library and parks a running page (pausing its
  // sounds); regaining it resumes them, focuses the page and lets it run again if it did.
  void onParentActivate(bool active) override;
  void afterDestroy() override;
  // Pauses (true) or resumes (false) every sound of the page when the page loses or regains
  // activation.
  virtual void setSoundsPaused(bool paused);

 private:
  friend class TemplateFactory;
  void drawScene(Scene& scene, const DrawTarget& canvasTarget);
  void noteFrameStart();
  void typeKey(uint32_t message, uint32_t key);
  void tapObject(Scene& scene, SceneObject& object, uint32_t message);
  uint32_t actionBitOf(uint32_t key) const;
  void releaseAll();
  void unbindObjects();

  const CreatorTable& creators_;
  // The idle handler that was installed when this page was made.
  platform::IdleHandler* previousIdleHandler_ = nullptr;
  int maxFramesPerSecond_ = kDefaultMaxFramesPerSecond;
  bool framesStarted_ = false;
  uint32_t lastFrameTick_ = 0;
  uint32_t keyState_ = 0;
  uint32_t lastKeyUp_ = 0;
  FrameTimer frameTimer_;
  // The names are destroyed before the sounds they point at.
  platform::HashMap<std::string, std::unique_ptr<PageSound>> sounds_;
  platform::HashMap<std::string, PageSound*> waveSounds_;
  platform::HashMap<std::string, std::unique_ptr<PageResource>> bitmapFonts_;
  platform::PtrVector<FrameListener*> preFrameListeners_{32};
  platform::PtrVector<FrameListener*> postFrameListeners_{32};
  LoadProgressListener* progressListener_ = nullptr;
  bool wasActive_ = false;
  bool reportDue_ = false;
  float frameTime_ = 0.0f;
  // Set by the first press this page sees; moves and releases before it are dropped.
  bool stylusReady_ = false;
  platform::Template template_{'=', ',', ':'};
  std::vector<std::string> objectNames_;
  std::vector<std::unique_ptr<Scene>> scenes_;
  SceneObject* pressedSprite_ = nullptr;
  std::string typedKeys_;
  uint32_t lastKey_ = 0;
  uint32_t lastTypedTick_ = 0;
  // Before the input pad: a pad's own bindings remove themselves when it ends.
  std::vector<ObjectBinding*> bindings_;
  std::unique_ptr<InputPad> inputPad_;
  std::unique_ptr<DirectionPad> directionPad_;
  std::unique_ptr<KeyMap> keyMap_;
  bool active_ = false;
  std::string templateFolder_;
  std::string templateName_;
};

}  // namespace scene
