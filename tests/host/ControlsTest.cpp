#include "host/Controls.h"

#include <gtest/gtest.h>

#include <cctype>

#include "HostFixture.h"
#include "ImageCompare.h"
#include "host/Gdi.h"
#include "host/Keys.h"
#include "host/Screen.h"

namespace host::testing {
namespace {

class ControlsTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    main = topLevel("main");
    pump();
  }

  Hwnd control(const char* cls, std::uint32_t style, Rect r, std::uint32_t id,
               const char* text = "", std::uint32_t exStyle = 0) {
    Hwnd h = wm().createWindow(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                               r.width(), r.height(), main, id, nullptr);
    EXPECT_NE(h, 0u);
    pump();
    return h;
  }

  // Runs the message loop over everything queued, as the program's pump does.
  void pump() {
    Message m;
    int guard = 0;
    while (wm().peekMessage(m, true) && ++guard < 10000) {
      wm().translateMessage(m);
      wm().dispatchMessage(m);
    }
  }

  void key(std::uint32_t vk) {
    wm().injectInput({InputEvent::Kind::KeyDown, vk});
    wm().injectInput({InputEvent::Kind::KeyUp, vk});
    pump();
  }

  void type(const std::string& text) {
    for (char c : text) {
      bool upper = std::isupper(static_cast<unsigned char>(c));
      if (upper) wm().injectInput({InputEvent::Kind::KeyDown, VK_SHIFT});
      auto vk = static_cast<std::uint32_t>(std::toupper(static_cast<unsigned char>(c)));
      key(c == ' ' ? VK_SPACE : vk);
      if (upper) wm().injectInput({InputEvent::Kind::KeyUp, VK_SHIFT});
    }
    pump();
  }

  void tap(Hwnd w, int x, int y) {
    Point p = wm().clientToScreen(w, {x, y});
    wm().injectInput({InputEvent::Kind::StylusDown, 0, p.x, p.y});
    wm().injectInput({InputEvent::Kind::StylusUp, 0, p.x, p.y});
    pump();
  }

  // WM_COMMAND notifications the main window received: (code, id).
  std::vector<std::pair<int, int>> commands() const {
    std::vector<std::pair<int, int>> out;
    for (const Received& r : log)
      if (r.window == main && r.message == WM_COMMAND)
        out.push_back({static_cast<int>(r.wParam >> 16), static_cast<int>(r.wParam & 0xFFFF)});
    return out;
  }
  bool notified(int code, int id) const {
    for (auto c : commands())
      if (c == std::pair{code, id}) return true;
    return false;
  }

  std::string itemText(Hwnd w, std::uint32_t lenMsg, std::uint32_t textMsg, int i) {
    std::string buffer(static_cast<size_t>(wm().sendMessage(w, lenMsg, i, 0)) + 1, '\0');
    wm().sendMessage(w, textMsg, i, reinterpret_cast<std::intptr_t>(buffer.data()));
    buffer.pop_back();
    return buffer;
  }

  Hwnd main = 0;
};

TEST_F(ControlsTest, TypingIntoAnEditFollowsTheCaret) {
  Hwnd edit = control("EDIT", ES_AUTOHSCROLL, {10, 10, 200, 30}, 5, "", WS_EX_CLIENTEDGE);
  log.clear();
  tap(edit, 5, 5);
  EXPECT_EQ(wm().focus(), edit);
  EXPECT_TRUE(notified(EN_SETFOCUS, 5));
  type("Hi there");
  EXPECT_EQ(wm().text(edit), "Hi there");
  EXPECT_TRUE(notified(EN_CHANGE, 5));
  key(VK_HOME);
  key(VK_RIGHT);
  type("o");
  EXPECT_EQ(wm().text(edit), "Hoi there");
  key(VK_END);
  key(VK_BACK);
  key(VK_LEFT);
  key(VK_DELETE);
  EXPECT_EQ(wm().text(edit), "Hoi the");
  EXPECT_EQ(Host::get().windows().sendMessage(edit, EM_GETSEL, 0, 0) & 0xFFFF, 7);
  EXPECT_EQ(Host::get().windows().getWindowLong(edit, GWL_ID), 5);
}

