// Edit half of Controls: text layout, caret movement and typing.
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

namespace controls {

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

}  // namespace controls

using namespace controls;

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

}  // namespace host
