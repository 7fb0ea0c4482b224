#include "platform/Window.h"

#include <algorithm>

#include "host/Gdi.h"
#include "host/Host.h"
#include "host/MessageBoxes.h"
#include "host/Messages.h"
#include "host/Shell.h"
#include "host/System.h"
#include "host/WindowManager.h"
#include "platform/ControlMessages.h"
#include "platform/MessagePump.h"

namespace platform {

namespace {

host::WindowManager& windows() {
  return host::Host::get().windows();
}
host::Gdi& gdi() {
  return host::Host::get().gdi();
}

int signedLow(intptr_t v) {
  return static_cast<int16_t>(v & 0xFFFF);
}
int signedHigh(intptr_t v) {
  return static_cast<int16_t>((v >> 16) & 0xFFFF);
}

bool isStylusMessage(uint32_t message) {
  switch (message) {
    case host::WM_MOUSEMOVE:
    case host::WM_LBUTTONDOWN:
    case host::WM_LBUTTONUP:
    case host::WM_RBUTTONDOWN:
    case host::WM_RBUTTONUP:
    case host::WM_MBUTTONDOWN:
    case host::WM_MBUTTONUP:
      return true;
    default:
      return false;
  }
}

}  // namespace

struct Window::PreviousProc {
  host::WindowProc proc;
};

// The one window procedure of the framework: finds the object in the window's user data.
struct WindowProcedure {
  static intptr_t call(host::Hwnd hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    host::WindowManager& wm = windows();
    auto* self = reinterpret_cast<Window*>(wm.getWindowLong(hwnd, host::GWL_USERDATA));
    if (message == host::WM_CREATE) {
      auto* create = reinterpret_cast<const host::CreateStruct*>(lParam);
      self = static_cast<Window*>(create->createParam);
      wm.setWindowLong(hwnd, host::GWL_USERDATA, reinterpret_cast<intptr_t>(self));
      if (self) self->hwnd_ = hwnd;
    }
    if (!self) return wm.defWindowProc(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
  }

  static intptr_t edit(host::Hwnd hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    auto* self = reinterpret_cast<Window*>(windows().getWindowLong(hwnd, host::GWL_USERDATA));
    if (!self) return windows().defWindowProc(hwnd, message, wParam, lParam);
    return self->handleEdit(message, wParam, lParam);
  }
};

Window::Window(std::string_view title, host::Hwnd parentHwnd, bool buffered)
    : parentHwnd_(parentHwnd), buffered_(buffered), title_(title) {
  textColor_ = gdi().sysColor(host::COLOR_WINDOWTEXT);
  bkColor_ = gdi().sysColor(host::COLOR_WINDOW);
  bkBrush_ = gdi().createSolidBrush(bkColor_);
}

Window::~Window() {
  // A derived part is gone by now, so its onDestroy cannot run here: owners call destroy()
  // first when that matters.
  destroy();
  children_.clear();
  backBuffer_.reset();
  releaseDrawing();
  if (bkBrush_) gdi().deleteObject(bkBrush_);
}

void Window::reportLastError() {
  host::messageBox(0, host::errorText(host::lastError()), "Error", host::MB_ICONEXCLAMATION);
}

bool Window::create(int x, int y, int width, int height) {
  host::WindowManager& wm = windows();
  if (!parentHwnd_ && !multiInstance_) {
    if (host::Hwnd existing = wm.findWindow(className_, title_)) {
      wm.setForegroundWindow(existing);
      return false;
    }
  }
  if (!wm.isClassRegistered(className_)) {
    host::WindowClass windowClass;
    windowClass.name = className_;
    windowClass.style = classStyle_;
    windowClass.proc = &WindowProcedure::call;
    windowClass.background = classBackground_;
    if (!wm.registerClass(windowClass)) {
      reportLastError();
      return false;
    }
  }
  uint32_t id = (style_ & kChildStyle) ? controlId_ : 0;
  host::Hwnd made = wm.createWindow(exStyle_, className_, title_, style_, x, y, width, height,
                                    parentHwnd_, id, this);
  if (!made) {
    reportLastError();
    return false;
  }
  // Native controls do not run the framework's creation handling.
  if (!hwnd_) {
    hwnd_ = made;
    wm.setWindowLong(made, host::GWL_USERDATA, reinterpret_cast<intptr_t>(this));
  }
  if (className_ == "Edit" || className_ == "EDIT") {
    previousProc_ = std::make_unique<PreviousProc>();
    previousProc_->proc = wm.setWindowProc(made, &WindowProcedure::edit);
    subclassedEdit_ = true;
  }
  return true;
}

bool Window::destroy() {
  if (!hwnd_) return false;
  host::WindowManager& wm = windows();
  if (subclassedEdit_ && previousProc_) {
    wm.setWindowProc(hwnd_, previousProc_->proc);
    subclassedEdit_ = false;
  }
  host::Hwnd handle = hwnd_;
  bool ok = wm.destroyWindow(handle);
  hwnd_ = 0;
  return ok;
}

bool Window::addChild(std::unique_ptr<Window> child, int x, int y, int width, int height) {
  if (!child) return false;
  Window* raw = child.get();
  if (std::any_of(children_.begin(), children_.end(),
                  [raw](const std::unique_ptr<Window>& c) { return c.get() == raw; })) {
    child.release();  // it is ours already
    return false;
  }
  onAddChild(raw, x, y, width, height);
  children_.push_back(std::move(child));
  raw->parentHwnd_ = hwnd_;
  raw->parent_ = this;
  return raw->create(x, y, width, height);
}

bool Window::addChild(Window* child, int x, int y, int width, int height) {
  return addChild(std::unique_ptr<Window>(child), x, y, width, height);
}

void Window::removeChild(Window* child) {
  auto it = std::find_if(children_.begin(), children_.end(),
                         [child](const std::unique_ptr<Window>& c) { return c.get() == child; });
  if (it == children_.end()) return;
  onRemoveChild(child);
  std::unique_ptr<Window> owned = std::move(*it);
  children_.erase(it);
  owned->destroy();
}

Window* Window::findChildById(uint32_t id) const {
  for (const auto& child : children_)
    if (child->controlId_ == id) return child.get();
  return nullptr;
}

Window* Window::findChildByTitle(std::string_view title) const {
  for (const auto& child : children_)
    if (child->title_ == title) return child.get();
  return nullptr;
}

void Window::show(bool visible) {
  if (!hwnd_) return;
  windows().showWindow(hwnd_, visible ? host::SW_SHOWNORMAL : host::SW_HIDE);
  windows().updateWindow(hwnd_);
}

void Window::repaint(bool erase, const host::Rect* rect) {
  if (!hwnd_) return;
  windows().invalidateRect(hwnd_, rect, erase);
  windows().updateWindow(hwnd_);
}

void Window::postRepaint(bool erase, const host::Rect* rect) {
  if (!hwnd_) return;
  windows().invalidateRect(hwnd_, rect, erase);
  windows().postMessage(hwnd_, host::WM_PAINT, 0, 0);
}

bool Window::move(int x, int y, int width, int height) {
  if (!hwnd_ || !windows().moveWindow(hwnd_, x, y, width, height, true)) {
    reportLastError();
    return false;
  }
  prepareDrawing();
  return true;
}

void Window::setFocus() {
  if (hwnd_) windows().setFocus(hwnd_);
}

void Window::enable(bool enabled) {
  if (hwnd_) windows().enableWindow(hwnd_, enabled);
}

bool Window::isVisible() const {
  return hwnd_ && windows().isVisible(hwnd_);
}

host::Rect Window::getWindowRect() const {
  return hwnd_ ? windows().windowRect(hwnd_) : host::Rect{};
}

int Window::windowWidth() const {
  return getWindowRect().width();
}
int Window::windowHeight() const {
  return getWindowRect().height();
}

int Window::clientWidth() const {
  if (!hwnd_) return 0;
  host::Rect r = windows().clientRect(hwnd_);
  return rotated_ ? r.height() : r.width();
}

int Window::clientHeight() const {
  if (!hwnd_) return 0;
  host::Rect r = windows().clientRect(hwnd_);
  return rotated_ ? r.width() : r.height();
}

void Window::setRotated(bool rotated) {
  rotated_ = rotated;
  if (hwnd_) prepareDrawing();
}

void Window::setText(std::string_view text) {
  title_ = text;
  if (hwnd_) windows().setText(hwnd_, text);
}

std::string Window::getText() const {
  return hwnd_ ? windows().text(hwnd_) : title_;
}

intptr_t Window::getLong(int index) const {
  return hwnd_ ? windows().getWindowLong(hwnd_, index) : 0;
}

intptr_t Window::setLong(int index, intptr_t value) {
  return hwnd_ ? windows().setWindowLong(hwnd_, index, value) : 0;
}

void Window::setFont(host::Hfont font) {
  send(host::WM_SETFONT, font, 1);
}

void Window::setTextColor(int r, int g, int b) {
  textColor_ = host::rgb(r, g, b);
}

void Window::setBkColor(int r, int g, int b) {
  bkColor_ = host::rgb(r, g, b);
  if (bkBrush_) gdi().deleteObject(bkBrush_);
  bkBrush_ = gdi().createSolidBrush(bkColor_);
}

void Window::startTimer(uint32_t intervalMs) {
  timerInterval_ = intervalMs;
  if (hwnd_) windows().setTimer(hwnd_, kTimerId, intervalMs);
  timerRunning_ = true;
}

void Window::stopTimer() {
  if (timerRunning_ && hwnd_) windows().killTimer(hwnd_, kTimerId);
  timerRunning_ = false;
}

void Window::addOverlay(Overlay* overlay) {
  if (!buffered_ || !overlay) return;
  overlays_.append(overlay);
  if (backBuffer_) overlay->attach(*this, *backBuffer_);
}

void Window::removeOverlay(Overlay* overlay) {
  if (!overlays_.contains(overlay)) return;
  overlay->detach();
  overlays_.remove(overlay);
}

void Window::paintOverlays() {
  if (!buffered_ || !backBuffer_) return;
  for (Overlay* overlay : overlays_) overlay->draw();
  backBuffer_->present(windowDC_);
}

intptr_t Window::send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return hwnd_ ? windows().sendMessage(hwnd_, message, wParam, lParam) : 0;
}

void Window::releaseDrawing() {
  if (windowDC_) gdi().deleteDc(windowDC_);
  windowDC_ = 0;
  drawDC_ = 0;
}

void Window::prepareDrawing() {
  releaseDrawing();
  windowDC_ = gdi().createWindowDc(hwnd_);
  gdi().setBkMode(windowDC_, host::TRANSPARENT);
  gdi().setTextColor(windowDC_, 0xFFFFFF);
  drawDC_ = windowDC_;
  if (!buffered_) return;
  host::Rect r = windows().windowRect(hwnd_);
  backBuffer_ = BackBuffer::create(r.width(), r.height());
  if (!backBuffer_) return;
  drawDC_ = backBuffer_->dc();
  gdi().setBkMode(drawDC_, host::TRANSPARENT);
  gdi().setTextColor(drawDC_, 0xFFFFFF);
  for (Overlay* overlay : overlays_) overlay->attach(*this, *backBuffer_);
}

intptr_t Window::handle(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  host::WindowManager& wm = windows();
  host::Hwnd self = hwnd_;
  switch (message) {
    case host::WM_CREATE:
      prepareDrawing();
      onCreate();
      afterCreate();
      return 0;
    case host::WM_DESTROY:
      onDestroy();
      afterDestroy();
      releaseDrawing();
      stopTimer();
      timerRunning_ = false;
      hwnd_ = 0;  // the handle dies with this message
      if (!parent_) wm.postQuitMessage(0);
      return 0;
    case host::WM_SIZE:
      if (wParam == host::SIZE_RESTORED && timerRunning_) {
        wm.setTimer(self, kTimerId, timerInterval_);
      } else if (wParam == host::SIZE_MINIMIZED) {
        if (timerRunning_) wm.killTimer(self, kTimerId);  // the flag stays: restore restarts it
        return 0;
      }
      return 0;
    case host::WM_ACTIVATE: {
      bool active = host::loWord(static_cast<intptr_t>(wParam)) != 0;
      for (const auto& child : children_) child->onParentActivate(active);
      if (!parent_) {
        host::Host::get().shell().fullScreen(wm.activeWindow(),
                                             active ? kFullScreenActive : kFullScreenInactive);
      }
      onActivate(active);
      return 0;
    }
    case host::WM_SETFOCUS:
      onSetFocus();
      return 0;
    case host::WM_KILLFOCUS:
      onKillFocus();
      return 0;
    case host::WM_PAINT: {
      host::PaintStruct paint;
      wm.beginPaint(self, paint);
      onPaint(paint.paint);
      paintOverlays();
      wm.endPaint(self, paint);
      return 0;
    }
    case host::WM_CLOSE:
      if (canClose()) return wm.defWindowProc(self, message, wParam, lParam);
      return 0;
    case host::WM_ERASEBKGND:
      onEraseBackground();
      return wm.defWindowProc(self, message, wParam, lParam);
    case host::WM_SHOWWINDOW:
      onShow(wParam == 1, static_cast<int>(lParam));
      return 0;
    case host::WM_KEYDOWN:
    case host::WM_KEYUP:
      onKey(message, static_cast<uint32_t>(wParam));
      if (keyListener_) keyListener_->onKey(*this, message, static_cast<uint32_t>(wParam));
      return 0;
    case host::WM_COMMAND: {
      int notification = host::hiWord(static_cast<intptr_t>(wParam));
      int id = host::loWord(static_cast<intptr_t>(wParam));
      host::Shell& shell = host::Host::get().shell();
      if (notification == kEditGainedFocus) {
        shell.fullScreen(wm.activeWindow(), host::SHFS_SHOWSIPBUTTON);
        shell.sipPreference(wm.activeWindow(), host::SIP_UP);
      } else if (notification == kEditLostFocus) {
        shell.fullScreen(wm.activeWindow(), host::SHFS_HIDESIPBUTTON);
        shell.sipPreference(wm.activeWindow(), host::SIP_DOWN);
      }
      if (commandListener_)
        commandListener_->onCommand(*this, notification, id, static_cast<host::Hwnd>(lParam));
      return 0;
    }
    case host::WM_TIMER:
      if (wParam == kTimerId) onTimer();
      return 0;
    case host::WM_CTLCOLOREDIT:
    case host::WM_CTLCOLORLISTBOX:
    case host::WM_CTLCOLORBTN:
    case host::WM_CTLCOLORSCROLLBAR:
    case host::WM_CTLCOLORSTATIC: {
      auto dc = static_cast<host::Hdc>(wParam);
      gdi().setTextColor(dc, textColor_);
      gdi().setBkColor(dc, bkColor_);
      return static_cast<intptr_t>(bkBrush_);
    }
    case host::MM_WOM_DONE:
      runWaveDoneHook(wParam, lParam);
      return wm.defWindowProc(self, message, wParam, lParam);
    default:
      break;
  }
  if (isStylusMessage(message)) {
    int x = signedLow(lParam);
    int y = signedHigh(lParam);
    onMouse(message, wParam, x, y, 0);
    if (mouseListener_) mouseListener_->onMouse(*this, message, wParam, x, y);
    onMouse(message, wParam, x, y, 1);
    return 0;
  }
  return wm.defWindowProc(self, message, wParam, lParam);
}

intptr_t Window::handleEdit(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (message == host::WM_KEYUP && wParam == 13 && parent_) {
    parent_->setFocus();
    return 0;
  }
  if (previousProc_ && previousProc_->proc)
    return previousProc_->proc(hwnd_, message, wParam, lParam);
  return windows().defWindowProc(hwnd_, message, wParam, lParam);
}

void Window::editSetLimit(int characters) {
  send(EM_LIMITTEXT, static_cast<uintptr_t>(characters), 0);
}
int Window::editLineCount() {
  return static_cast<int>(send(EM_GETLINECOUNT, 0, 0));
}
void Window::editSetReadOnly(bool readOnly) {
  send(EM_SETREADONLY, readOnly ? 1 : 0, 0);
}

int Window::addItem(uint32_t addMessage, uint32_t dataMessage, std::string_view text) {
  std::string copy(text);
  intptr_t index = send(addMessage, 0, reinterpret_cast<intptr_t>(copy.c_str()));
  if (index < 0) return -1;
  send(dataMessage, static_cast<uintptr_t>(index), 0);
  return static_cast<int>(index);
}

std::string Window::itemText(uint32_t lengthMessage, uint32_t textMessage, int index) {
  intptr_t length = send(lengthMessage, static_cast<uintptr_t>(index), 0);
  if (length < 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  intptr_t got =
      send(textMessage, static_cast<uintptr_t>(index), reinterpret_cast<intptr_t>(text.data()));
  if (got < 0) return {};
  text.resize(std::min<size_t>(static_cast<size_t>(got), static_cast<size_t>(length)));
  return text;
}

int Window::comboAdd(std::string_view text) {
  return addItem(CB_ADDSTRING, CB_SETITEMDATA, text);
}
void Window::comboDelete(int index) {
  send(CB_DELETESTRING, static_cast<uintptr_t>(index), 0);
}
void Window::comboClear() {
  send(CB_RESETCONTENT, 0, 0);
}
void Window::comboSelect(int index) {
  send(CB_SETCURSEL, static_cast<uintptr_t>(index), 0);
}
int Window::comboSelected() {
  return static_cast<int>(send(CB_GETCURSEL, 0, 0));
}
std::string Window::comboItemText(int index) {
  return itemText(CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}
int Window::comboItemTextLength(int index) {
  return static_cast<int>(send(CB_GETLBTEXTLEN, static_cast<uintptr_t>(index), 0));
}
int Window::comboFind(std::string_view text) {
  std::string copy(text);
  return static_cast<int>(
      send(CB_FINDSTRING, static_cast<uintptr_t>(-1), reinterpret_cast<intptr_t>(copy.c_str())));
}
int Window::comboCount() {
  return static_cast<int>(send(CB_GETCOUNT, 0, 0));
}

int Window::listAdd(std::string_view text) {
  return addItem(LB_ADDSTRING, LB_SETITEMDATA, text);
}
void Window::listDelete(int index) {
  send(LB_DELETESTRING, static_cast<uintptr_t>(index), 0);
}
void Window::listClear() {
  send(LB_RESETCONTENT, 0, 0);
}
void Window::listSelect(int index) {
  send(LB_SETCURSEL, static_cast<uintptr_t>(index), 0);
}
int Window::listSelected() {
  return static_cast<int>(send(LB_GETCURSEL, 0, 0));
}
std::string Window::listItemText(int index) {
  return itemText(LB_GETTEXTLEN, LB_GETTEXT, index);
}
int Window::listFind(std::string_view text) {
  std::string copy(text);
  return static_cast<int>(
      send(LB_FINDSTRING, static_cast<uintptr_t>(-1), reinterpret_cast<intptr_t>(copy.c_str())));
}
int Window::listCount() {
  return static_cast<int>(send(LB_GETCOUNT, 0, 0));
}

}  // namespace platform
