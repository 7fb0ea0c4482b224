#include "media/KeyboardFocus.h"

#include <algorithm>
#include <cstdlib>

#include "host/Keys.h"
#include "host/Messages.h"
#include "media/GuiCanvas.h"
#include "media/Sprite.h"
#include "scene/Scene.h"

namespace media {
namespace {

constexpr uintptr_t kLeftButton = 1;  // MK_LBUTTON

bool activates(uint32_t key) {
  return key == host::VK_RETURN || key == host::VK_SPACE || key == host::VK_ACTION ||
         key == host::VK_APP1;
}

bool goesBack(uint32_t key) {
  return key == host::VK_ESCAPE || key == host::VK_APP2;
}

int centreX(const host::Rect& r) {
  return (r.left + r.right) / 2;
}

// Reading order: rows from the top (a control whose centre lies above the bottom of a row's
// first control is in that row), left to right within a row. Returns each target's row.
std::vector<int> sortIntoRows(std::vector<KeyboardFocus::Target>& targets) {
  std::stable_sort(targets.begin(), targets.end(), [](const auto& a, const auto& b) {
    return a.rect.top + a.rect.bottom < b.rect.top + b.rect.bottom;
  });
  std::vector<int> rows(targets.size(), 0);
  int row = -1;
  int rowBottom = 0;
  for (size_t i = 0; i < targets.size(); ++i) {
    const host::Rect& r = targets[i].rect;
    if (row < 0 || (r.top + r.bottom) / 2 >= rowBottom) {
      ++row;
      rowBottom = r.bottom;
    }
    rows[i] = row;
  }
  // Within each row, left to right (rows stay in place: their members are contiguous).
  for (size_t begin = 0; begin < targets.size();) {
    size_t end = begin;
    while (end < targets.size() && rows[end] == rows[begin]) ++end;
    std::stable_sort(targets.begin() + static_cast<std::ptrdiff_t>(begin),
                     targets.begin() + static_cast<std::ptrdiff_t>(end),
                     [](const auto& a, const auto& b) { return a.rect.left < b.rect.left; });
    begin = end;
  }
  return rows;
}

}  // namespace

KeyboardFocus::KeyboardFocus(GuiCanvas& page) : page_(page) {
  page_.addOverlay(this);
}

KeyboardFocus::~KeyboardFocus() {
  page_.removeOverlay(this);
}

std::vector<KeyboardFocus::Target> KeyboardFocus::targets() const {
  std::vector<Target> found;
  // The hit test that a tap runs decides what a tap at a point would press; it must not change
  // what the page holds as pressed.
  scene::SceneObject* pressed = page_.pressedSprite();
  for (auto it = page_.scenes().rbegin(); it != page_.scenes().rend(); ++it) {
    const scene::Scene& scene = **it;
    if (scene.sceneType() != scene::Scene::kSprite || !scene.visible) continue;
    for (const auto& object : scene.objects()) {
      auto* s = dynamic_cast<const Sprite*>(object.get());
      if (!s || !s->visible || s->elementKind != 0 || s->guiKind == Sprite::kPlain) continue;
      if (s->width <= 0 || s->height <= 0) continue;
      const int left = scene.x + s->x;
      const int top = scene.y + s->y;
      // The centre first, then the middles of its quarters, then points near its corners: the
      // first where a tap would press this control (another may lie over part of it).
      const int w = s->width, h = s->height;
      const int xs[] = {w / 2, w / 4, 3 * w / 4, w / 4, 3 * w / 4, 1, w - 1, 1, w - 1};
      const int ys[] = {h / 2, h / 4, h / 4, 3 * h / 4, 3 * h / 4, 1, 1, h - 1, h - 1};
      for (int i = 0; i < 9; ++i) {
        if (page_.findPressedSprite(left + xs[i], top + ys[i]) != s) continue;
        found.push_back({s->name, {left, top, left + w, top + h}, {left + xs[i], top + ys[i]}});
        break;
      }
    }
    if (page_.topSceneOnly) break;
  }
  page_.setPressedSprite(pressed);
  sortIntoRows(found);
  return found;
}

const KeyboardFocus::Target* KeyboardFocus::current(const std::vector<Target>& all) {
  if (all.empty()) return nullptr;
  for (const Target& t : all)
    if (t.name == focused_) return &t;
  focused_ = all.front().name;
  return &all.front();
}

void KeyboardFocus::move(Move direction) {
  std::vector<Target> all = targets();
  if (all.empty()) return;
  const bool wasShown = shown_;
  const bool known =
      std::any_of(all.begin(), all.end(), [&](const Target& t) { return t.name == focused_; });
  shown_ = true;
  // The first key shows where the focus is before it moves it; so does the first key on a new
  // screen that has not been drawn yet.
  if (!wasShown || !known) {
    current(all);
    return;
  }
  const std::vector<Target>& ordered = all;
  const std::vector<int> rows = sortIntoRows(all);
  const int n = static_cast<int>(ordered.size());
  int at = 0;
  while (ordered[at].name != focused_) ++at;
  int to = at;
  if (direction == Move::kNext) {
    to = (at + 1) % n;
  } else if (direction == Move::kPrevious) {
    to = (at + n - 1) % n;
  } else {
    const int rowCount = rows.back() + 1;
    const int step = direction == Move::kRowBelow ? 1 : rowCount - 1;
    const int row = (rows[at] + step) % rowCount;
    const int x = centreX(ordered[at].rect);
    int best = -1;
    for (int i = 0; i < n; ++i) {
      if (rows[i] != row) continue;
      if (best < 0 ||
          std::abs(centreX(ordered[i].rect) - x) < std::abs(centreX(ordered[best].rect) - x))
        best = i;
    }
    to = best < 0 ? at : best;
  }
  focused_ = ordered[to].name;
}

std::optional<KeyboardFocus::Target> KeyboardFocus::backLink() const {
  const std::string* named = page_.pageTemplate().getRaw(kBackLinkKey);
  const std::string name = named && !named->empty() ? *named : kDefaultBackLink;
  for (const Target& t : targets())
    if (t.name == name) return t;
  return std::nullopt;
}

bool KeyboardFocus::onKey(uint32_t message, uint32_t key) {
  const bool down = message == host::WM_KEYDOWN;
  if (!down && message != host::WM_KEYUP) return false;
  if (!down) {
    if (key != pressedKey_) return false;
    release();
    return true;
  }
  // Held keys repeat their key-down: a tap already held stays one tap.
  if (pressedKey_) return activates(key) || goesBack(key);
  switch (key) {
    case host::VK_LEFT:
      move(Move::kPrevious);
      break;
    case host::VK_RIGHT:
      move(Move::kNext);
      break;
    case host::VK_UP:
      move(Move::kRowAbove);
      break;
    case host::VK_DOWN:
      move(Move::kRowBelow);
      break;
    default:
      if (activates(key)) {
        std::vector<Target> all = targets();
        if (const Target* t = current(all)) {
          shown_ = true;
          press(*t, key);
        }
        return true;
      }
      if (goesBack(key)) {
        if (std::optional<Target> back = backLink()) {
          shown_ = true;
          press(*back, key);
        }
        return true;
      }
      return false;
  }
  redraw();
  return true;
}

void KeyboardFocus::press(const Target& target, uint32_t key) {
  pressedKey_ = key;
  pressedAt_ = target.tap;
  sendStylus(host::WM_LBUTTONDOWN, pressedAt_);
  redraw();
}

void KeyboardFocus::release() {
  pressedKey_ = 0;
  // The release acts on what the press pressed, wherever it lands, as a stylus's does; a link
  // may replace the whole screen here.
  sendStylus(host::WM_LBUTTONUP, pressedAt_);
  redraw();
}

void KeyboardFocus::sendStylus(uint32_t message, host::Point at) {
  sending_ = true;
  page_.send(message, message == host::WM_LBUTTONDOWN ? kLeftButton : 0,
             host::makeLParam(at.x, at.y));
  sending_ = false;
}

void KeyboardFocus::onStylus(uint32_t message) {
  if (sending_ || message != host::WM_LBUTTONDOWN) return;
  shown_ = false;
}

void KeyboardFocus::redraw() {
  // A running page shows the frame with its next picture; a still one is drawn now.
  if (!page_.isActive()) page_.refresh();
}

void KeyboardFocus::attach(platform::Window&, platform::BackBuffer& backBuffer) {
  backBuffer_ = &backBuffer;
}

void KeyboardFocus::draw() {
  if (!shown_ || !backBuffer_ || !backBuffer_->pixels()) return;
  // After a change of screen the focus is on the new screen's first control straight away.
  std::vector<Target> all = targets();
  const Target* t = current(all);
  if (!t) return;
  const uint16_t colour =
      static_cast<uint16_t>(((kFrameColor >> 8) & 0xF800) | ((kFrameColor >> 5) & 0x07E0) |
                            ((kFrameColor >> 3) & 0x001F));
  const int width = backBuffer_->width();
  const int height = backBuffer_->height();
  const host::Rect outer{t->rect.left - kFrameWidth, t->rect.top - kFrameWidth,
                         t->rect.right + kFrameWidth, t->rect.bottom + kFrameWidth};
  auto* base = reinterpret_cast<uint8_t*>(backBuffer_->pixels());
  for (int y = std::max(0, outer.top); y < std::min(height, outer.bottom); ++y) {
    auto* row =
        reinterpret_cast<uint16_t*>(base + static_cast<ptrdiff_t>(y) * backBuffer_->pitch());
    const bool edgeRow = y < t->rect.top || y >= t->rect.bottom;
    for (int x = std::max(0, outer.left); x < std::min(width, outer.right); ++x)
      if (edgeRow || x < t->rect.left || x >= t->rect.right) row[x] = colour;
  }
}

}  // namespace media
