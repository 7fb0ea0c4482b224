// Windows and the message queue of the device: a window tree with classes, styles, rectangles,
// visibility, focus and activation, one message queue, window procedures, timers, invalidation
// and painting. Message numbers and parameters are the platform's (Messages.h).
//
// Geometry: windows have no frame or caption, so the client area is the whole window. A window
// rectangle is relative to the parent's client area (screen pixels for top-level windows).
// As on the device, every window's drawing is clipped to its ancestors, its visible children
// and the visible siblings above it (later created children lie above earlier ones; the active
// top-level window lies above the other top-level windows).
//
// Queue order: posted messages first (stylus and keys are posted as they arrive), then the quit
// message, then WM_PAINT for invalid visible windows (parents before children), then WM_TIMER
// for the timer that is due first. A timer is due again one interval after its message was
// taken, so a slow program gets one message per timer, never a backlog. Timers fire whether
// the window is shown, hidden or minimised; minimising and restoring a top-level window sends
// WM_SIZE with SIZE_MINIMIZED / SIZE_RESTORED so its owner can stop and restart its timer.
//
// Time: on the headless backend the clock only moves when the program sleeps, waits in
// getMessage, or finds the queue empty in peekMessage (each such pass costs 1 ms), so a run is
// the same every time. Busy-waiting on tickCount alone never ends there.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/Backend.h"
#include "host/Messages.h"
#include "host/Types.h"

namespace host {

class Host;

using WindowProc = std::function<std::intptr_t(Hwnd, std::uint32_t, std::uintptr_t, std::intptr_t)>;

struct WindowClass {
  std::string name;
  std::uint32_t style = 0;
  WindowProc proc;
  // Background: 0 none, kSysColorIndexFlag | index for a system colour, else a brush handle.
  std::uint32_t background = 0;
};

// lParam of WM_CREATE points to one of these (valid during the call only).
struct CreateStruct {
  void* createParam = nullptr;
  Hwnd parent = 0;
  std::uint32_t id = 0;
  int x = 0, y = 0, width = 0, height = 0;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  std::string title;
  std::string className;
};

struct PaintStruct {
  Hdc dc = 0;
  bool erase = false;
  Rect paint;  // client coordinates
};

class WindowManager {
 public:
  explicit WindowManager(Host& host);
  ~WindowManager();
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  // Classes. registerClass returns false when a class of that name exists or has no procedure.
  bool registerClass(const WindowClass& windowClass);
  bool isClassRegistered(std::string_view name) const;
  bool unregisterClass(std::string_view name);

  // Creates a window of a registered class; sends WM_CREATE (a result of -1 refuses creation),
  // WM_SIZE, WM_MOVE, and when WS_VISIBLE is set WM_SHOWWINDOW; a visible top-level window is
  // then activated (WM_ACTIVATE, WM_SETFOCUS). `id` is used only for WS_CHILD windows.
  // Returns the handle, or 0 (lastError() tells why).
  Hwnd createWindow(std::uint32_t exStyle, std::string_view className, std::string_view title,
                    std::uint32_t style, int x, int y, int width, int height, Hwnd parent,
                    std::uint32_t id, void* createParam);
  // Sends WM_DESTROY to the window, then to its descendants (parents first); then the handles
  // die, with their timers and queued messages. False for a dead handle.
  bool destroyWindow(Hwnd window);
  bool isWindow(Hwnd window) const;

  // A top-level window with this class and title: one of this process, else a handle standing
  // for the window of another running process (see SingleInstance.h); 0 when there is none.
  Hwnd findWindow(std::string_view className, std::string_view title);
  bool isRemote(Hwnd window) const;

  Hwnd parentOf(Hwnd window) const;
  std::vector<Hwnd> childrenOf(Hwnd window) const;  // creation order (bottom first)
  std::vector<Hwnd> topLevelWindows() const;        // creation order
  std::string className(Hwnd window) const;
  std::string text(Hwnd window) const;
  bool setText(Hwnd window, std::string_view text);
  std::intptr_t getWindowLong(Hwnd window, int index) const;
  // Returns the previous value (0 for a dead handle).
  std::intptr_t setWindowLong(Hwnd window, int index, std::intptr_t value);
  // Replaces the window's procedure and returns the previous one (to call on with callProc).
  WindowProc setWindowProc(Hwnd window, WindowProc proc);
  WindowProc windowProc(Hwnd window) const;

  Rect windowRect(Hwnd window) const;  // screen coordinates
  Rect clientRect(Hwnd window) const;  // (0, 0, width, height)
  Point clientToScreen(Hwnd window, Point p) const;
  Point screenToClient(Hwnd window, Point p) const;
  // Moves and resizes (parent client coordinates); sends WM_MOVE / WM_SIZE when they change;
  // with `repaint` invalidates the window. False for a dead handle.
  bool moveWindow(Hwnd window, int x, int y, int width, int height, bool repaint);
  // SW_HIDE, SW_SHOW / SW_SHOWNORMAL, SW_MINIMIZE, SW_RESTORE. Returns whether the window was
  // visible before.
  bool showWindow(Hwnd window, int command);
  // The window and all its ancestors are visible and not minimised.
  bool isVisible(Hwnd window) const;
  bool isMinimized(Hwnd window) const;
  // Returns whether the window was disabled before. Disabled windows get no stylus or keys.
  bool enableWindow(Hwnd window, bool enable);
  bool isEnabled(Hwnd window) const;

