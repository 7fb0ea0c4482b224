#include "platform/Window.h"

#include <gtest/gtest.h>

#include "host/Gdi.h"
#include "host/Screen.h"
#include "host/Shell.h"
#include "platform/MessagePump.h"
#include "support/HeadlessHost.h"

namespace platform {
namespace {

// A window that records the framework's calls.
class Probe : public Window {
 public:
  Probe(std::string_view title, std::vector<std::string>* log, bool buffered = false)
      : Window(title, 0, buffered), log_(log) {}
  int timerCalls = 0;
  void makeChildStyle() { style_ = kChildStyle | 0x10000000; }

 protected:
  void note(const std::string& what) { log_->push_back(title() + ":" + what); }
  void onCreate() override { note("create"); }
  void afterCreate() override { note("afterCreate"); }
  void onDestroy() override { note("destroy"); }
  void afterDestroy() override { note("afterDestroy"); }
  void onPaint(const host::Rect&) override { note("paint"); }
  void onTimer() override { ++timerCalls; }
  void onActivate(bool active) override { note(active ? "active" : "inactive"); }
  void onParentActivate(bool active) override { note(active ? "parentActive" : "parentInactive"); }
  void onMouse(uint32_t message, uintptr_t, int x, int y, int phase) override {
    note("mouse" + std::to_string(phase) + "@" + std::to_string(x) + "," + std::to_string(y));
  }
  void onKey(uint32_t message, uint32_t key) override { note("key" + std::to_string(key)); }

 private:
  std::vector<std::string>* log_;
};

struct LoggingListener : MouseListener, KeyListener {
  std::vector<std::string>* log;
  void onMouse(Window&, uint32_t, uintptr_t, int x, int y) override {
    log->push_back("listener@" + std::to_string(x) + "," + std::to_string(y));
  }
  void onKey(Window&, uint32_t, uint32_t key) override {
    log->push_back("keyListener" + std::to_string(key));
  }
};

class WindowTest : public testing_support::HeadlessHostTest {
 protected:
  std::vector<std::string> log;
};

TEST_F(WindowTest, StylusMessagesRunPhaseZeroThenTheListenerThenPhaseOne) {
  Probe w("w", &log);
  ASSERT_TRUE(w.create(0, 0, 240, 320));
  LoggingListener listener;
  listener.log = &log;
  w.setMouseListener(&listener);
  w.setKeyListener(&listener);
  log.clear();
  // Coordinates are signed 16-bit values.
  w.send(host::WM_LBUTTONDOWN, 1, host::makeLParam(-5, 300));
  w.send(host::WM_KEYDOWN, 0x26, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"w:mouse0@-5,300", "listener@-5,300", "w:mouse1@-5,300",
                                           "w:key38", "keyListener38"}));
}

TEST_F(WindowTest, CreationAndDestructionOrder) {
  Probe parent("parent", &log);
  ASSERT_TRUE(parent.create(0, 0, 240, 320));
  auto* child = new Probe("child", &log);
  child->makeChildStyle();
  ASSERT_TRUE(parent.addChild(child, 0, 0, 100, 100));
  EXPECT_EQ(child->parent(), &parent);
  EXPECT_EQ(child->parentHwnd(), parent.hwnd());
  EXPECT_FALSE(parent.addChild(child, 0, 0, 10, 10));  // a child already
  EXPECT_EQ(parent.children().size(), 1u);
  log.clear();
  ASSERT_TRUE(parent.destroy());
  std::vector<std::string> destroys;
  for (const std::string& entry : log)
    if (entry.find("estroy") != std::string::npos) destroys.push_back(entry);
  EXPECT_EQ(destroys, (std::vector<std::string>{"parent:destroy", "parent:afterDestroy",
                                                "child:destroy", "child:afterDestroy"}));
  // Destroying the top-level window ends the pump.
  host::Message m;
  bool quit = false;
  while (wm().peekMessage(m, true)) quit |= m.message == host::WM_QUIT;
  EXPECT_TRUE(quit);
}

