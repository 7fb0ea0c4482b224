#include "host/WindowManager.h"

#include <gtest/gtest.h>

#include "HostFixture.h"
#include "host/Keys.h"
#include "host/Screen.h"
#include "host/System.h"

namespace host::testing {
namespace {

using WindowManagerTest = HostTest;

TEST_F(WindowManagerTest, CreationSendsMessagesInPlatformOrder) {
  Hwnd w = topLevel("main");
  ASSERT_NE(w, 0u);
  std::vector<std::uint32_t> expected{WM_CREATE,     WM_SIZE,     WM_MOVE,
                                      WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS};
  EXPECT_EQ(messagesOf(w), expected);
  EXPECT_EQ(wm().activeWindow(), w);
  EXPECT_EQ(wm().focus(), w);
  // The size message carries the client size.
  for (const Received& r : log) {
    if (r.message == WM_SIZE) {
      EXPECT_EQ(r.lParam, makeLParam(240, 320));
    }
  }
}

TEST_F(WindowManagerTest, CreateRefusedByProcedureLeavesNoWindow) {
  WindowClass c;
  c.name = "REFUSE";
  c.proc = [](Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) -> std::intptr_t {
    return m == WM_CREATE ? -1 : Host::get().windows().defWindowProc(w, m, wp, lp);
  };
  ASSERT_TRUE(wm().registerClass(c));
  EXPECT_EQ(wm().createWindow(0, "REFUSE", "x", WS_VISIBLE, 0, 0, 10, 10, 0, 0, nullptr), 0u);
  EXPECT_TRUE(wm().topLevelWindows().empty());
}

TEST_F(WindowManagerTest, UnknownClassAndDuplicateClassSetLastError) {
  EXPECT_EQ(wm().createWindow(0, "NOPE", "x", 0, 0, 0, 1, 1, 0, 0, nullptr), 0u);
  EXPECT_EQ(lastError(), ERROR_CANNOT_FIND_WND_CLASS);
  WindowClass c;
  c.name = "REC";
  c.proc = [](Hwnd, std::uint32_t, std::uintptr_t, std::intptr_t) -> std::intptr_t { return 0; };
  EXPECT_FALSE(wm().registerClass(c));
  EXPECT_EQ(lastError(), ERROR_CLASS_ALREADY_EXISTS);
  EXPECT_EQ(errorText(ERROR_CANNOT_FIND_WND_CLASS), "Cannot find window class.");
}

TEST_F(WindowManagerTest, CreateParameterReachesCreateMessage) {
  int marker = 42;
  void* seen = nullptr;
  WindowClass c;
  c.name = "PARAM";
  c.proc = [&](Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) -> std::intptr_t {
    if (m == WM_CREATE) seen = reinterpret_cast<CreateStruct*>(lp)->createParam;
    return Host::get().windows().defWindowProc(w, m, wp, lp);
  };
  wm().registerClass(c);
  wm().createWindow(0, "PARAM", "p", 0, 0, 0, 5, 5, 0, 0, &marker);
  EXPECT_EQ(seen, &marker);
}

TEST_F(WindowManagerTest, QueueOrderIsPostedThenQuitThenPaintThenTimer) {
  Hwnd w = topLevel("main");
  drain();
  log.clear();
  wm().setTimer(w, 7, 10);
  wm().sleep(10);
  wm().invalidateRect(w, nullptr, false);
  wm().postMessage(w, WM_USER + 1, 1, 0);
  wm().postMessage(w, WM_USER + 2, 2, 0);
  std::vector<std::uint32_t> order;
  Message m;
  while (wm().peekMessage(m, true)) {
    order.push_back(m.message);
    if (m.message == WM_QUIT) break;
    wm().dispatchMessage(m);
    if (m.message == WM_USER + 2) wm().postQuitMessage(3);
  }
  std::vector<std::uint32_t> expected{WM_USER + 1, WM_USER + 2, WM_QUIT};
  EXPECT_EQ(order, expected);
  EXPECT_EQ(m.wParam, 3u);
  order.clear();
  while (wm().peekMessage(m, true) && order.size() < 3) {
    order.push_back(m.message);
    wm().dispatchMessage(m);
  }
  ASSERT_GE(order.size(), 2u);
  EXPECT_EQ(order[0], WM_PAINT);
  EXPECT_EQ(order[1], WM_TIMER);
}

TEST_F(WindowManagerTest, SendMessageCallsProcedureAtOnceAndReturnsItsResult) {
  WindowClass c;
  c.name = "ECHO";
  c.proc = [](Hwnd, std::uint32_t m, std::uintptr_t wp, std::intptr_t) -> std::intptr_t {
    return m == WM_USER ? static_cast<std::intptr_t>(wp * 2) : 0;
  };
  wm().registerClass(c);
  Hwnd w = wm().createWindow(0, "ECHO", "e", 0, 0, 0, 1, 1, 0, 0, nullptr);
  EXPECT_EQ(wm().sendMessage(w, WM_USER, 21, 0), 42);
  EXPECT_EQ(wm().sendMessage(w + 100, WM_USER, 21, 0), 0);
}

TEST_F(WindowManagerTest, TimersFollowTheVirtualClock) {
  Hwnd w = topLevel("main");
  drain();
  std::uint32_t start = tickCount();
  wm().setTimer(w, kFrameworkTimerId, 100);
  std::vector<std::uint32_t> at;
  Message m;
  while (at.size() < 3 && wm().getMessage(m)) {
    if (m.message == WM_TIMER) {
      EXPECT_EQ(m.wParam, kFrameworkTimerId);
      at.push_back(tickCount() - start);
    }
    wm().dispatchMessage(m);
  }
  std::vector<std::uint32_t> expected{100, 200, 300};
  EXPECT_EQ(at, expected);
  EXPECT_TRUE(wm().killTimer(w, kFrameworkTimerId));
  EXPECT_FALSE(wm().killTimer(w, kFrameworkTimerId));
}

TEST_F(WindowManagerTest, SlowProgramGetsOneTimerMessageNotABacklog) {
  Hwnd w = topLevel("main");
  drain();
  wm().setTimer(w, 1, 10);
  wm().sleep(95);  // nine intervals pass without reading messages
  int timers = 0;
  Message m;
  while (wm().peekMessage(m, true))
    if (m.message == WM_TIMER) ++timers;
  // The empty peeks advanced the clock a few milliseconds at most.
  EXPECT_EQ(timers, 1);
}

TEST_F(WindowManagerTest, MinimiseAndRestoreSendSizeTypesAndActivation) {
  Hwnd w = topLevel("main");
  log.clear();
  wm().showWindow(w, SW_MINIMIZE);
  wm().showWindow(w, SW_RESTORE);
  std::vector<Received> sizes, activations;
  for (const Received& r : log) {
    if (r.message == WM_SIZE) sizes.push_back(r);
    if (r.message == WM_ACTIVATE) activations.push_back(r);
  }
  ASSERT_EQ(sizes.size(), 2u);
  EXPECT_EQ(sizes[0].wParam, static_cast<std::uintptr_t>(SIZE_MINIMIZED));
  EXPECT_EQ(sizes[1].wParam, static_cast<std::uintptr_t>(SIZE_RESTORED));
  ASSERT_EQ(activations.size(), 2u);
  EXPECT_EQ(activations[0].wParam, static_cast<std::uintptr_t>(WA_INACTIVE));
  EXPECT_EQ(activations[1].wParam, static_cast<std::uintptr_t>(WA_ACTIVE));
  EXPECT_FALSE(wm().isMinimized(w));
}

TEST_F(WindowManagerTest, TimerKeepsFiringWhileHidden) {
  Hwnd w = topLevel("main");
  wm().showWindow(w, SW_HIDE);
  drain();
  wm().setTimer(w, 5, 20);
  Message m;
  ASSERT_TRUE(wm().getMessage(m));
  EXPECT_EQ(m.message, WM_TIMER);
}

TEST_F(WindowManagerTest, DestroyTellsParentBeforeChildrenAndDropsItsQueue) {
  Hwnd top = topLevel("main");
  Hwnd a = child(top, 0, 0, 10, 10, 1);
  Hwnd b = child(top, 10, 0, 10, 10, 2);
  Hwnd aa = child(a, 0, 0, 5, 5, 3);
  drain();
  wm().postMessage(b, WM_USER, 0, 0);
  wm().setTimer(a, 1, 5);
  log.clear();
  ASSERT_TRUE(wm().destroyWindow(top));
  std::vector<Hwnd> destroyed;
  for (const Received& r : log)
    if (r.message == WM_DESTROY) destroyed.push_back(r.window);
  std::vector<Hwnd> expected{top, a, aa, b};
  EXPECT_EQ(destroyed, expected);
  for (Hwnd h : expected) EXPECT_FALSE(wm().isWindow(h));
  wm().sleep(10);
  Message m;
  EXPECT_FALSE(wm().peekMessage(m, true));
  EXPECT_FALSE(wm().destroyWindow(top));
  EXPECT_EQ(wm().activeWindow(), 0u);
  EXPECT_EQ(wm().focus(), 0u);
}

TEST_F(WindowManagerTest, CloseDefaultsToDestroy) {
  Hwnd w = topLevel("main");
  wm().postMessage(w, WM_CLOSE, 0, 0);
  drain();
  EXPECT_FALSE(wm().isWindow(w));
}

TEST_F(WindowManagerTest, ActivationMovesBetweenTopLevelWindows) {
  Hwnd first = topLevel("first");
  Hwnd second = topLevel("second");
  EXPECT_EQ(wm().activeWindow(), second);
  log.clear();
  ASSERT_TRUE(wm().setForegroundWindow(first));
  std::vector<std::pair<Hwnd, std::uint32_t>> seen;
  for (const Received& r : log)
    if (r.message == WM_ACTIVATE || r.message == WM_SETFOCUS || r.message == WM_KILLFOCUS)
      seen.push_back({r.window, r.message});
  std::vector<std::pair<Hwnd, std::uint32_t>> expected{
      {second, WM_ACTIVATE}, {first, WM_ACTIVATE}, {second, WM_KILLFOCUS}, {first, WM_SETFOCUS}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(wm().focus(), first);
}

TEST_F(WindowManagerTest, FocusOnChildKeepsActivationAndRoutesKeys) {
  Hwnd top = topLevel("main");
  Hwnd c = child(top, 0, 0, 50, 50);
  drain();
  log.clear();
  EXPECT_EQ(wm().setFocus(c), top);
  EXPECT_EQ(messagesOf(top), std::vector<std::uint32_t>{WM_KILLFOCUS});
  EXPECT_EQ(messagesOf(c), std::vector<std::uint32_t>{WM_SETFOCUS});
  EXPECT_EQ(wm().activeWindow(), top);

  InputEvent key{InputEvent::Kind::KeyDown, 'Q'};
  wm().injectInput(key);
  Message m;
  ASSERT_TRUE(wm().peekMessage(m, true));
  EXPECT_EQ(m.window, c);
  EXPECT_EQ(m.message, WM_KEYDOWN);
  EXPECT_EQ(m.wParam, static_cast<std::uintptr_t>('Q'));
  EXPECT_TRUE(wm().translateMessage(m));
  ASSERT_TRUE(wm().peekMessage(m, true));
  EXPECT_EQ(m.message, WM_CHAR);
  EXPECT_EQ(m.wParam, static_cast<std::uintptr_t>('q'));
}

TEST_F(WindowManagerTest, HidingAWindowTakesTheFocusFromItsChildren) {
  Hwnd top = topLevel("main");
  Hwnd panel = child(top, 0, 0, 100, 100);
  Hwnd inner = child(panel, 10, 10, 20, 20);
  wm().setFocus(inner);
  log.clear();
  wm().showWindow(panel, SW_HIDE);
  EXPECT_EQ(wm().focus(), 0u);
  EXPECT_EQ(messagesOf(inner), std::vector<std::uint32_t>{WM_KILLFOCUS});
  EXPECT_EQ(wm().activeWindow(), top);
}

TEST_F(WindowManagerTest, RepeatedKeyDownCarriesPreviousStateBit) {
  Hwnd top = topLevel("main");
  drain();
  wm().injectInput({InputEvent::Kind::KeyDown, VK_LEFT});
  wm().injectInput({InputEvent::Kind::KeyDown, VK_LEFT});
  wm().injectInput({InputEvent::Kind::KeyUp, VK_LEFT});
  Message m;
  std::vector<std::intptr_t> flags;
  while (wm().peekMessage(m, true)) flags.push_back(m.lParam & (3 << 30));
  ASSERT_EQ(flags.size(), 3u);
  EXPECT_EQ(flags[0], 0);
  EXPECT_EQ(flags[1], 1 << 30);
  EXPECT_NE(flags[2] & static_cast<std::intptr_t>(1u << 31), 0);
  EXPECT_FALSE(wm().keyIsDown(VK_LEFT));
  (void)top;
}

TEST_F(WindowManagerTest, StylusGoesToWindowUnderItAndStaysCapturedUntilRelease) {
  Hwnd top = topLevel("main");
  Hwnd c = child(top, 100, 200, 40, 40);
  drain();
  wm().injectInput({InputEvent::Kind::StylusMove, 0, 110, 210});  // not touching: unseen
  wm().injectInput({InputEvent::Kind::StylusDown, 0, 110, 210});
  wm().injectInput({InputEvent::Kind::StylusMove, 0, 5, 5});  // dragged outside the child
  wm().injectInput({InputEvent::Kind::StylusUp, 0, 6, 6});
  wm().injectInput({InputEvent::Kind::StylusDown, 0, 6, 6});
  std::vector<Message> got;
  Message m;
  while (wm().peekMessage(m, true)) got.push_back(m);
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[0].message, WM_LBUTTONDOWN);
  EXPECT_EQ(got[0].window, c);
  EXPECT_EQ(xOfLParam(got[0].lParam), 10);
  EXPECT_EQ(yOfLParam(got[0].lParam), 10);
  EXPECT_EQ(got[1].message, WM_MOUSEMOVE);
  EXPECT_EQ(got[1].window, c);
  EXPECT_EQ(xOfLParam(got[1].lParam), -95);  // negative client coordinates survive
  EXPECT_EQ(got[2].message, WM_LBUTTONUP);
  EXPECT_EQ(got[2].window, c);
  EXPECT_EQ(got[3].message, WM_LBUTTONDOWN);
  EXPECT_EQ(got[3].window, top);
}

TEST_F(WindowManagerTest, DisabledWindowPassesStylusToNobody) {
  Hwnd top = topLevel("main");
  Hwnd c = child(top, 0, 0, 50, 50);
  drain();
  wm().enableWindow(c, false);
  wm().injectInput({InputEvent::Kind::StylusDown, 0, 10, 10});
  Message m;
  ASSERT_TRUE(wm().peekMessage(m, true));
  EXPECT_EQ(m.window, top);
}

TEST_F(WindowManagerTest, InvalidatingParentPaintsParentThenVisibleChildrenOnly) {
  Hwnd top = topLevel("main");
  Hwnd shown = child(top, 0, 0, 50, 50);
  Hwnd hidden = child(top, 60, 0, 50, 50);
  wm().showWindow(hidden, SW_HIDE);
  drain();
  log.clear();
  wm().invalidateRect(top, nullptr, false);
  std::vector<Hwnd> painted;
  Message m;
  while (wm().peekMessage(m, true)) {
    if (m.message == WM_PAINT) painted.push_back(m.window);
    wm().dispatchMessage(m);
  }
  std::vector<Hwnd> expected{top, shown};
  EXPECT_EQ(painted, expected);
  EXPECT_FALSE(wm().isInvalid(top));
}

TEST_F(WindowManagerTest, InvalidatingChildDoesNotRepaintParent) {
  Hwnd top = topLevel("main");
  Hwnd c = child(top, 0, 0, 50, 50);
  drain();
  Rect part{5, 5, 10, 10};
  wm().invalidateRect(c, &part, true);
  EXPECT_FALSE(wm().isInvalid(top));
  PaintStruct ps;
  wm().beginPaint(c, ps);
  EXPECT_EQ(ps.paint, part);
  wm().endPaint(c, ps);
  EXPECT_FALSE(wm().isInvalid(c));
}

TEST_F(WindowManagerTest, UpdateWindowPaintsAtOnceOnlyWhenInvalid) {
  Hwnd top = topLevel("main");
  drain();
  log.clear();
  wm().updateWindow(top);
  EXPECT_TRUE(messagesOf(top).empty());
  wm().invalidateRect(top, nullptr, true);
  wm().updateWindow(top);
  std::vector<std::uint32_t> expected{WM_PAINT, WM_ERASEBKGND};
  EXPECT_EQ(messagesOf(top), expected);
}

TEST_F(WindowManagerTest, EraseFillsClassBackgroundButNotCoveringChild) {
  Screen& screen = Host::get().screen();
  std::fill(screen.pixels(), screen.pixels() + 240 * 320, 0xFFFF);
  Hwnd top = topLevel("main");
  Hwnd c = child(top, 100, 100, 20, 20);
  drain();
  // The top-level class background is black; the child also erased to black. Paint the child
  // white, then erase the parent again: the child must keep its white.
  wm().validateRect(c, nullptr);
  std::fill(screen.pixels() + 110 * 240 + 100, screen.pixels() + 110 * 240 + 120, 0xFFFF);
  Rect all{0, 0, 240, 320};
  PaintStruct ps;
  wm().invalidateRect(top, &all, true);
  wm().beginPaint(top, ps);
  wm().endPaint(top, ps);
  EXPECT_EQ(screen.pixels()[0], 0x0000);
  EXPECT_EQ(screen.pixels()[110 * 240 + 105], 0xFFFF);
}

TEST_F(WindowManagerTest, MoveSendsOnlyWhatChanged) {
  Hwnd top = topLevel("main");
  Hwnd c = child(top, 0, 0, 50, 50);
  log.clear();
  wm().moveWindow(c, 10, 10, 50, 50, true);
  EXPECT_EQ(messagesOf(c), std::vector<std::uint32_t>{WM_MOVE});
  log.clear();
  wm().moveWindow(c, 10, 10, 60, 50, true);
  EXPECT_EQ(messagesOf(c), std::vector<std::uint32_t>{WM_SIZE});
  EXPECT_EQ(wm().windowRect(c), (Rect{10, 10, 70, 60}));
  EXPECT_EQ(wm().clientToScreen(c, {1, 2}).x, 11);
}

TEST_F(WindowManagerTest, FindWindowMatchesClassAndTitleOfTopLevelWindows) {
  Hwnd top = topLevel("Skirrow");
  child(top, 0, 0, 5, 5);
  EXPECT_EQ(wm().findWindow("REC", "Skirrow"), top);
  EXPECT_EQ(wm().findWindow("REC", "child"), 0u);
  EXPECT_EQ(wm().findWindow("OTHER", "Skirrow"), 0u);
}

TEST_F(WindowManagerTest, WindowLongsAndSubclassing) {
  Hwnd top = topLevel("main");
  EXPECT_EQ(wm().setWindowLong(top, GWL_USERDATA, 1234), 0);
  EXPECT_EQ(wm().getWindowLong(top, GWL_USERDATA), 1234);
  EXPECT_NE(wm().getWindowLong(top, GWL_STYLE) & WS_VISIBLE, 0);
  int filtered = 0;
  WindowProc previous;
  previous =
      wm().setWindowProc(top, [&](Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
        if (m == WM_USER) {
          ++filtered;
          return std::intptr_t{0};
        }
        return previous(w, m, wp, lp);
      });
  log.clear();
  wm().sendMessage(top, WM_USER, 0, 0);
  wm().sendMessage(top, WM_USER + 1, 0, 0);
  EXPECT_EQ(filtered, 1);
  EXPECT_EQ(messagesOf(top), std::vector<std::uint32_t>{WM_USER + 1});
}

TEST_F(WindowManagerTest, EmptyPeekAdvancesVirtualClockByOneMillisecond) {
  topLevel("main");
  drain();
  std::uint32_t before = tickCount();
  Message m;
  EXPECT_FALSE(wm().peekMessage(m, true));
  EXPECT_FALSE(wm().peekMessage(m, true));
  EXPECT_EQ(tickCount() - before, 2u);
}

}  // namespace
}  // namespace host::testing
