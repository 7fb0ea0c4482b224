#include "host/Controls.h"
#include "host/ControlsInternals.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "host/FontEngine.h"
#include "host/Gdi.h"
#include "host/Host.h"
#include "host/Keys.h"
#include "host/Messages.h"
#include "host/WindowManager.h"

namespace host {

using controls::kDroppedRows;

namespace {

bool startsWithNoCase(const std::string& item, const std::string& prefix) {
  if (prefix.size() > item.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(item[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

}  // namespace

Controls::Controls(Host& host) : host_(host) {
  const std::pair<const char*, Kind> classes[] = {{"BUTTON", Kind::Button},
                                                  {"EDIT", Kind::Edit},
                                                  {"COMBOBOX", Kind::ComboBox},
                                                  {"LISTBOX", Kind::ListBox},
                                                  {"STATIC", Kind::Static}};
  for (const auto& [name, kind] : classes) {
    WindowClass c;
    c.name = name;
    c.style = CS_GLOBALCLASS;
    Kind k = kind;
    c.proc = [this, k](Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
      return handle(k, w, m, wp, lp);
    };
    host_.windows().registerClass(c);
  }
}

Controls::~Controls() = default;

int Controls::caretOf(Hwnd edit) const {
  auto it = states_.find(edit);
  return it != states_.end() && it->second->kind == Kind::Edit ? static_cast<int>(it->second->caret)
                                                               : -1;
}

void Controls::notify(Hwnd w, int code) {
  WindowManager& wm = host_.windows();
  Hwnd parent = wm.parentOf(w);
  if (!parent) return;
  auto id = static_cast<std::uint32_t>(wm.getWindowLong(w, GWL_ID));
  wm.sendMessage(parent, WM_COMMAND, (static_cast<std::uintptr_t>(code) << 16) | (id & 0xFFFF),
                 static_cast<std::intptr_t>(w));
}

std::intptr_t Controls::handle(Kind kind, Hwnd w, std::uint32_t m, std::uintptr_t wp,
                               std::intptr_t lp) {
  WindowManager& wm = host_.windows();
  if (m == WM_CREATE) {
    auto state = std::make_unique<State>();
    state->kind = kind;
    if (kind == Kind::Edit) {
      state->text = decodeUtf8(reinterpret_cast<const CreateStruct*>(lp)->title);
      state->caret = state->text.size();
    }
    states_[w] = std::move(state);
    return 0;
  }
  auto it = states_.find(w);
  if (it == states_.end()) return wm.defWindowProc(w, m, wp, lp);
  State& s = *it->second;
  switch (m) {
    case WM_DESTROY:
      states_.erase(it);
      return 0;
    case WM_SETFONT:
      s.font = static_cast<Hfont>(wp);
      if (lp) wm.invalidateRect(w, nullptr, true);
      return 0;
    case WM_GETFONT:
      return s.font;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint(s, w);
      return 0;
    case WM_ENABLE:
      wm.invalidateRect(w, nullptr, true);
      return 0;
    default:
      break;
  }
  switch (kind) {
    case Kind::Edit:
      return handleEdit(s, w, m, wp, lp);
    case Kind::ComboBox:
    case Kind::ListBox:
      return handleList(s, w, m, wp, lp);
    case Kind::Button:
      return handleButton(s, w, m, wp, lp);
    case Kind::Static:
      if (m == WM_SETTEXT) wm.invalidateRect(w, nullptr, true);
      return wm.defWindowProc(w, m, wp, lp);
  }
  return 0;
}

std::intptr_t Controls::handleButton(State& s, Hwnd w, std::uint32_t m, std::uintptr_t wp,
                                     std::intptr_t lp) {
  WindowManager& wm = host_.windows();
  auto click = [&] {
    if ((wm.getWindowLong(w, GWL_STYLE) & 0xF) == BS_AUTOCHECKBOX) s.check = !s.check;
    wm.invalidateRect(w, nullptr, true);
    notify(w, BN_CLICKED);
  };
  switch (m) {
    case WM_LBUTTONDOWN:
      s.pressed = true;
      wm.setFocus(w);
      wm.invalidateRect(w, nullptr, true);
      return 0;
    case WM_LBUTTONUP: {
      bool was = s.pressed;
      s.pressed = false;
      wm.invalidateRect(w, nullptr, true);
      if (was && wm.clientRect(w).contains(xOfLParam(lp), yOfLParam(lp))) click();
      return 0;
    }
    case WM_KEYUP:
      if (wp == VK_SPACE || wp == VK_RETURN) click();
      return 0;
    case BM_GETCHECK:
      return s.check;
    case BM_SETCHECK:
      s.check = static_cast<int>(wp);
      wm.invalidateRect(w, nullptr, true);
      return 0;
    case WM_SETTEXT: {
      std::intptr_t r = wm.defWindowProc(w, m, wp, lp);
      wm.invalidateRect(w, nullptr, true);
      return r;
    }
    default:
      return wm.defWindowProc(w, m, wp, lp);
  }
}

void Controls::select(State& s, Hwnd w, int index, bool byUser) {
  int count = static_cast<int>(s.items.size());
  int next = index < 0 || index >= count ? -1 : index;
  bool moved = next != s.selected;
  s.selected = next;
  host_.windows().invalidateRect(w, nullptr, true);
  if (byUser && moved) {
    bool notifies =
        s.kind == Kind::ComboBox || (host_.windows().getWindowLong(w, GWL_STYLE) & LBS_NOTIFY);
    if (notifies) notify(w, s.kind == Kind::ComboBox ? CBN_SELCHANGE : LBN_SELCHANGE);
  }
}

void Controls::setDropped(State& s, Hwnd w, bool dropped) {
  if (s.dropped == dropped) return;
  WindowManager& wm = host_.windows();
  Rect r = wm.windowRect(w);
  Rect parent = wm.windowRect(wm.parentOf(w));
  int rowHeight = 0;
  {
    Gdi& gdi = host_.gdi();
    Hdc dc = gdi.createCompatibleDc(0);
    gdi.selectObject(dc, s.font ? s.font : gdi.stockObject(SYSTEM_FONT));
    TextMetrics tm;
    gdi.getTextMetrics(dc, tm);
    rowHeight = tm.height;
    gdi.deleteDc(dc);
  }
  if (dropped) {
    notify(w, CBN_DROPDOWN);
    s.closedHeight = r.height();
    int rows = std::clamp(static_cast<int>(s.items.size()), 1, kDroppedRows);
    s.top =
        std::clamp(s.selected - rows + 1, 0, std::max(0, static_cast<int>(s.items.size()) - rows));
    s.dropped = true;
    wm.moveWindow(w, r.left - parent.left, r.top - parent.top, r.width(),
                  s.closedHeight + rows * rowHeight + 2, true);
  } else {
    s.dropped = false;
    wm.moveWindow(w, r.left - parent.left, r.top - parent.top, r.width(), s.closedHeight, true);
    notify(w, CBN_CLOSEUP);
  }
}

std::intptr_t Controls::handleList(State& s, Hwnd w, std::uint32_t m, std::uintptr_t wp,
                                   std::intptr_t lp) {
  WindowManager& wm = host_.windows();
  bool combo = s.kind == Kind::ComboBox;
  int count = static_cast<int>(s.items.size());
  auto valid = [&](std::uintptr_t i) {
    return static_cast<int>(i) >= 0 && static_cast<int>(i) < count;
  };
  auto text = [&](std::intptr_t p) {
    return std::string(p ? reinterpret_cast<const char*>(p) : "");
  };
  // The list messages of both kinds, mapped onto one set.
  std::uint32_t op = m;
  if (combo) {
    switch (m) {
      case CB_ADDSTRING:
        op = LB_ADDSTRING;
        break;
      case CB_DELETESTRING:
        op = LB_DELETESTRING;
        break;
      case CB_GETCOUNT:
        op = LB_GETCOUNT;
        break;
      case CB_GETCURSEL:
        op = LB_GETCURSEL;
        break;
      case CB_GETLBTEXT:
        op = LB_GETTEXT;
        break;
      case CB_GETLBTEXTLEN:
        op = LB_GETTEXTLEN;
        break;
      case CB_RESETCONTENT:
        op = LB_RESETCONTENT;
        break;
      case CB_FINDSTRING:
        op = LB_FINDSTRING;
        break;
      case CB_SETCURSEL:
        op = LB_SETCURSEL;
        break;
      case CB_GETITEMDATA:
        op = LB_GETITEMDATA;
        break;
      case CB_SETITEMDATA:
        op = LB_SETITEMDATA;
        break;
      default:
        break;
    }
  } else if (m >= CB_ADDSTRING && m <= CB_GETDROPPEDSTATE) {
    op = 0;  // combo messages mean nothing to a list box
  }
  switch (op) {
    case LB_ADDSTRING:
      s.items.push_back(text(lp));
      s.data.push_back(0);
      wm.invalidateRect(w, nullptr, true);
      return count;
    case LB_DELETESTRING:
      if (!valid(wp)) return LB_ERR;
      s.items.erase(s.items.begin() + static_cast<std::ptrdiff_t>(wp));
      s.data.erase(s.data.begin() + static_cast<std::ptrdiff_t>(wp));
      if (s.selected == static_cast<int>(wp))
        s.selected = -1;
      else if (s.selected > static_cast<int>(wp))
        --s.selected;
      wm.invalidateRect(w, nullptr, true);
      return count - 1;
    case LB_RESETCONTENT:
      s.items.clear();
      s.data.clear();
      s.selected = -1;
      s.top = 0;
      wm.invalidateRect(w, nullptr, true);
      return 0;
    case LB_SETCURSEL:
      select(s, w, static_cast<int>(wp), false);
      return valid(wp) ? static_cast<std::intptr_t>(wp) : LB_ERR;
    case LB_GETCURSEL:
      return s.selected;
    case LB_GETCOUNT:
      return count;
    case LB_GETTEXTLEN:
      return valid(wp) ? static_cast<std::intptr_t>(s.items[wp].size()) : LB_ERR;
    case LB_GETTEXT:
      if (!valid(wp) || !lp) return LB_ERR;
      std::memcpy(reinterpret_cast<char*>(lp), s.items[wp].c_str(), s.items[wp].size() + 1);
      return static_cast<std::intptr_t>(s.items[wp].size());
    case LB_FINDSTRING: {
      // Case-insensitive prefix search after `wp`, wrapping once round the list.
      std::string prefix = text(lp);
      int start = static_cast<int>(static_cast<std::intptr_t>(wp));
      for (int k = 1; k <= count; ++k) {
        int i = ((start < 0 ? -1 : start) + k) % count;
        if (startsWithNoCase(s.items[i], prefix)) return i;
      }
      return LB_ERR;
    }
    case LB_SETITEMDATA:
      if (!valid(wp)) return LB_ERR;
      s.data[wp] = lp;
      return 1;
    case LB_GETITEMDATA:
      return valid(wp) ? s.data[wp] : LB_ERR;
    default:
      break;
  }
  Gdi& gdi = host_.gdi();
  auto rowHeight = [&] {
    Hdc dc = gdi.createCompatibleDc(0);
    gdi.selectObject(dc, s.font ? s.font : gdi.stockObject(SYSTEM_FONT));
    TextMetrics tm;
    gdi.getTextMetrics(dc, tm);
    gdi.deleteDc(dc);
    return std::max(1, tm.height);
  };
  switch (m) {
    case CB_SHOWDROPDOWN:
      if (combo) setDropped(s, w, wp != 0);
      return 1;
    case CB_GETDROPPEDSTATE:
      return s.dropped;
    case WM_SETFOCUS:
      wm.invalidateRect(w, nullptr, true);
      if (combo || (wm.getWindowLong(w, GWL_STYLE) & LBS_NOTIFY))
        notify(w, combo ? CBN_SETFOCUS : LBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (combo) setDropped(s, w, false);
      wm.invalidateRect(w, nullptr, true);
      if (combo || (wm.getWindowLong(w, GWL_STYLE) & LBS_NOTIFY))
        notify(w, combo ? CBN_KILLFOCUS : LBN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN: {
      wm.setFocus(w);
      int y = yOfLParam(lp);
      if (combo) {
        if (!s.dropped) {
          setDropped(s, w, true);
        } else if (y < s.closedHeight) {
          setDropped(s, w, false);
        } else {
          select(s, w, s.top + (y - s.closedHeight - 1) / rowHeight(), true);
          setDropped(s, w, false);
        }
        return 0;
      }
      int index = s.top + (y - 1) / rowHeight();
      if (index < count) select(s, w, index, true);
      return 0;
    }
    case WM_KEYDOWN: {
      int next = s.selected;
      if (wp == VK_UP) next = std::max(0, s.selected - 1);
      if (wp == VK_DOWN) next = std::min(count - 1, s.selected + 1);
      if (wp == VK_HOME) next = 0;
      if (wp == VK_END) next = count - 1;
      if (next != s.selected && count > 0) {
        select(s, w, next, true);
        // Keep the selection in view.
        int visible = std::max(1, (combo ? kDroppedRows : wm.clientRect(w).height() / rowHeight()));
        if (s.selected < s.top) s.top = s.selected;
        if (s.selected >= s.top + visible) s.top = s.selected - visible + 1;
      }
      if (combo && (wp == VK_RETURN || wp == VK_ESCAPE) && s.dropped) setDropped(s, w, false);
      return 0;
    }
    default:
      return wm.defWindowProc(w, m, wp, lp);
  }
}

}  // namespace host
