#include "host/WindowManager.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "host/Gapi.h"
#include "host/Gdi.h"
#include "host/Host.h"
#include "host/Keys.h"
#include "host/Screen.h"
#include "host/Script.h"
#include "host/SingleInstance.h"
#include "host/System.h"
#include "host/WindowManagerInternals.h"

namespace host {

namespace {

// Handles of windows in other processes live in their own range so they never meet local ones.
constexpr Hwnd kRemoteBase = 0x40000000;

// `region` without `cut`, into `out` (cleared first; its capacity is kept).
void subtract(const std::vector<Rect>& region, const Rect& cut, std::vector<Rect>& out) {
  out.clear();
  for (const Rect& r : region) {
    Rect i = intersect(r, cut);
    if (i.empty()) {
      out.push_back(r);
      continue;
    }
    if (r.top < i.top) out.push_back({r.left, r.top, r.right, i.top});
    if (i.bottom < r.bottom) out.push_back({r.left, i.bottom, r.right, r.bottom});
    if (r.left < i.left) out.push_back({r.left, i.top, i.left, i.bottom});
    if (i.right < r.right) out.push_back({i.right, i.top, r.right, i.bottom});
  }
}

}  // namespace

bool WindowManager::NoCase::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) <
           std::tolower(static_cast<unsigned char>(y));
  });
}

WindowManager::WindowManager(Host& host) : host_(host) {
  idleSince_ = tickCount();
}

WindowManager::~WindowManager() {
  for (Hwnd w : topLevelWindows()) host_.singleInstance().release(w);
}

WindowManager::WindowData* WindowManager::find(Hwnd window) const {
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : it->second.get();
}