  // Focus and activation. setFocus activates the top-level ancestor first, then sends
  // WM_KILLFOCUS to the old focus and WM_SETFOCUS to the new; returns the old focus.
  Hwnd setFocus(Hwnd window);
  Hwnd focus() const { return focus_; }
  Hwnd activeWindow() const { return active_; }
  // Activates a top-level window of this process (WM_ACTIVATE inactive to the old one, active
  // to the new; the default handling gives it the focus) and raises the desktop window. For a
  // remote handle, asks the other process to come to the front: true when it confirmed.
  bool setForegroundWindow(Hwnd window);
  // Deepest visible, enabled window under a screen point; 0 when none.
  Hwnd windowFromPoint(Point screen) const;

  // Messages.
  bool postMessage(Hwnd window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  std::intptr_t sendMessage(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam);
  void postQuitMessage(int exitCode);
  // Drops the posted messages `drop` chooses (a closed device's completions); returns how many.
  int removePosted(const std::function<bool(const Message&)>& drop);
  // Takes (remove) or looks at the next message without waiting. False when there is none.
  bool peekMessage(Message& out, bool remove);
  // Waits for the next message; false when it is WM_QUIT (its wParam is the exit code).
  bool getMessage(Message& out);
  // Waits until a message is there to take (input, a posted or quit message, a paint, a due
  // timer) or `timeoutMs` have passed, whichever comes first; takes nothing. True when a
  // message is there. On a virtual clock the wait moves the clock.
  bool waitMessage(std::uint32_t timeoutMs);
  // Calls the window's procedure. Returns its result (0 for a dead handle).
  std::intptr_t dispatchMessage(const Message& message);
  // Posts WM_CHAR for a WM_KEYDOWN of a key that types a character. True when it did.
  bool translateMessage(const Message& message);
  // The platform's default handling: WM_CLOSE destroys, WM_ERASEBKGND fills the class
  // background, WM_PAINT validates, WM_ACTIVATE (active) focuses, WM_SETTEXT (lParam: UTF-8
  // zero-terminated), WM_GETTEXT (wParam: buffer bytes, lParam: buffer; returns the length)
  // and WM_GETTEXTLENGTH use the window text. Everything else returns 0.
  std::intptr_t defWindowProc(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam);

  // Timers: (window, id) pairs; setting an existing pair restarts it. Returns id, 0 on failure.
  std::uintptr_t setTimer(Hwnd window, std::uintptr_t id, std::uint32_t intervalMs);
  bool killTimer(Hwnd window, std::uintptr_t id);

  // Painting. A null rectangle means the whole client area.
  bool invalidateRect(Hwnd window, const Rect* rect, bool erase);
  bool validateRect(Hwnd window, const Rect* rect);
  bool isInvalid(Hwnd window) const;
  // Sends WM_PAINT at once when the window has an invalid area.
  bool updateWindow(Hwnd window);
  // Starts painting: WM_ERASEBKGND when an erase is pending, validates, and returns a window
  // DC that the caller gives back with endPaint.
  Hdc beginPaint(Hwnd window, PaintStruct& paint);
  void endPaint(Hwnd window, const PaintStruct& paint);
  // A DC that draws into the window's part of the device screen (window 0: the whole screen);
  // give it back with releaseDC.
  Hdc getDC(Hwnd window);
  bool releaseDC(Hwnd window, Hdc dc);
  // Screen rectangles a window may draw into (its rectangle minus what covers it). Empty for a
  // hidden or dead window.
  std::vector<Rect> visibleRegion(Hwnd window) const;
  // The same into `region`, with `scratch` as working space: with both kept between calls,
  // as drawing does every frame, no memory is allocated once they have grown.
  void visibleRegion(Hwnd window, std::vector<Rect>& region, std::vector<Rect>& scratch) const;

  // Input from the backend or a script, turned into posted stylus and key messages.
  void injectInput(const InputEvent& event);
  // Reads backend input and due script actions without waiting.
  void pumpInput();
  Point stylusPosition() const { return stylus_; }
  bool keyIsDown(std::uint32_t virtualKey) const;

  // Clock of the backend.
  std::uint32_t tickCount();
  void sleep(std::uint32_t ms);

 private:
  struct WindowData;
  struct Timer {
    Hwnd window;
    std::uintptr_t id;
    std::uint32_t interval;
    std::uint32_t due;
  };

  WindowData* find(Hwnd window) const;
  WindowProc procOf(Hwnd window) const;
  void activate(Hwnd window);
  void invalidateTree(WindowData& w, const Rect& screenArea, bool erase);
  bool takePaint(Message& out);
  // Something peekMessage would hand out now (without taking it).
  bool messageWaiting();
  bool takeTimer(Message& out, bool remove);
  void collectDestroyed(Hwnd window, std::vector<Hwnd>& order) const;
  Hwnd topLevelOf(Hwnd window) const;
  // True when `window` is `ancestor` or lies inside it.
  bool isWithin(Hwnd window, Hwnd ancestor) const;
  void raiseTopLevel(Hwnd window);
  void runScript();
  std::uint32_t nextWakeDelay();
  void serveSingleInstance();

  Host& host_;
  // Class names compare without regard to case, as on the platform ("Edit" is "EDIT").
  struct NoCase {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  std::map<std::string, WindowClass, NoCase> classes_;
  std::map<Hwnd, std::unique_ptr<WindowData>> windows_;
  std::vector<Hwnd> topOrder_;  // top-level windows, bottom first
  std::map<Hwnd, std::pair<std::string, std::string>> remote_;
  std::deque<Message> queue_;
  std::vector<Timer> timers_;
  Hwnd nextHandle_ = 1;
  Hwnd focus_ = 0;
  Hwnd active_ = 0;
  Hwnd capture_ = 0;
  bool quitPosted_ = false;
  int quitCode_ = 0;
  Point stylus_;
  bool stylusDown_ = false;
  std::vector<std::uint32_t> keysDown_;
  std::uint32_t idleSince_ = 0;
  std::uint32_t lastPresent_ = 0;
};

}  // namespace host