TEST_F(ControlsTest, EnterInASingleLineEditIsLeftToTheProgram) {
  Hwnd edit = control("Edit", ES_AUTOHSCROLL, {10, 10, 200, 30}, 6);  // class names ignore case
  // The window framework hands the focus back to the page on Enter's release.
  WindowProc previous;
  previous =
      wm().setWindowProc(edit, [&](Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
        if (m == WM_KEYUP && wp == VK_RETURN) {
          Host::get().windows().setFocus(main);
          return std::intptr_t{0};
        }
        return previous(w, m, wp, lp);
      });
  wm().setFocus(edit);
  type("ab");
  log.clear();
  key(VK_RETURN);
  EXPECT_EQ(wm().text(edit), "ab");
  EXPECT_EQ(wm().focus(), main);
  EXPECT_TRUE(notified(EN_KILLFOCUS, 6));
}

TEST_F(ControlsTest, MultiLineEditWrapsAndTakesReturn) {
  Hwnd edit = control("EDIT", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, {0, 0, 120, 100}, 7);
  wm().setText(edit, "one two three four five six seven");
  int wrapped = static_cast<int>(wm().sendMessage(edit, EM_GETLINECOUNT, 0, 0));
  EXPECT_GT(wrapped, 1);
  wm().setFocus(edit);
  key(VK_RETURN);
  EXPECT_EQ(wm().sendMessage(edit, EM_GETLINECOUNT, 0, 0), wrapped + 1);
  EXPECT_EQ(wm().text(edit).back(), '\n');
  Hwnd single = control("EDIT", ES_AUTOHSCROLL, {0, 110, 60, 130}, 8, "a very long line indeed");
  EXPECT_EQ(wm().sendMessage(single, EM_GETLINECOUNT, 0, 0), 1);
}

TEST_F(ControlsTest, LimitAndReadOnlyStopTyping) {
  Hwnd edit = control("EDIT", ES_AUTOHSCROLL, {0, 0, 100, 20}, 9);
  wm().sendMessage(edit, EM_LIMITTEXT, 3, 0);
  wm().setFocus(edit);
  log.clear();
  type("abcde");
  EXPECT_EQ(wm().text(edit), "abc");
  EXPECT_TRUE(notified(EN_MAXTEXT, 9));
  wm().sendMessage(edit, EM_SETREADONLY, 1, 0);
  key(VK_BACK);
  EXPECT_EQ(wm().text(edit), "abc");
  wm().sendMessage(edit, EM_SETREADONLY, 0, 0);
  key(VK_BACK);
  EXPECT_EQ(wm().text(edit), "ab");
}