TEST_F(WindowTest, MinimisedWindowGetsNoTimerCallsAndResumesWhenRestored) {
  Probe w("w", &log);
  ASSERT_TRUE(w.create(0, 0, 240, 320));
  w.startTimer(100);
  runFor(1050);
  EXPECT_EQ(w.timerCalls, 10);
  wm().showWindow(w.hwnd(), host::SW_MINIMIZE);
  runFor(1000);
  EXPECT_EQ(w.timerCalls, 10);
  EXPECT_TRUE(w.timerRunning());
  wm().showWindow(w.hwnd(), host::SW_RESTORE);
  runFor(1050);
  EXPECT_EQ(w.timerCalls, 20);
  w.stopTimer();
  runFor(500);
  EXPECT_EQ(w.timerCalls, 20);
}

TEST_F(WindowTest, RotatedWindowSwapsItsClientSize) {
  Probe w("w", &log);
  ASSERT_TRUE(w.create(0, 0, 240, 320));
  EXPECT_EQ(w.clientWidth(), 240);
  w.setRotated(true);
  EXPECT_EQ(w.clientWidth(), 320);
  EXPECT_EQ(w.clientHeight(), 240);
  EXPECT_EQ(w.windowWidth(), 240);
}

// Paints a red square into the back buffer when drawn.
struct RedSquare : Overlay {
  BackBuffer* target = nullptr;
  std::vector<std::string>* log = nullptr;
  void attach(Window&, BackBuffer& buffer) override { target = &buffer; }
  void detach() override { target = nullptr; }
  void draw() override {
    log->push_back("overlay");
    for (int y = 10; y < 20; ++y)
      for (int x = 10; x < 20; ++x) target->pixels()[y * target->pitch() / 2 + x] = 0xF800;
  }
};

TEST_F(WindowTest, OverlaysAreDrawnOverTheBackBufferBeforeItIsShown) {
  Probe w("w", &log, true);
  ASSERT_TRUE(w.create(0, 0, 240, 320));
  ASSERT_NE(w.backBuffer(), nullptr);
  EXPECT_EQ(w.drawDC(), w.backBuffer()->dc());
  RedSquare square;
  square.log = &log;
  w.addOverlay(&square);
  ASSERT_EQ(square.target, w.backBuffer());
  log.clear();
  w.repaint(false);
  EXPECT_EQ(log, (std::vector<std::string>{"w:paint", "overlay"}));
  host::Gdi& gdi = host::Host::get().gdi();
  EXPECT_EQ(gdi.getPixel(w.windowDC(), 15, 15), host::rgb(255, 0, 0));
  EXPECT_NE(gdi.getPixel(w.windowDC(), 25, 25), host::rgb(255, 0, 0));
  w.removeOverlay(&square);
  EXPECT_EQ(square.target, nullptr);
}

TEST_F(WindowTest, ActivationSetsFullScreenAndTellsChildrenFirst) {
  Probe main("main", &log);
  ASSERT_TRUE(main.create(0, 0, 240, 320));
  auto* child = new Probe("child", &log);
  child->makeChildStyle();
  main.addChild(child, 0, 0, 10, 10);
  log.clear();
  main.send(host::WM_ACTIVATE, host::WA_ACTIVE, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"child:parentActive", "main:active"}));
  const host::ShellState& shell = host::Host::get().shell().state();
  EXPECT_FALSE(shell.taskBarVisible);
  EXPECT_FALSE(shell.inputPanelButtonVisible);
  main.send(host::WM_ACTIVATE, host::WA_INACTIVE, 0);
  EXPECT_TRUE(shell.taskBarVisible);
  EXPECT_TRUE(shell.startIconVisible);
}

TEST_F(WindowTest, EditFocusNotificationsRaiseAndLowerTheInputPanel) {
  Probe main("main", &log);
  ASSERT_TRUE(main.create(0, 0, 240, 320));
  const host::ShellState& shell = host::Host::get().shell().state();
  main.send(host::WM_COMMAND, (Window::kEditGainedFocus << 16) | 5, 0);
  EXPECT_TRUE(shell.inputPanelUp);
  EXPECT_TRUE(shell.inputPanelButtonVisible);
  main.send(host::WM_COMMAND, (Window::kEditLostFocus << 16) | 5, 0);
  EXPECT_FALSE(shell.inputPanelUp);
  EXPECT_FALSE(shell.inputPanelButtonVisible);
}