bool WindowManager::registerClass(const WindowClass& windowClass) {
  if (!windowClass.proc || windowClass.name.empty()) {
    setLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if (classes_.count(windowClass.name)) {
    setLastError(ERROR_CLASS_ALREADY_EXISTS);
    return false;
  }
  classes_[windowClass.name] = windowClass;
  return true;
}

bool WindowManager::isClassRegistered(std::string_view name) const {
  return classes_.find(name) != classes_.end();
}

bool WindowManager::unregisterClass(std::string_view name) {
  auto it = classes_.find(name);
  if (it == classes_.end()) return false;
  classes_.erase(it);
  return true;
}

Hwnd WindowManager::createWindow(std::uint32_t exStyle, std::string_view className,
                                 std::string_view title, std::uint32_t style, int x, int y,
                                 int width, int height, Hwnd parent, std::uint32_t id,
                                 void* createParam) {
  auto cls = classes_.find(className);
  if (cls == classes_.end()) {
    setLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return 0;
  }
  WindowData* parentData = parent ? find(parent) : nullptr;
  if (parent && !parentData) {
    setLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  auto data = std::make_unique<WindowData>();
  Hwnd handle = nextHandle_++;
  data->handle = handle;
  data->className = cls->second.name;
  data->title = std::string(title);
  data->style = style & ~WS_VISIBLE;
  data->exStyle = exStyle;
  data->id = (style & WS_CHILD) ? id : 0;
  data->parent = parent;
  data->rect = {x, y, x + std::max(0, width), y + std::max(0, height)};
  data->enabled = !(style & WS_DISABLED);
  data->proc = cls->second.proc;
  windows_[handle] = std::move(data);
  if (parentData)
    parentData->children.push_back(handle);
  else
    topOrder_.push_back(handle);

  CreateStruct cs{createParam,        parent,          id, x, y, width, height, style, exStyle,
                  std::string(title), cls->second.name};
  if (sendMessage(handle, WM_CREATE, 0, reinterpret_cast<std::intptr_t>(&cs)) == -1) {
    destroyWindow(handle);
    setLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!isWindow(handle)) return 0;
  if (!parent) host_.singleInstance().claim(handle, cls->second.name, title);
  sendMessage(handle, WM_SIZE, SIZE_RESTORED, makeLParam(width, height));
  sendMessage(handle, WM_MOVE, 0, makeLParam(x, y));
  if (style & WS_VISIBLE) showWindow(handle, SW_SHOW);
  return isWindow(handle) ? handle : 0;
}

void WindowManager::collectDestroyed(Hwnd window, std::vector<Hwnd>& order) const {
  order.push_back(window);
  if (WindowData* w = find(window))
    for (Hwnd child : w->children) collectDestroyed(child, order);
}

bool WindowManager::destroyWindow(Hwnd window) {
  WindowData* w = find(window);
  if (!w || w->destroying) {
    setLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  std::vector<Hwnd> doomed;
  collectDestroyed(window, doomed);
  for (Hwnd h : doomed) find(h)->destroying = true;
  auto isDoomed = [&](Hwnd h) {
    return std::find(doomed.begin(), doomed.end(), h) != doomed.end();
  };
  if (focus_ && isDoomed(focus_)) {
    Hwnd old = focus_;
    focus_ = 0;
    sendMessage(old, WM_KILLFOCUS, 0, 0);
  }
  if (active_ && isDoomed(active_)) {
    Hwnd old = active_;
    active_ = 0;
    sendMessage(old, WM_ACTIVATE, WA_INACTIVE, 0);
  }
  if (capture_ && isDoomed(capture_)) capture_ = 0;
  Rect area = windowRect(window);
  bool wasVisible = isVisible(window);
  for (Hwnd h : doomed) sendMessage(h, WM_DESTROY, 0, 0);

  Hwnd parent = find(window)->parent;
  if (WindowData* p = find(parent)) std::erase(p->children, window);
  std::erase(topOrder_, window);
  for (Hwnd h : doomed) {
    host_.singleInstance().release(h);
    windows_.erase(h);
  }
  std::erase_if(timers_, [&](const Timer& t) { return isDoomed(t.window); });
  std::erase_if(queue_, [&](const Message& m) { return isDoomed(m.window); });
  // What lay beneath shows again.
  if (wasVisible) {
    if (WindowData* p = find(parent))
      invalidateTree(*p, area, true);
    else
      for (Hwnd top : topOrder_) invalidateTree(*find(top), area, true);
  }
  return true;
}

bool WindowManager::isWindow(Hwnd window) const {
  return find(window) != nullptr;
}

Hwnd WindowManager::findWindow(std::string_view className, std::string_view title) {
  for (Hwnd h : topOrder_) {
    WindowData* w = find(h);
    if (w->className == className && w->title == title && !w->destroying) return h;
  }
  if (!host_.singleInstance().heldElsewhere(className, title)) return 0;
  for (auto& [handle, key] : remote_)
    if (key.first == className && key.second == title) return handle;
  Hwnd handle = kRemoteBase + static_cast<Hwnd>(remote_.size()) + 1;
  remote_[handle] = {std::string(className), std::string(title)};
  return handle;
}

bool WindowManager::isRemote(Hwnd window) const {
  return remote_.count(window) != 0;
}

Hwnd WindowManager::parentOf(Hwnd window) const {
  WindowData* w = find(window);
  return w ? w->parent : 0;
}

std::vector<Hwnd> WindowManager::childrenOf(Hwnd window) const {
  WindowData* w = find(window);
  return w ? w->children : std::vector<Hwnd>{};
}

std::vector<Hwnd> WindowManager::topLevelWindows() const {
  std::vector<Hwnd> out;
  for (const auto& [handle, w] : windows_)
    if (!w->parent) out.push_back(handle);
  return out;
}

std::string WindowManager::className(Hwnd window) const {
  WindowData* w = find(window);
  return w ? w->className : std::string();
}

std::string WindowManager::text(Hwnd window) const {
  WindowData* w = find(window);
  return w ? w->title : std::string();
}

bool WindowManager::setText(Hwnd window, std::string_view text) {
  std::string copy(text);
  return isWindow(window) &&
         sendMessage(window, WM_SETTEXT, 0, reinterpret_cast<std::intptr_t>(copy.c_str())) != 0;
}

std::intptr_t WindowManager::getWindowLong(Hwnd window, int index) const {
  WindowData* w = find(window);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE:
      return w->style | (w->visible ? WS_VISIBLE : 0) | (w->enabled ? 0 : WS_DISABLED);
    case GWL_EXSTYLE:
      return w->exStyle;
    case GWL_ID:
      return w->id;
    case GWL_USERDATA:
      return w->userData;
    default:
      return 0;
  }
}

std::intptr_t WindowManager::setWindowLong(Hwnd window, int index, std::intptr_t value) {
  WindowData* w = find(window);
  if (!w) return 0;
  std::intptr_t old = getWindowLong(window, index);
  switch (index) {
    case GWL_STYLE:
      w->style = static_cast<std::uint32_t>(value) & ~(WS_VISIBLE | WS_DISABLED);
      break;
    case GWL_EXSTYLE:
      w->exStyle = static_cast<std::uint32_t>(value);
      break;
    case GWL_ID:
      w->id = static_cast<std::uint32_t>(value);
      break;
    case GWL_USERDATA:
      w->userData = value;
      break;
    default:
      return 0;
  }
  return old;
}

WindowProc WindowManager::setWindowProc(Hwnd window, WindowProc proc) {
  WindowData* w = find(window);
  if (!w || !proc) return {};
  std::swap(w->proc, proc);
  return proc;
}

WindowProc WindowManager::windowProc(Hwnd window) const {
  return procOf(window);
}

WindowProc WindowManager::procOf(Hwnd window) const {
  WindowData* w = find(window);
  return w ? w->proc : WindowProc{};
}

Rect WindowManager::windowRect(Hwnd window) const {
  WindowData* w = find(window);
  if (!w) return {};
  Rect r = w->rect;
  for (WindowData* p = find(w->parent); p; p = find(p->parent))
    r = offsetRect(r, p->rect.left, p->rect.top);
  return r;
}

Rect WindowManager::clientRect(Hwnd window) const {
  WindowData* w = find(window);
  return w ? Rect{0, 0, w->rect.width(), w->rect.height()} : Rect{};
}

Point WindowManager::clientToScreen(Hwnd window, Point p) const {
  Rect r = windowRect(window);
  return {p.x + r.left, p.y + r.top};
}

Point WindowManager::screenToClient(Hwnd window, Point p) const {
  Rect r = windowRect(window);
  return {p.x - r.left, p.y - r.top};
}

bool WindowManager::moveWindow(Hwnd window, int x, int y, int width, int height, bool repaint) {
  WindowData* w = find(window);
  if (!w) return false;
  Rect before = windowRect(window);
  Rect old = w->rect;
  w->rect = {x, y, x + std::max(0, width), y + std::max(0, height)};
  if (old.left != x || old.top != y) sendMessage(window, WM_MOVE, 0, makeLParam(x, y));
  if (old.width() != width || old.height() != height)
    sendMessage(window, WM_SIZE, SIZE_RESTORED, makeLParam(width, height));
  if (repaint && isVisible(window)) {
    invalidateRect(window, nullptr, true);
    // The uncovered area of the parent needs painting too.
    if (WindowData* p = find(w->parent)) invalidateTree(*p, before, true);
  }
  return true;
}

bool WindowManager::showWindow(Hwnd window, int command) {
  WindowData* w = find(window);
  if (!w) return false;
  bool wasVisible = w->visible;
  switch (command) {
    case SW_HIDE:
      if (!w->visible) break;
      sendMessage(window, WM_SHOWWINDOW, 0, 0);
      if (!isWindow(window)) break;
      {
        Rect area = windowRect(window);
        w->visible = false;
        if (WindowData* p = find(w->parent)) invalidateTree(*p, area, true);
      }
      if (focus_ && isWithin(focus_, window)) {
        Hwnd old = focus_;
        focus_ = 0;
        sendMessage(old, WM_KILLFOCUS, 0, 0);
      }
      if (active_ == window) {
        active_ = 0;
        sendMessage(window, WM_ACTIVATE, WA_INACTIVE, 0);
      }
      break;
    case SW_MINIMIZE:
      if (w->minimized) break;
      w->minimized = true;
      sendMessage(window, WM_SIZE, SIZE_MINIMIZED, 0);
      if (active_ == window) {
        active_ = 0;
        sendMessage(window, WM_ACTIVATE, WA_INACTIVE, 0);
      }
      break;
    default: {  // show, show normal, restore
      bool restoring = w->minimized;
      w->minimized = false;
      if (!w->visible) {
        w->visible = true;
        sendMessage(window, WM_SHOWWINDOW, 1, 0);
      }
      if (!isWindow(window)) break;
      if (restoring)
        sendMessage(window, WM_SIZE, SIZE_RESTORED, makeLParam(w->rect.width(), w->rect.height()));
      invalidateRect(window, nullptr, true);
      if (!w->parent) activate(window);
      break;
    }
  }
  return wasVisible;
}

bool WindowManager::isVisible(Hwnd window) const {
  WindowData* w = find(window);
  if (!w) return false;
  for (; w; w = find(w->parent))
    if (!w->visible || w->minimized) return false;
  return true;
}

bool WindowManager::isMinimized(Hwnd window) const {
  WindowData* w = find(window);
  return w && w->minimized;
}

bool WindowManager::enableWindow(Hwnd window, bool enable) {
  WindowData* w = find(window);
  if (!w) return false;
  bool wasDisabled = !w->enabled;
  if (w->enabled != enable) {
    w->enabled = enable;
    sendMessage(window, WM_ENABLE, enable ? 1 : 0, 0);
  }
  return wasDisabled;
}

bool WindowManager::isEnabled(Hwnd window) const {
  WindowData* w = find(window);
  return w && w->enabled;
}

bool WindowManager::isWithin(Hwnd window, Hwnd ancestor) const {
  for (WindowData* w = find(window); w; w = find(w->parent))
    if (w->handle == ancestor) return true;
  return false;
}

Hwnd WindowManager::topLevelOf(Hwnd window) const {
  WindowData* w = find(window);
  while (w && w->parent) w = find(w->parent);
  return w ? w->handle : 0;
}

void WindowManager::raiseTopLevel(Hwnd window) {
  auto it = std::find(topOrder_.begin(), topOrder_.end(), window);
  if (it == topOrder_.end() || it + 1 == topOrder_.end()) return;
  topOrder_.erase(it);
  topOrder_.push_back(window);
  invalidateRect(window, nullptr, true);
}

void WindowManager::activate(Hwnd window) {
  if (active_ == window || !isWindow(window)) return;
  raiseTopLevel(window);
  Hwnd old = active_;
  active_ = window;
  if (isWindow(old)) sendMessage(old, WM_ACTIVATE, WA_INACTIVE, static_cast<std::intptr_t>(window));
  if (active_ == window)
    sendMessage(window, WM_ACTIVATE, WA_ACTIVE, static_cast<std::intptr_t>(old));
}

Hwnd WindowManager::setFocus(Hwnd window) {
  Hwnd old = focus_;
  if (window && !isWindow(window)) return 0;
  if (window) {
    Hwnd top = topLevelOf(window);
    if (top != active_) activate(top);
  }
  if (focus_ == window) return old;
  old = focus_;
  focus_ = window;
  if (isWindow(old)) sendMessage(old, WM_KILLFOCUS, static_cast<std::uintptr_t>(window), 0);
  if (window && focus_ == window)
    sendMessage(window, WM_SETFOCUS, static_cast<std::uintptr_t>(old), 0);
  return old;
}

bool WindowManager::setForegroundWindow(Hwnd window) {
  if (auto it = remote_.find(window); it != remote_.end())
    return host_.singleInstance().askToFront(it->second.first, it->second.second);
  Hwnd top = topLevelOf(window);
  if (!top) return false;
  WindowData* w = find(top);
  if (w->minimized) showWindow(top, SW_RESTORE);
  activate(top);
  host_.backend().raise();
  return true;
}

Hwnd WindowManager::windowFromPoint(Point screen) const {
  // Top-most first: the last top-level window, and within a window its last child.
  std::function<Hwnd(Hwnd)> search = [&](Hwnd h) -> Hwnd {
    WindowData* w = find(h);
    if (!w->visible || w->minimized || !windowRect(h).contains(screen.x, screen.y)) return 0;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it)
      if (Hwnd hit = search(*it)) return hit;
    return w->enabled ? h : 0;
  };
  for (auto it = topOrder_.rbegin(); it != topOrder_.rend(); ++it)
    if (Hwnd hit = search(*it)) return hit;
  return 0;
}

void WindowManager::invalidateTree(WindowData& w, const Rect& screenArea, bool erase) {
  if (!w.visible || w.minimized) return;
  Rect screen = windowRect(w.handle);
  Rect hit = intersect(screen, screenArea);
  if (hit.empty()) return;
  w.invalid = unite(w.invalid, offsetRect(hit, -screen.left, -screen.top));
  w.erase = w.erase || erase;
  for (Hwnd child : w.children) invalidateTree(*find(child), hit, erase);
}

bool WindowManager::invalidateRect(Hwnd window, const Rect* rect, bool erase) {
  WindowData* w = find(window);
  if (!w) return false;
  Rect client = rect ? intersect(*rect, clientRect(window)) : clientRect(window);
  Rect screen = windowRect(window);
  invalidateTree(*w, offsetRect(client, screen.left, screen.top), erase);
  return true;
}

bool WindowManager::validateRect(Hwnd window, const Rect* rect) {
  WindowData* w = find(window);
  if (!w) return false;
  // Validation of part of the area keeps the bounding box; only a full cover clears it.
  if (!rect || intersect(*rect, w->invalid) == w->invalid) {
    w->invalid = {};
    w->erase = false;
  }
  return true;
}

bool WindowManager::isInvalid(Hwnd window) const {
  WindowData* w = find(window);
  return w && !w->invalid.empty();
}

bool WindowManager::takePaint(Message& out) {
  std::function<Hwnd(Hwnd)> search = [&](Hwnd h) -> Hwnd {
    WindowData* w = find(h);
    if (!w->visible || w->minimized) return 0;
    if (!w->invalid.empty()) return h;
    for (Hwnd child : w->children)
      if (Hwnd hit = search(child)) return hit;
    return 0;
  };
  for (Hwnd top : topOrder_)
    if (Hwnd h = search(top)) {
      out = Message{h, WM_PAINT, 0, 0, tickCount(), stylus_};
      return true;
    }
  return false;
}

bool WindowManager::updateWindow(Hwnd window) {
  if (!isVisible(window) || !isInvalid(window)) return isWindow(window);
  sendMessage(window, WM_PAINT, 0, 0);
  return true;
}

Hdc WindowManager::beginPaint(Hwnd window, PaintStruct& paint) {
  WindowData* w = find(window);
  paint = PaintStruct{};
  if (!w) return 0;
  paint.dc = getDC(window);
  paint.paint = w->invalid;
  paint.erase = w->erase;
  bool erase = w->erase;
  w->invalid = {};
  w->erase = false;
  if (erase) paint.erase = sendMessage(window, WM_ERASEBKGND, paint.dc, 0) == 0;
  return paint.dc;
}

void WindowManager::endPaint(Hwnd window, const PaintStruct& paint) {
  releaseDC(window, paint.dc);
}

Hdc WindowManager::getDC(Hwnd window) {
  if (window == 0) return host_.gdi().createScreenDc();
  if (!isWindow(window)) return 0;
  return host_.gdi().createWindowDc(window);
}

bool WindowManager::releaseDC(Hwnd window, Hdc dc) {
  return host_.gdi().deleteDc(dc);
}

std::vector<Rect> WindowManager::visibleRegion(Hwnd window) const {
  std::vector<Rect> region, scratch;
  visibleRegion(window, region, scratch);
  return region;
}

void WindowManager::visibleRegion(Hwnd window, std::vector<Rect>& region,
                                  std::vector<Rect>& scratch) const {
  region.clear();
  if (!isVisible(window)) return;
  Rect screenRect{0, 0, host_.screen().width(), host_.screen().height()};
  Rect own = windowRect(window);
  // Clip to every ancestor.
  for (Hwnd p = parentOf(window); p; p = parentOf(p)) own = intersect(own, windowRect(p));
  own = intersect(own, screenRect);
  if (own.empty()) return;
  region.push_back(own);
  auto cutOut = [&](Hwnd covering) {
    subtract(region, windowRect(covering), scratch);
    region.swap(scratch);
  };
  WindowData* w = find(window);
  for (Hwnd child : w->children)
    if (find(child)->visible && !find(child)->minimized) cutOut(child);
  // Siblings above this window and above each ancestor cover it.
  for (Hwnd h = window; h; h = parentOf(h)) {
    WindowData* hw = find(h);
    const std::vector<Hwnd>& siblings = hw->parent ? find(hw->parent)->children : topOrder_;
    auto it = std::find(siblings.begin(), siblings.end(), h);
    for (++it; it != siblings.end(); ++it)
      if (find(*it)->visible && !find(*it)->minimized) cutOut(*it);
  }
}

}  // namespace host
