// Window: the object layer over the device's window manager.
//
// Every on-screen object that owns a platform window (the application's main window, each page,
// the wrappers of native controls) is a Window. One window procedure serves them all and turns
// platform messages into calls of the virtual operations below and of optional listeners.
//
// Ownership: a Window owns its children (addChild hands them over); listeners and overlays are
// borrowed. Destroying the object destroys its platform window and every child.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/Types.h"
#include "platform/BackBuffer.h"
#include "platform/PtrVector.h"

namespace platform {

class Window;

struct CommandListener {
  virtual ~CommandListener() = default;
  virtual void onCommand(Window& window, int notification, int id, host::Hwnd control) = 0;
};

struct MouseListener {
  virtual ~MouseListener() = default;
  virtual void onMouse(Window& window, uint32_t message, uintptr_t flags, int x, int y) = 0;
};

struct KeyListener {
  virtual ~KeyListener() = default;
  virtual void onKey(Window& window, uint32_t message, uint32_t key) = 0;
};

// Something drawn over a buffered window's back buffer just before it is shown.
struct Overlay {
  virtual ~Overlay() = default;
  virtual void draw() = 0;
  virtual void attach(Window& window, BackBuffer& backBuffer) {}
  virtual void detach() {}
};

class Window {
 public:
  static constexpr const char* kClassName = "Wexel_WINDOW";
  static constexpr uint32_t kClassStyle = 0x4003;        // global class, redraw on resize
  static constexpr uint32_t kDefaultStyle = 0x90000000;  // pop-up, visible
  static constexpr uint32_t kChildStyle = 0x40000000;
  static constexpr uintptr_t kTimerId = 65535;
  // Full-screen flags on activation: hide task bar, input-panel button and start icon; or show.
  static constexpr uint32_t kFullScreenActive = 42;
  static constexpr uint32_t kFullScreenInactive = 21;
  static constexpr int kEditGainedFocus = 0x100;
  static constexpr int kEditLostFocus = 0x200;

  // A window that is not yet on screen; create() or a parent's addChild() makes it so.
  Window(std::string_view title, host::Hwnd parentHwnd, bool buffered);
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Creates the platform window. A top-level window (no parent) without multiInstance first
  // looks for a window of the same class and title; when there is one it is brought to the front
  // and create returns false. Failures show the system's error text ("Error" box).
  bool create(int x, int y, int width, int height);
  // Removes this window from its parent and destroys the platform window.
  bool destroy();

  // Takes ownership of `child` and creates it inside this window. False (and `child` is
  // deleted) when it is a child already or its creation fails.
  bool addChild(std::unique_ptr<Window> child, int x, int y, int width, int height);
  bool addChild(Window* child, int x, int y, int width, int height);
  // Destroys and deletes `child`.
  void removeChild(Window* child);
  Window* findChildById(uint32_t id) const;
  Window* findChildByTitle(std::string_view title) const;
  const std::vector<std::unique_ptr<Window>>& children() const { return children_; }

  void show(bool visible);
  void repaint(bool erase, const host::Rect* rect = nullptr);
  void postRepaint(bool erase, const host::Rect* rect = nullptr);
  bool move(int x, int y, int width, int height);
  void setFocus();
  void enable(bool enabled);
  bool isVisible() const;
  host::Rect getWindowRect() const;
  int windowWidth() const;
  int windowHeight() const;
  // Client size; swapped while the window is rotated.
  int clientWidth() const;
  int clientHeight() const;
  void setRotated(bool rotated);
  bool rotated() const { return rotated_; }
  void setText(std::string_view text);
  std::string getText() const;
  intptr_t getLong(int index) const;
  intptr_t setLong(int index, intptr_t value);
  void setFont(host::Hfont font);
  void setTextColor(int r, int g, int b);
  void setBkColor(int r, int g, int b);

  void startTimer(uint32_t intervalMs);
  void stopTimer();
  bool timerRunning() const { return timerRunning_; }

  // Only for buffered windows: binds the overlay to the back buffer and keeps it (borrowed).
  void addOverlay(Overlay* overlay);
  void removeOverlay(Overlay* overlay);

  void setCommandListener(CommandListener* l) { commandListener_ = l; }
  void setMouseListener(MouseListener* l) { mouseListener_ = l; }
  void setKeyListener(KeyListener* l) { keyListener_ = l; }
  CommandListener* commandListener() const { return commandListener_; }
  MouseListener* mouseListener() const { return mouseListener_; }
  KeyListener* keyListener() const { return keyListener_; }

