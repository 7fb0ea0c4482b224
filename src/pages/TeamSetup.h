// TeamSetup: the four portraits of the team set-up screen, the team slots they move into and
// the team code they make.
//
// Portrait j ("sptRacer%d", a check box: selected = status 1) shows character j; its home place
// is "spticon%d". The team slots "sptbigicon%d" are the player's team (0, 1) and the enemies
// (2, 3); a slot's value is the number of the character seated in it, -1 when it is empty, and
// its text is that character's name while a portrait is bound to it.
//
// Every frame (animate()):
//   1. "btnReset" is shown exactly when all four portraits are selected.
//   2. A selected portrait without a slot binds to the first slot whose text is empty, and the
//      slot takes the character's name. A portrait's goal is its slot when selected, else its
//      home place.
//   3. A portrait away from its goal moves a quarter of the remaining distance on each axis
//      (integer, |d| >> 2 toward the goal) and grows or shrinks one pixel toward the goal's size.
//      Within 3 pixels on both axes it snaps to the goal's rectangle; an unselected portrait
//      then lets its slot go (the slot is emptied, so another portrait can take it), a selected
//      one seats its character (the slot's value becomes j) and, once at least two are
//      selected, every unselected portrait becomes selected (at the end of that frame): the
//      other characters fill the enemy slots in portrait order on the next.
// The sprites belong to the page; this object only points at them and must be set up again
// after each load of the screen.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace media {
class Sprite;
}

namespace pages {

struct TeamSetupObjects;

class TeamSetup {
 public:
  static constexpr int kSlots = 4;
  static constexpr int kSnapDistance = 3;

  // Points at the screen's sprites (a null one is left out) with `characters` naming the
  // portraits in order; every portrait unselected and unbound, every slot emptied.
  void setUp(const TeamSetupObjects& objects, const std::vector<std::string>& characters);
  void setUp(const std::array<media::Sprite*, kSlots>& icons,
             const std::array<media::Sprite*, kSlots>& slots,
             const std::array<media::Sprite*, kSlots>& racers, media::Sprite* reset,
             const std::vector<std::string>& characters);
  // Forgets the sprites (the screen is gone).
  void clear();

  // The reset command: every portrait unselected, every slot emptied (text "", value -1).
  void reset();
  // One frame of the animation above.
  void animate();

  int selectedCount() const;
  bool selected(int portrait) const;
  // The character seated in `slot` (-1: empty), and the slot portrait j is bound to (-1: none).
  int slotValue(int slot) const { return slotValue_[slot]; }
  int boundSlot(int portrait) const { return racerSlot_[portrait]; }
  // The team code (slot j's character number times 10^j, summed) when all four slots hold a
  // character; nothing otherwise.
  std::optional<int> teamCode() const;

 private:
  void emptySlot(int slot);
  void moveToward(media::Sprite& racer, const media::Sprite& goal, int portrait);

  std::array<media::Sprite*, kSlots> icons_{};
  std::array<media::Sprite*, kSlots> slots_{};
  std::array<media::Sprite*, kSlots> racers_{};
  media::Sprite* reset_ = nullptr;
  std::vector<std::string> characters_;
  std::array<int, kSlots> slotValue_{-1, -1, -1, -1};
  std::array<int, kSlots> racerSlot_{-1, -1, -1, -1};
  bool fillPending_ = false;
};

}  // namespace pages
