#include "pages/TeamSetup.h"

#include <cstdlib>

#include "game/Roster.h"
#include "media/Sprite.h"
#include "pages/RootScreens.h"

namespace pages {

namespace {

int sign(int v) {
  return (v > 0) - (v < 0);
}

int stepToward(int from, int to) {
  return from + sign(to - from);
}

}  // namespace

void TeamSetup::setUp(const TeamSetupObjects& objects, const std::vector<std::string>& characters) {
  setUp(objects.icons, objects.slots, objects.racers, objects.reset, characters);
}

void TeamSetup::setUp(const std::array<media::Sprite*, kSlots>& icons,
                      const std::array<media::Sprite*, kSlots>& slots,
                      const std::array<media::Sprite*, kSlots>& racers, media::Sprite* reset,
                      const std::vector<std::string>& characters) {
  icons_ = icons;
  slots_ = slots;
  racers_ = racers;
  reset_ = reset;
  characters_ = characters;
  fillPending_ = false;
  racerSlot_.fill(-1);
  for (int slot = 0; slot < kSlots; ++slot) emptySlot(slot);
  for (media::Sprite* racer : racers_)
    if (racer) racer->status = 0;
}

void TeamSetup::clear() {
  icons_.fill(nullptr);
  slots_.fill(nullptr);
  racers_.fill(nullptr);
  reset_ = nullptr;
  slotValue_.fill(-1);
  racerSlot_.fill(-1);
  fillPending_ = false;
}

void TeamSetup::emptySlot(int slot) {
  slotValue_[slot] = -1;
  if (slots_[slot]) slots_[slot]->setText("");
}

void TeamSetup::reset() {
  for (media::Sprite* racer : racers_)
    if (racer) racer->status = 0;
  // The portraits head home unbound, so the emptied slots are free at once.
  racerSlot_.fill(-1);
  for (int slot = 0; slot < kSlots; ++slot) emptySlot(slot);
}

bool TeamSetup::selected(int portrait) const {
  return racers_[portrait] && racers_[portrait]->status == 1;
}

int TeamSetup::selectedCount() const {
  int count = 0;
  for (int j = 0; j < kSlots; ++j) count += selected(j) ? 1 : 0;
  return count;
}

std::optional<int> TeamSetup::teamCode() const {
  std::array<int, kSlots> seated{};
  for (int slot = 0; slot < kSlots; ++slot) {
    if (slotValue_[slot] < 0) return std::nullopt;
    seated[slot] = slotValue_[slot];
  }
  return game::encodeTeam(seated);
}

void TeamSetup::animate() {
  if (reset_) reset_->visible = selectedCount() == kSlots;
  for (int j = 0; j < kSlots; ++j) {
    media::Sprite* racer = racers_[j];
    if (!racer) continue;
    if (selected(j) && racerSlot_[j] < 0) {
      for (int slot = 0; slot < kSlots; ++slot) {
        if (slots_[slot] && slots_[slot]->text().empty()) {
          racerSlot_[j] = slot;
          const size_t character = static_cast<size_t>(j);
          slots_[slot]->setText(character < characters_.size() ? characters_[character] : "?");
          break;
        }
      }
    }
    const media::Sprite* goal =
        selected(j) && racerSlot_[j] >= 0 ? slots_[racerSlot_[j]] : icons_[j];
    if (goal) moveToward(*racer, *goal, j);
  }
  // The rest are chosen once the frame is done, so that they take the free slots in portrait
  // order on the next one, whichever portrait arrived last.
  if (fillPending_) {
    fillPending_ = false;
    for (media::Sprite* other : racers_)
      if (other) other->status = 1;
  }
}

void TeamSetup::moveToward(media::Sprite& racer, const media::Sprite& goal, int portrait) {
  if (racer.x == goal.x && racer.y == goal.y && racer.width == goal.width &&
      racer.height == goal.height)
    return;
  const int dx = goal.x - racer.x;
  const int dy = goal.y - racer.y;
  racer.x += sign(dx) * (std::abs(dx) >> 2);
  racer.y += sign(dy) * (std::abs(dy) >> 2);
  racer.width = stepToward(racer.width, goal.width);
  racer.height = stepToward(racer.height, goal.height);
  if (std::abs(dx) > kSnapDistance || std::abs(dy) > kSnapDistance) return;
  racer.x = goal.x;
  racer.y = goal.y;
  racer.width = goal.width;
  racer.height = goal.height;
  const int slot = racerSlot_[portrait];
  if (!selected(portrait)) {
    // Home again: the slot it held (its name kept it from the others) is free again.
    if (slot >= 0) emptySlot(slot);
    racerSlot_[portrait] = -1;
    return;
  }
  if (slot < 0) return;
  slotValue_[slot] = portrait;
  if (selectedCount() >= 2 && selectedCount() < kSlots) fillPending_ = true;
}

}  // namespace pages
