// Message half of WindowManager: the queue, sending and dispatching, the default procedure,
// timers, input from the backend and the script, and presentation of the screen.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host/Gapi.h"
#include "host/Gdi.h"
#include "host/Host.h"
#include "host/Keys.h"
#include "host/Screen.h"
#include "host/Script.h"
#include "host/SingleInstance.h"
#include "host/System.h"
#include "host/WaveOut.h"
#include "host/WindowManager.h"
#include "host/WindowManagerInternals.h"

namespace host {

namespace {

// A headless session with nothing left that could ever produce a message ends after this long.
constexpr std::uint32_t kHeadlessIdleLimitMs = 10 * 60 * 1000;
// Showing the screen more often than this only costs time.
constexpr std::uint32_t kMinPresentIntervalMs = 8;

}  // namespace

bool WindowManager::postMessage(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) {
  if (window && !isWindow(window)) {
    setLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  queue_.push_back({window, message, wParam, lParam, tickCount(), stylus_});
  return true;
}

std::intptr_t WindowManager::sendMessage(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                                         std::intptr_t lParam) {
  WindowProc proc = procOf(window);
  if (!proc) return 0;
  return proc(window, message, wParam, lParam);
}

int WindowManager::removePosted(const std::function<bool(const Message&)>& drop) {
  auto end = std::remove_if(queue_.begin(), queue_.end(), drop);
  int removed = static_cast<int>(queue_.end() - end);
  queue_.erase(end, queue_.end());
  return removed;
}

void WindowManager::postQuitMessage(int exitCode) {
  quitPosted_ = true;
  quitCode_ = exitCode;
}

bool WindowManager::peekMessage(Message& out, bool remove) {
  pumpInput();
  if (!queue_.empty()) {
    out = queue_.front();
    if (remove) queue_.pop_front();
    idleSince_ = tickCount();
    return true;
  }
  if (quitPosted_) {
    out = Message{0, WM_QUIT, static_cast<std::uintptr_t>(quitCode_), 0, tickCount(), stylus_};
    if (remove) quitPosted_ = false;
    return true;
  }
  if (takePaint(out) || takeTimer(out, remove)) {
    idleSince_ = tickCount();
    return true;
  }
  // An empty pass costs a millisecond of virtual time, so polling loops move forward.
  if (host_.backend().virtualClock()) host_.backend().sleep(1);
  return false;
}

std::uint32_t WindowManager::nextWakeDelay() {
  std::uint32_t now = tickCount();
  std::uint32_t delay = 1000;
  for (const Timer& t : timers_) delay = std::min(delay, t.due > now ? t.due - now : 0u);
  if (ScriptPlayer* script = host_.script())
    if (auto next = script->nextTime()) delay = std::min(delay, *next > now ? *next - now : 0u);
  // A sound that finishes is a message to come.
  if (auto sound = host_.waveOut().msUntilNextCompletion()) delay = std::min(delay, *sound);
  // Another process may ask us to come to the front; look at least this often in real time.
  if (!host_.backend().virtualClock() && host_.singleInstance().serving())
    delay = std::min<std::uint32_t>(delay, 50);
  return delay;
}

bool WindowManager::getMessage(Message& out) {
  for (;;) {
    if (peekMessage(out, true)) return out.message != WM_QUIT;
    if (host_.backend().virtualClock() && timers_.empty() &&
        !(host_.script() && host_.script()->nextTime()) &&
        !host_.waveOut().msUntilNextCompletion() &&
        tickCount() - idleSince_ > kHeadlessIdleLimitMs) {
      // Nothing could ever arrive: end the session rather than spin forever.
      out = Message{0, WM_QUIT, 0, 0, tickCount(), stylus_};
      return false;
    }
    std::vector<InputEvent> events;
    host_.backend().poll(events, nextWakeDelay());
    for (const InputEvent& e : events) injectInput(e);
  }
}

bool WindowManager::messageWaiting() {
  Message m;
  return !queue_.empty() || quitPosted_ || takePaint(m) || takeTimer(m, false);
}

bool WindowManager::waitMessage(std::uint32_t timeoutMs) {
  const std::uint32_t start = tickCount();
  for (;;) {
    pumpInput();
    if (messageWaiting()) return true;
    std::uint32_t waited = tickCount() - start;
    if (waited >= timeoutMs) return false;
    // At least a millisecond a pass, so that a virtual clock always moves on.
    std::uint32_t wait = std::max<std::uint32_t>(1, std::min(timeoutMs - waited, nextWakeDelay()));
    std::vector<InputEvent> events;
    host_.backend().poll(events, wait);
    for (const InputEvent& e : events) injectInput(e);
  }
}

std::intptr_t WindowManager::dispatchMessage(const Message& message) {
  if (message.message == WM_TIMER && message.lParam) {
    // A timer with its own callback (lParam) is not used by this system; ignore it.
    return 0;
  }
  return sendMessage(message.window, message.message, message.wParam, message.lParam);
}

bool WindowManager::translateMessage(const Message& message) {
  if (message.message != WM_KEYDOWN) return false;
  std::uint32_t ch =
      characterOfKey(static_cast<std::uint32_t>(message.wParam), keyIsDown(VK_SHIFT));
  if (!ch) return false;
  queue_.push_front({message.window, WM_CHAR, ch, message.lParam, message.time, message.point});
  return true;
}

std::intptr_t WindowManager::defWindowProc(Hwnd window, std::uint32_t message,
                                           std::uintptr_t wParam, std::intptr_t lParam) {
  WindowData* w = find(window);
  if (!w) return 0;
  switch (message) {
    case WM_CLOSE:
      destroyWindow(window);
      return 0;
    case WM_ERASEBKGND: {
      auto cls = classes_.find(w->className);
      std::uint32_t background = cls == classes_.end() ? 0 : cls->second.background;
      if (!background) return 0;
      Hbrush brush = (background & kSysColorIndexFlag)
                         ? host_.gdi().sysColorBrush(static_cast<int>(background & 0xFF))
                         : background;
      Rect client = clientRect(window);
      host_.gdi().fillRect(static_cast<Hdc>(wParam), client, brush);
      return 1;
    }
    case WM_PAINT: {
      PaintStruct ps;
      beginPaint(window, ps);
      endPaint(window, ps);
      return 0;
    }
    case WM_ACTIVATE:
      if (loWord(static_cast<std::intptr_t>(wParam)) != WA_INACTIVE &&
          (focus_ == 0 || topLevelOf(focus_) != window))
        setFocus(window);
      return 0;
    case WM_SETTEXT:
      w->title = lParam ? reinterpret_cast<const char*>(lParam) : "";
      return 1;
    case WM_GETTEXTLENGTH:
      return static_cast<std::intptr_t>(w->title.size());
    case WM_GETTEXT: {
      // wParam is the buffer size in bytes, terminator included.
      if (wParam == 0 || !lParam) return 0;
      std::size_t n = std::min<std::size_t>(w->title.size(), wParam - 1);
      std::memcpy(reinterpret_cast<char*>(lParam), w->title.data(), n);
      reinterpret_cast<char*>(lParam)[n] = '\0';
      return static_cast<std::intptr_t>(n);
    }
    default:
      return 0;
  }
}

std::uintptr_t WindowManager::setTimer(Hwnd window, std::uintptr_t id, std::uint32_t intervalMs) {
  if (!isWindow(window) || id == 0) return 0;
  std::uint32_t interval = std::max<std::uint32_t>(intervalMs, 1);
  std::uint32_t due = tickCount() + interval;
  for (Timer& t : timers_)
    if (t.window == window && t.id == id) {
      t.interval = interval;
      t.due = due;
      return id;
    }
  timers_.push_back({window, id, interval, due});
  return id;
}

bool WindowManager::killTimer(Hwnd window, std::uintptr_t id) {
  auto before = timers_.size();
  std::erase_if(timers_, [&](const Timer& t) { return t.window == window && t.id == id; });
  std::erase_if(queue_, [&](const Message& m) {
    return m.window == window && m.message == WM_TIMER && m.wParam == id;
  });
  return timers_.size() != before;
}

bool WindowManager::takeTimer(Message& out, bool remove) {
  std::uint32_t now = tickCount();
  Timer* best = nullptr;
  for (Timer& t : timers_)
    if (static_cast<std::int32_t>(now - t.due) >= 0 &&
        (!best || static_cast<std::int32_t>(t.due - best->due) < 0))
      best = &t;
  if (!best) return false;
  out = Message{best->window, WM_TIMER, best->id, 0, now, stylus_};
  if (remove) best->due = now + best->interval;
  return true;
}

bool WindowManager::keyIsDown(std::uint32_t virtualKey) const {
  return std::find(keysDown_.begin(), keysDown_.end(), virtualKey) != keysDown_.end();
}

void WindowManager::injectInput(const InputEvent& event) {
  auto post = [&](Hwnd target, std::uint32_t msg, std::uintptr_t w, std::intptr_t l) {
    if (target) queue_.push_back({target, msg, w, l, tickCount(), stylus_});
  };
  switch (event.kind) {
    case InputEvent::Kind::KeyDown:
    case InputEvent::Kind::KeyUp: {
      bool down = event.kind == InputEvent::Kind::KeyDown;
      bool wasDown = keyIsDown(event.key);
      if (down && !wasDown) keysDown_.push_back(event.key);
      if (!down) std::erase(keysDown_, event.key);
      Hwnd target = focus_ ? focus_ : active_;
      if (target && !isEnabled(target)) target = 0;
      // Key lParam: repeat count 1, bit 30 = key was down before, bit 31 = release.
      std::intptr_t lParam = 1 | (wasDown ? (1 << 30) : 0) | (down ? 0 : (1u << 31));
      post(target, down ? WM_KEYDOWN : WM_KEYUP, event.key, lParam);
      break;
    }
    case InputEvent::Kind::StylusDown:
    case InputEvent::Kind::StylusMove:
    case InputEvent::Kind::StylusUp: {
      stylus_ = {event.x, event.y};
      Hwnd target = capture_ ? capture_ : windowFromPoint(stylus_);
      std::uint32_t msg = WM_MOUSEMOVE;
      std::uintptr_t flags = MK_LBUTTON;
      if (event.kind == InputEvent::Kind::StylusDown) {
        msg = WM_LBUTTONDOWN;
        stylusDown_ = true;
        capture_ = target;
      } else if (event.kind == InputEvent::Kind::StylusUp) {
        msg = WM_LBUTTONUP;
        flags = 0;
        stylusDown_ = false;
        capture_ = 0;
      } else if (!stylusDown_) {
        // A stylus that does not touch the screen is not seen by the device.
        break;
      }
      Point client = screenToClient(target, stylus_);
      post(target, msg, flags, makeLParam(client.x, client.y));
      break;
    }
    case InputEvent::Kind::Minimize:
    case InputEvent::Kind::Restore:
      for (Hwnd top : std::vector<Hwnd>(topOrder_))
        if (isVisible(top) || isMinimized(top))
          showWindow(top, event.kind == InputEvent::Kind::Minimize ? SW_MINIMIZE : SW_RESTORE);
      break;
    case InputEvent::Kind::Close:
      for (Hwnd top : topOrder_) post(top, WM_CLOSE, 0, 0);
      if (topOrder_.empty()) postQuitMessage(0);
      break;
  }
}

void WindowManager::runScript() {
  ScriptPlayer* script = host_.script();
  if (!script) return;
  for (const ScriptAction& action : script->takeDue(tickCount())) {
    switch (action.kind) {
      case ScriptAction::Kind::Input: {
        // Script positions are device pixels, as a stylus touches them; a program that sees a
        // hi-res device at half size gets them halved, as from the desktop's mouse.
        InputEvent event = action.input;
        event.x /= host_.screen().scale();
        event.y /= host_.screen().scale();
        injectInput(event);
        break;
      }
      case ScriptAction::Kind::Screenshot:
        errno = 0;
        if (!host_.screen().writePng(action.path)) {
          std::fprintf(stderr, "skirrow: script screenshot %s could not be written%s%s%s\n",
                       action.path.c_str(), errno ? " (" : "", errno ? std::strerror(errno) : "",
                       errno ? ")" : "");
          ++host_.records().failedScreenshots;
        }
        break;
      case ScriptAction::Kind::Quit: {
        InputEvent close;
        close.kind = InputEvent::Kind::Close;
        injectInput(close);
        break;
      }
    }
  }
}

void WindowManager::serveSingleInstance() {
  host_.singleInstance().serve([this](Hwnd window) {
    if (isWindow(window)) setForegroundWindow(window);
  });
}

void WindowManager::pumpInput() {
  std::vector<InputEvent> events;
  host_.backend().poll(events, 0);
  for (const InputEvent& e : events) injectInput(e);
  runScript();
  serveSingleInstance();
  host_.waveOut().service();
  Screen& screen = host_.screen();
  if (host_.gapi().showsContinuously()) screen.markDirty({0, 0, screen.width(), screen.height()});
  // Showing the screen more often than every few milliseconds only costs time.
  std::uint32_t now = tickCount();
  const bool virtualClock = host_.backend().virtualClock();
  if (!screen.dirty() || !(virtualClock || now - lastPresent_ >= kMinPresentIntervalMs)) return;
  screen.compose();
  // A desktop shows a frame only when it differs from the one on show (a still page draws the
  // same picture at every frame); headless showing costs nothing, so it needs no comparison.
  if (!virtualClock && !screen.differsFromShown()) {
    screen.clearDirty();
    return;
  }
  if (host_.backend().present(screen)) {
    screen.clearDirty();
    if (!virtualClock) screen.rememberShown();
    lastPresent_ = now;
  }
}

std::uint32_t WindowManager::tickCount() {
  return host_.backend().now();
}

void WindowManager::sleep(std::uint32_t ms) {
  host_.backend().sleep(ms);
}

}  // namespace host
