#include "host/Controls.h"

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

struct Controls::State {
  Kind kind = Kind::Static;
  Hfont font = 0;
  // Buttons.
  bool pressed = false;
  int check = 0;
  // Edits: the text as code points (the window text holds the same as UTF-8).
  std::vector<std::uint32_t> text;
  std::size_t caret = 0;
  std::size_t limit = 0x7FFFFFFE;
  int scrollX = 0;
  int firstLine = 0;
  // Lists and combo boxes.
  std::vector<std::string> items;
  std::vector<std::intptr_t> data;
  int selected = -1;
  int top = 0;
  bool dropped = false;
  int closedHeight = 0;
};

namespace {

constexpr int kDroppedRows = 6;

struct Line {
  std::size_t begin;
  std::size_t end;
};

int widthOf(Gdi& gdi, Hdc dc, const std::vector<std::uint32_t>& text, std::size_t b,
            std::size_t e) {
  Size size;
  gdi.getTextExtentExPoint(dc, encodeUtf8(text, b, e), -1, nullptr, nullptr, size);
  return size.cx;
}

// Lines of an edit's text: hard breaks at '\n' and, with `wrapWidth` > 0, between words.
std::vector<Line> layoutLines(Gdi& gdi, Hdc dc, const std::vector<std::uint32_t>& text,
                              int wrapWidth) {
  std::vector<Line> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\n') continue;
    std::size_t pos = start, end = i;
    do {
      std::size_t lineEnd = end;
      if (wrapWidth > 0 && widthOf(gdi, dc, text, pos, end) > wrapWidth) {
        // Longest run of whole words that fits; a single long word is cut where it overflows.
        std::size_t fit = pos;
        while (fit < end && widthOf(gdi, dc, text, pos, fit + 1) <= wrapWidth) ++fit;
        std::size_t space = fit;
        while (space > pos && text[space] != ' ') --space;
        lineEnd = space > pos ? space + 1 : std::max(fit, pos + 1);
      }
      lines.push_back({pos, lineEnd});
      pos = lineEnd;
    } while (pos < end);
    start = i + 1;
  }
  return lines;
}

std::size_t lineOfCaret(const std::vector<Line>& lines, std::size_t caret) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (caret < lines[i].end ||
        (caret == lines[i].end && (i + 1 == lines.size() || lines[i + 1].begin > caret)))
      return i;
  return lines.empty() ? 0 : lines.size() - 1;
}

// The character index in [b, e] nearest to pixel offset x.
std::size_t indexAt(Gdi& gdi, Hdc dc, const std::vector<std::uint32_t>& text, std::size_t b,
                    std::size_t e, int x) {
  std::size_t best = b;
  int bestDistance = std::abs(x);
  for (std::size_t k = b + 1; k <= e; ++k) {
    int d = std::abs(widthOf(gdi, dc, text, b, k) - x);
    if (d < bestDistance) bestDistance = d, best = k;
  }
  return best;
}

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

