// Drawing of every control kind.
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

using namespace controls;

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