TEST_F(ControlsTest, ListBoxSelectionByStylusAndKeys) {
  Hwnd list =
      control("LISTBOX", LBS_NOTIFY | WS_VSCROLL, {10, 10, 110, 110}, 11, "", WS_EX_CLIENTEDGE);
  const char* names[] = {"Alpha", "bravo", "Charlie", "Bravo two"};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(wm().sendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<std::intptr_t>(names[i])),
              i);
  EXPECT_EQ(wm().sendMessage(list, LB_SETITEMDATA, 2, 77), 1);
  EXPECT_EQ(wm().sendMessage(list, LB_GETITEMDATA, 2, 0), 77);
  EXPECT_EQ(wm().sendMessage(list, LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(wm().sendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR);
  log.clear();
  tap(list, 20, 16 + 8);  // the second row (rows are one cell, 16 pixels, high)
  EXPECT_EQ(wm().sendMessage(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(notified(LBN_SELCHANGE, 11));
  key(VK_DOWN);
  EXPECT_EQ(wm().sendMessage(list, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(itemText(list, LB_GETTEXTLEN, LB_GETTEXT, 2), "Charlie");
  // Prefix search ignores case and starts after the given index.
  EXPECT_EQ(wm().sendMessage(list, LB_FINDSTRING, static_cast<std::uintptr_t>(-1),
                             reinterpret_cast<std::intptr_t>("BRA")),
            1);
  EXPECT_EQ(wm().sendMessage(list, LB_FINDSTRING, 1, reinterpret_cast<std::intptr_t>("bra")), 3);
  EXPECT_EQ(wm().sendMessage(list, LB_FINDSTRING, 0, reinterpret_cast<std::intptr_t>("zulu")),
            LB_ERR);
  // Deleting an earlier item keeps the same item selected.
  EXPECT_EQ(wm().sendMessage(list, LB_DELETESTRING, 0, 0), 3);
  EXPECT_EQ(wm().sendMessage(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(wm().sendMessage(list, LB_DELETESTRING, 9, 0), LB_ERR);
  wm().sendMessage(list, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(wm().sendMessage(list, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(wm().sendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(ControlsTest, ComboBoxDropsDownAndTakesATappedItem) {
  Hwnd combo = control("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, {20, 20, 140, 40}, 12);
  for (const char* item : {"Easy", "Normal", "Hard"})
    wm().sendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<std::intptr_t>(item));
  EXPECT_EQ(wm().sendMessage(combo, CB_SETCURSEL, 0, 0), 0);
  log.clear();
  tap(combo, 10, 10);
  EXPECT_EQ(wm().sendMessage(combo, CB_GETDROPPEDSTATE, 0, 0), 1);
  EXPECT_TRUE(notified(CBN_DROPDOWN, 12));
  EXPECT_EQ(wm().windowRect(combo).height(), 20 + 3 * 16 + 2);
  tap(combo, 10, 20 + 1 + 2 * 16 + 4);  // third row of the open list
  EXPECT_EQ(wm().sendMessage(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(wm().sendMessage(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
  EXPECT_EQ(wm().windowRect(combo).height(), 20);
  auto got = commands();
  auto at = [&](int code) {
    return std::find(got.begin(), got.end(), std::pair{code, 12}) - got.begin();
  };
  EXPECT_LT(at(CBN_SELCHANGE), at(CBN_CLOSEUP));
  EXPECT_EQ(itemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, 2), "Hard");
  key(VK_UP);
  EXPECT_EQ(wm().sendMessage(combo, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(wm().sendMessage(combo, CB_FINDSTRING, static_cast<std::uintptr_t>(-1),
                             reinterpret_cast<std::intptr_t>("ea")),
            0);
}

TEST_F(ControlsTest, ButtonsClickAndCheckBoxesToggle) {
  Hwnd ok = control("BUTTON", BS_PUSHBUTTON, {10, 10, 90, 40}, 21, "OK");
  Hwnd box = control("BUTTON", BS_AUTOCHECKBOX, {10, 50, 150, 70}, 22, "Sound");
  log.clear();
  // Pressed on the button but released outside: no click.
  Point in = wm().clientToScreen(ok, {5, 5});
  wm().injectInput({InputEvent::Kind::StylusDown, 0, in.x, in.y});
  wm().injectInput({InputEvent::Kind::StylusUp, 0, 200, 200});
  pump();
  EXPECT_FALSE(notified(BN_CLICKED, 21));
  tap(ok, 5, 5);
  EXPECT_TRUE(notified(BN_CLICKED, 21));
  EXPECT_EQ(wm().sendMessage(box, BM_GETCHECK, 0, 0), 0);
  tap(box, 5, 5);
  EXPECT_EQ(wm().sendMessage(box, BM_GETCHECK, 0, 0), 1);
  key(VK_SPACE);  // the box has the focus now
  EXPECT_EQ(wm().sendMessage(box, BM_GETCHECK, 0, 0), 0);
}

TEST_F(ControlsTest, ControlsDrawWithTheHostGdi) {
  std::fill(Host::get().screen().pixels(), Host::get().screen().pixels() + 240 * 320, 0x4208);
  control("STATIC", SS_CENTER, {10, 5, 230, 25}, 30, "Settings");
  control("BUTTON", BS_PUSHBUTTON, {10, 30, 110, 56}, 31, "OK");
  Hwnd box = control("BUTTON", BS_AUTOCHECKBOX, {120, 30, 230, 56}, 32, "Sound");
  wm().sendMessage(box, BM_SETCHECK, 1, 0);
  Hwnd edit = control("EDIT", ES_AUTOHSCROLL, {10, 62, 230, 84}, 33, "Pilot", WS_EX_CLIENTEDGE);
  Hwnd list = control("LISTBOX", LBS_NOTIFY, {10, 90, 110, 160}, 34, "", WS_EX_CLIENTEDGE);
  Hwnd combo = control("COMBOBOX", CBS_DROPDOWNLIST, {120, 90, 230, 110}, 35);
  for (const char* s : {"Room 1", "Room 2", "Room 3"}) {
    wm().sendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<std::intptr_t>(s));
    wm().sendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<std::intptr_t>(s));
  }
  wm().sendMessage(list, LB_SETCURSEL, 1, 0);
  wm().sendMessage(combo, CB_SETCURSEL, 2, 0);
  wm().setFocus(edit);
  pump();
  Screen& screen = Host::get().screen();
  RgbImage part{240, 170, {}};
  auto rgb = screen.toRgb();
  part.rgb.assign(rgb.begin(), rgb.begin() + 240 * 170 * 3);
  EXPECT_TRUE(matchesReference(part, "controls"));
}

}  // namespace
}  // namespace host::testing