std::intptr_t Controls::handleEdit(State& s, Hwnd w, std::uint32_t m, std::uintptr_t wp,
                                   std::intptr_t lp) {
  WindowManager& wm = host_.windows();
  Gdi& gdi = host_.gdi();
  auto style = static_cast<std::uint32_t>(wm.getWindowLong(w, GWL_STYLE));
  bool multi = style & ES_MULTILINE;
  // Keeps the window text equal to the edited text, and tells the parent.
  auto changed = [&] {
    std::string utf8 = encodeUtf8(s.text, 0, s.text.size());
    wm.defWindowProc(w, WM_SETTEXT, 0, reinterpret_cast<std::intptr_t>(utf8.c_str()));
    wm.invalidateRect(w, nullptr, true);
    notify(w, EN_CHANGE);
  };
  auto withDc = [&](auto&& body) {
    Hdc dc = gdi.createCompatibleDc(0);
    gdi.selectObject(dc, s.font ? s.font : gdi.stockObject(SYSTEM_FONT));
    auto result = body(dc);
    gdi.deleteDc(dc);
    return result;
  };
  int wrapWidth =
      multi && !(style & ES_AUTOHSCROLL) ? std::max(1, wm.clientRect(w).width() - 4) : 0;
  switch (m) {
    case WM_SETFOCUS:
      wm.invalidateRect(w, nullptr, true);
      notify(w, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      wm.invalidateRect(w, nullptr, true);
      notify(w, EN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN: {
      wm.setFocus(w);
      int x = xOfLParam(lp), y = yOfLParam(lp);
      s.caret = withDc([&](Hdc dc) {
        if (!multi) return indexAt(gdi, dc, s.text, 0, s.text.size(), x - 2 + s.scrollX);
        TextMetrics tm;
        gdi.getTextMetrics(dc, tm);
        auto lines = layoutLines(gdi, dc, s.text, wrapWidth);
        int row = std::clamp((y - 2) / std::max(1, tm.height) + s.firstLine, 0,
                             static_cast<int>(lines.size()) - 1);
        Line l = lines[row];
        std::size_t end =
            l.end > l.begin && l.end <= s.text.size() &&
                    (s.text[l.end - 1] == '\n' ||
                     (row + 1 < static_cast<int>(lines.size()) && s.text[l.end - 1] == ' '))
                ? l.end - 1
                : l.end;
        return indexAt(gdi, dc, s.text, l.begin, end, x - 2);
      });
      wm.invalidateRect(w, nullptr, true);
      return 0;
    }
    case WM_KEYDOWN: {
      std::size_t old = s.caret;
      if (wp == VK_LEFT && s.caret > 0) --s.caret;
      if (wp == VK_RIGHT && s.caret < s.text.size()) ++s.caret;
      if (wp == VK_HOME || wp == VK_END || ((wp == VK_UP || wp == VK_DOWN) && multi)) {
        s.caret = withDc([&](Hdc dc) {
          auto lines = layoutLines(gdi, dc, s.text, wrapWidth);
          std::size_t row = lineOfCaret(lines, s.caret);
          if (!multi) return wp == VK_HOME ? std::size_t{0} : s.text.size();
          if (wp == VK_HOME) return lines[row].begin;
          if (wp == VK_END) {
            std::size_t e = lines[row].end;
            return e > lines[row].begin && e <= s.text.size() &&
                           (s.text[e - 1] == '\n' || s.text[e - 1] == ' ') && row + 1 < lines.size()
                       ? e - 1
                       : e;
          }
          std::size_t target =
              wp == VK_UP ? (row == 0 ? row : row - 1) : std::min(row + 1, lines.size() - 1);
          if (target == row) return s.caret;
          int x = widthOf(gdi, dc, s.text, lines[row].begin, s.caret);
          std::size_t e = lines[target].end;
          if (e > lines[target].begin && target + 1 < lines.size()) --e;
          return indexAt(gdi, dc, s.text, lines[target].begin, e, x);
        });
      }
      if (wp == VK_DELETE && !(style & ES_READONLY) && s.caret < s.text.size()) {
        s.text.erase(s.text.begin() + static_cast<std::ptrdiff_t>(s.caret));
        changed();
      }
      if (s.caret != old) wm.invalidateRect(w, nullptr, true);
      return 0;
    }
    case WM_CHAR: {
      auto ch = static_cast<std::uint32_t>(wp);
      if (style & ES_READONLY) return 0;
      if (ch == 8) {
        if (s.caret == 0) return 0;
        s.text.erase(s.text.begin() + static_cast<std::ptrdiff_t>(--s.caret));
        changed();
        return 0;
      }
      if (ch == '\r') {
        if (!multi || !(style & ES_WANTRETURN)) return 0;
        ch = '\n';
      } else if (ch < 32) {
        return 0;
      }
      if (s.text.size() >= s.limit) {
        notify(w, EN_MAXTEXT);
        return 0;
      }
      s.text.insert(s.text.begin() + static_cast<std::ptrdiff_t>(s.caret++), ch);
      changed();
      return 0;
    }
    case WM_SETTEXT: {
      s.text = decodeUtf8(lp ? reinterpret_cast<const char*>(lp) : "");
      s.caret = s.text.size();
      s.scrollX = 0;
      s.firstLine = 0;
      wm.invalidateRect(w, nullptr, true);
      return wm.defWindowProc(w, m, wp, lp);
    }
    case EM_LIMITTEXT:
      s.limit = wp ? wp : 0x7FFFFFFE;
      return 0;
    case EM_SETREADONLY:
      wm.setWindowLong(w, GWL_STYLE, wp ? (style | ES_READONLY) : (style & ~ES_READONLY));
      wm.invalidateRect(w, nullptr, true);
      return 1;
    case EM_GETLINECOUNT:
      if (!multi) return 1;
      return withDc([&](Hdc dc) {
        return static_cast<std::intptr_t>(layoutLines(gdi, dc, s.text, wrapWidth).size());
      });
    case EM_SETSEL:
      // Without selection ranges the caret goes to the end of the asked range.
      s.caret = std::min<std::size_t>(static_cast<std::size_t>(lp < 0 ? s.text.size() : lp),
                                      s.text.size());
      wm.invalidateRect(w, nullptr, true);
      return 0;
    case EM_GETSEL:
      return static_cast<std::intptr_t>(s.caret | (s.caret << 16));
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

void Controls::paint(State& s, Hwnd w) {
  WindowManager& wm = host_.windows();
  Gdi& gdi = host_.gdi();
  PaintStruct ps;
  Hdc dc = wm.beginPaint(w, ps);
  Rect client = wm.clientRect(w);
  bool button = s.kind == Kind::Button;
  std::uint32_t request = s.kind == Kind::Edit     ? WM_CTLCOLOREDIT
                          : s.kind == Kind::Static ? WM_CTLCOLORSTATIC
                          : button                 ? WM_CTLCOLORBTN
                                                   : WM_CTLCOLORLISTBOX;
  gdi.setTextColor(dc, gdi.sysColor(COLOR_WINDOWTEXT));
  gdi.setBkColor(dc, gdi.sysColor(button ? COLOR_BTNFACE : COLOR_WINDOW));
  Hwnd parent = wm.parentOf(w);
  auto brush =
      parent
          ? static_cast<Hbrush>(wm.sendMessage(parent, request, dc, static_cast<std::intptr_t>(w)))
          : 0;
  if (gdi.kindOf(brush) != GdiObjectKind::Brush)
    brush = gdi.sysColorBrush(button ? COLOR_BTNFACE : COLOR_WINDOW);
  // Read the text colour the parent chose.
  ColorRef textColor = gdi.setTextColor(dc, 0);
  if (!wm.isEnabled(w)) textColor = rgb(128, 128, 128);
  gdi.setTextColor(dc, textColor);
  gdi.setBkMode(dc, TRANSPARENT);
  gdi.selectObject(dc, s.font ? s.font : gdi.stockObject(SYSTEM_FONT));
  gdi.fillRect(dc, client, brush);
  std::string title = wm.text(w);
  auto style = static_cast<std::uint32_t>(wm.getWindowLong(w, GWL_STYLE));
  auto exStyle = static_cast<std::uint32_t>(wm.getWindowLong(w, GWL_EXSTYLE));
  auto frame = [&](const Rect& r) {
    gdi.selectObject(dc, gdi.stockObject(NULL_BRUSH));
    gdi.selectObject(dc, gdi.stockObject(BLACK_PEN));
    gdi.rectangle(dc, r.left, r.top, r.right, r.bottom);
  };
  TextMetrics tm;
  gdi.getTextMetrics(dc, tm);
  int rowHeight = std::max(1, tm.height);
  bool focused = wm.focus() == w;

  switch (s.kind) {
    case Kind::Button: {
      Rect text = client;
      if ((style & 0xF) == BS_AUTOCHECKBOX) {
        int box = std::min(12, client.height());
        Rect r{1, (client.height() - box) / 2, 1 + box, (client.height() - box) / 2 + box};
        gdi.fillRect(dc, r, gdi.stockObject(WHITE_BRUSH));
        frame(r);
        if (s.check) {
          Point tick[] = {{r.left + 2, r.top + box / 2},
                          {r.left + box / 2 - 1, r.bottom - 3},
                          {r.right - 2, r.top + 1}};
          gdi.polyline(dc, tick, 3);
        }
        text.left = r.right + 4;
        Rect t = text;
        gdi.drawText(dc, title, t, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
      } else {
        if (s.pressed)
          gdi.fillRect(dc, {1, 1, client.right - 1, client.bottom - 1},
                       gdi.stockObject(GRAY_BRUSH));
        frame(client);
        if (focused) frame({2, 2, client.right - 2, client.bottom - 2});
        gdi.drawText(dc, title, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      }
      break;
    }
    case Kind::Static: {
      Rect t = client;
      std::uint32_t align = (style & 3) == SS_CENTER  ? DT_CENTER
                            : (style & 3) == SS_RIGHT ? DT_RIGHT
                                                      : DT_LEFT;
      gdi.drawText(dc, title, t, align | DT_WORDBREAK);
      break;
    }
    case Kind::Edit: {
      bool multi = style & ES_MULTILINE;
      int wrapWidth = multi && !(style & ES_AUTOHSCROLL) ? std::max(1, client.width() - 4) : 0;
      auto lines =
          multi ? layoutLines(gdi, dc, s.text, wrapWidth) : std::vector<Line>{{0, s.text.size()}};
      std::size_t caretLine = lineOfCaret(lines, s.caret);
      int visibleLines = std::max(1, (client.height() - 4) / rowHeight);
      if (static_cast<int>(caretLine) < s.firstLine) s.firstLine = static_cast<int>(caretLine);
      if (static_cast<int>(caretLine) >= s.firstLine + visibleLines)
        s.firstLine = static_cast<int>(caretLine) - visibleLines + 1;
      int caretX = widthOf(gdi, dc, s.text, lines[caretLine].begin, s.caret);
      int room = client.width() - 5;
      if (!multi || !wrapWidth) {
        if (caretX - s.scrollX > room) s.scrollX = caretX - room;
        if (caretX < s.scrollX) s.scrollX = caretX;
      }
      int top = multi ? 2 : (client.height() - rowHeight) / 2;
      Rect inner{1, 1, client.right - 1, client.bottom - 1};
      for (std::size_t i = static_cast<std::size_t>(s.firstLine); i < lines.size(); ++i) {
        int y = top + (static_cast<int>(i) - s.firstLine) * rowHeight;
        if (y >= client.height()) break;
        std::size_t end = lines[i].end;
        if (end > lines[i].begin && s.text[end - 1] == '\n') --end;
        gdi.extTextOut(dc, 2 - s.scrollX, y, ETO_CLIPPED, &inner,
                       encodeUtf8(s.text, lines[i].begin, end));
      }
      if (focused) {
        int x = 2 + caretX - s.scrollX;
        int y = top + (static_cast<int>(caretLine) - s.firstLine) * rowHeight;
        Hpen pen = gdi.createPen(PS_SOLID, 1, textColor);
        Hpen old = gdi.selectObject(dc, pen);
        Point caret[] = {{x, y}, {x, y + rowHeight}};
        gdi.polyline(dc, caret, 2);
        gdi.selectObject(dc, old);
        gdi.deleteObject(pen);
      }
      if ((exStyle & WS_EX_CLIENTEDGE) || (style & WS_BORDER)) frame(client);
      break;
    }
    case Kind::ListBox:
    case Kind::ComboBox: {
      bool combo = s.kind == Kind::ComboBox;
      int listTop = 1;
      if (combo) {
        int boxHeight = s.dropped ? s.closedHeight : client.height();
        Rect box{0, 0, client.width(), boxHeight};
        Rect arrow{client.width() - boxHeight, 0, client.width(), boxHeight};
        gdi.fillRect(dc, arrow, gdi.sysColorBrush(COLOR_BTNFACE));
        frame(arrow);
        int cx = (arrow.left + arrow.right) / 2, cy = boxHeight / 2;
        for (int k = 0; k < 4; ++k) {
          Point row[] = {{cx - 3 + k, cy - 1 + k}, {cx + 4 - k, cy - 1 + k}};
          gdi.polyline(dc, row, 2);
        }
        if (s.selected >= 0) {
          Rect t{3, 0, arrow.left - 2, boxHeight};
          gdi.drawText(dc, s.items[s.selected], t, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
        frame(box);
        listTop = boxHeight + 1;
        if (!s.dropped) break;
      }
      int rows = (client.height() - listTop) / rowHeight + 1;
      for (int r = 0; r < rows && s.top + r < static_cast<int>(s.items.size()); ++r) {
        int i = s.top + r;
        Rect row{1, listTop + r * rowHeight, client.width() - 1, listTop + (r + 1) * rowHeight};
        if (i == s.selected) {
          gdi.fillRect(dc, row, gdi.sysColorBrush(COLOR_HIGHLIGHT));
          gdi.setTextColor(dc, gdi.sysColor(COLOR_HIGHLIGHTTEXT));
        }
        Rect t = row;
        t.left += 2;
        gdi.drawText(dc, s.items[i], t, DT_LEFT | DT_SINGLELINE);
        gdi.setTextColor(dc, textColor);
      }
      if (!combo && (exStyle & WS_EX_CLIENTEDGE || style & WS_BORDER)) frame(client);
      if (combo) frame({0, listTop - 1, client.width(), client.height()});
      break;
    }
  }
  wm.endPaint(w, ps);
}

}  // namespace host