TEST_F(WindowTest, ASecondTopLevelWindowWithTheSameTitleIsRefused) {
  Probe first("Skirrow", &log);
  Probe other("Other", &log);
  ASSERT_TRUE(first.create(0, 0, 240, 320));
  ASSERT_TRUE(other.create(0, 0, 240, 320));
  EXPECT_EQ(wm().activeWindow(), other.hwnd());
  Probe second("Skirrow", &log);
  EXPECT_FALSE(second.create(0, 0, 240, 320));
  EXPECT_EQ(second.hwnd(), 0u);
  EXPECT_EQ(wm().activeWindow(), first.hwnd());  // brought to the front
}

TEST_F(WindowTest, ChildrenAreFoundByIdAndTitleAndRemoved) {
  Probe main("main", &log);
  ASSERT_TRUE(main.create(0, 0, 240, 320));
  auto* a = new Probe("a", &log);
  a->makeChildStyle();
  main.addChild(a, 0, 0, 10, 10);
  EXPECT_EQ(main.findChildByTitle("a"), a);
  EXPECT_EQ(main.findChildByTitle("b"), nullptr);
  EXPECT_EQ(main.findChildById(0), a);
  log.clear();
  main.removeChild(a);
  EXPECT_TRUE(main.children().empty());
  EXPECT_EQ(log, (std::vector<std::string>{"a:destroy", "a:afterDestroy"}));
}

struct CountingIdle : IdleHandler {
  int calls = 0;
  void onIdle(const host::Message&, host::Hwnd) override {
    if (++calls == 5) host::Host::get().windows().postQuitMessage(7);
  }
};

TEST_F(WindowTest, PumpCallsTheIdleHandlerWhenTheQueueIsEmptyAndReturnsTheQuitCode) {
  Probe main("main", &log);
  ASSERT_TRUE(main.create(0, 0, 240, 320));
  drain();
  CountingIdle idle;
  IdleHandler*& slot = setActiveIdleHandler(&idle);
  EXPECT_EQ(slot, &idle);
  EXPECT_EQ(runMessagePump(main.hwnd()), 7);
  EXPECT_EQ(idle.calls, 5);
  setActiveIdleHandler(nullptr);
}

// Asks for a pause of `interval` ms after each call, and records the clock at each call.
struct PacedIdle : IdleHandler {
  std::vector<uint32_t> calls;
  uint32_t interval = 20;
  uint32_t msUntilNextIdle() override {
    if (calls.empty()) return 0;
    uint32_t since = host::tickCount() - calls.back();
    return since >= interval ? 0 : interval - since;
  }
  void onIdle(const host::Message&, host::Hwnd) override {
    calls.push_back(host::tickCount());
    if (calls.size() == 4) host::Host::get().windows().postQuitMessage(0);
  }
};

TEST_F(WindowTest, PumpSpendsAPacedHandlersPauseWaitingAndStillDispatchesInIt) {
  Probe main("main", &log);
  ASSERT_TRUE(main.create(0, 0, 240, 320));
  drain();
  PacedIdle idle;
  setActiveIdleHandler(&idle);
  // Timer messages falling into the pauses (at 25 and 50 ms) are dispatched there.
  main.startTimer(25);
  log.clear();
  EXPECT_EQ(runMessagePump(main.hwnd()), 0);
  setActiveIdleHandler(nullptr);
  ASSERT_EQ(idle.calls.size(), 4u);
  for (size_t i = 1; i < idle.calls.size(); ++i)
    EXPECT_EQ(idle.calls[i] - idle.calls[i - 1], 20u) << "call " << i;
  EXPECT_EQ(main.timerCalls, 2);
}

}  // namespace
}  // namespace platform