  // Wrappers of the native controls' messages.
  void editSetLimit(int characters);
  int editLineCount();
  void editSetReadOnly(bool readOnly);
  int comboAdd(std::string_view text);
  void comboDelete(int index);
  void comboClear();
  void comboSelect(int index);
  int comboSelected();
  std::string comboItemText(int index);
  int comboItemTextLength(int index);
  int comboFind(std::string_view text);
  int comboCount();
  int listAdd(std::string_view text);
  void listDelete(int index);
  void listClear();
  void listSelect(int index);
  int listSelected();
  std::string listItemText(int index);
  int listFind(std::string_view text);
  int listCount();

  host::Hwnd hwnd() const { return hwnd_; }
  host::Hwnd parentHwnd() const { return parentHwnd_; }
  Window* parent() const { return parent_; }
  host::Hdc windowDC() const { return windowDC_; }
  // The context drawing goes to: the back buffer's when buffered, else the window's.
  host::Hdc drawDC() const { return drawDC_; }
  BackBuffer* backBuffer() const { return backBuffer_.get(); }
  bool buffered() const { return buffered_; }
  const std::string& title() const { return title_; }
  const std::string& className() const { return className_; }
  uint32_t style() const { return style_; }
  uint32_t controlId() const { return controlId_; }
  uint32_t userValue() const { return userValue_; }
  void setUserValue(uint32_t value) { userValue_ = value; }
  host::ColorRef textColor() const { return textColor_; }
  host::ColorRef bkColor() const { return bkColor_; }
  host::Hbrush bkBrush() const { return bkBrush_; }

  // Sends a message to this window; 0 when it has no platform window.
  intptr_t send(uint32_t message, uintptr_t wParam, intptr_t lParam);

 protected:
  // The framework calls these in this order of slots.
  virtual void onCreate() {}
  virtual void onDestroy() {}
  virtual void onShow(bool visible, int status) {}
  virtual bool canClose() { return true; }
  virtual void onPaint(const host::Rect& paintArea) {}
  virtual void onSetFocus() {}
  virtual void onKillFocus() {}
  virtual void onActivate(bool active) {}
  virtual void onEraseBackground() {}
  virtual void onTimer() {}
  // Draws the overlays over the back buffer and shows it on the window (buffered windows).
  virtual void paintOverlays();
  virtual void onMouse(uint32_t message, uintptr_t flags, int x, int y, int phase) {}
  virtual void onKey(uint32_t message, uint32_t key) {}
  virtual void onParentActivate(bool active) {}
  virtual void afterCreate() {}
  virtual void afterDestroy() {}
  virtual void onAddChild(Window* child, int x, int y, int width, int height) {}
  virtual void onRemoveChild(Window* child) {}

  // Settings a subclass may change before create().
  std::string className_ = kClassName;
  uint32_t classStyle_ = kClassStyle;
  uint32_t classBackground_ = 0x40000006;
  uint32_t style_ = kDefaultStyle;
  uint32_t exStyle_ = 0;
  bool multiInstance_ = false;
  uint32_t controlId_ = 0;

 private:
  friend struct WindowProcedure;
  intptr_t handle(uint32_t message, uintptr_t wParam, intptr_t lParam);
  intptr_t handleEdit(uint32_t message, uintptr_t wParam, intptr_t lParam);
  void prepareDrawing();
  void releaseDrawing();
  void reportLastError();
  int addItem(uint32_t addMessage, uint32_t dataMessage, std::string_view text);
  std::string itemText(uint32_t lengthMessage, uint32_t textMessage, int index);

  host::Hwnd hwnd_ = 0;
  host::Hwnd parentHwnd_ = 0;
  host::Hdc windowDC_ = 0;
  host::Hdc drawDC_ = 0;
  std::unique_ptr<BackBuffer> backBuffer_;
  PtrVector<Overlay*> overlays_;
  bool buffered_ = false;
  bool timerRunning_ = false;
  uint32_t timerInterval_ = 0;
  std::string title_;
  CommandListener* commandListener_ = nullptr;
  MouseListener* mouseListener_ = nullptr;
  KeyListener* keyListener_ = nullptr;
  host::Hbrush bkBrush_ = 0;
  host::ColorRef textColor_ = 0;
  host::ColorRef bkColor_ = 0;
  std::vector<std::unique_ptr<Window>> children_;
  bool rotated_ = false;
  uint32_t userValue_ = 0;
  Window* parent_ = nullptr;
  bool subclassedEdit_ = false;
  struct PreviousProc;
  std::unique_ptr<PreviousProc> previousProc_;
};

}  // namespace platform
