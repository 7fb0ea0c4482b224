// GuiCanvas: a page whose sprites behave as screen controls.
//
// The base canvas finds the sprite under the stylus; this page gives that sprite its meaning by
// its GUI kind: buttons and links light up while pressed, a link opens another screen in this
// page, a tip link shows and hides the element it names, an edit box opens the page's input
// pad, and check boxes toggle (alone) or select (in a group), writing their state into the
// page template and saving it when the box is persistent. The pointer shape follows what lies
// under the stylus. Every menu screen and the game page are GuiCanvases.
#pragma once

#include <string>
#include <string_view>

#include "host/Cursor.h"
#include "scene/Canvas.h"

namespace media {

class Sprite;

class GuiCanvas : public scene::Canvas {
 public:
  GuiCanvas(std::string_view name, bool buffered);

  // The press (WM_LBUTTONDOWN) or release (WM_LBUTTONUP) reaction of the sprite pressed last.
  // Objects that are not GUI sprites are left alone.
  void reactToStylus(scene::SceneObject& pressed, uint32_t message) override;
  // I-beam over an edit box, hand over any other GUI sprite, arrow elsewhere.
  void updateCursor(scene::SceneObject* hovered) override;

  // Stores `sprite`'s status, as decimal text, in the "status" item of the template property
  // named like the sprite (nothing when the page has no such property).
  void writeStatus(const Sprite& sprite);

 private:
  void pressCheckbox(Sprite& box);
  void openEditor(Sprite& box);
  scene::Scene* sceneHolding(const scene::SceneObject& object) const;

  host::Hcursor arrow_;
  host::Hcursor hand_;
  host::Hcursor ibeam_;
};

// The parts of an edit box's link text "n,title": the number n at its start (0 when there is
// none), and the title after the first comma (empty without a comma).
struct EditBoxSpec {
  int maxLength = 0;
  bool allowEmpty = true;
  std::string title;
};
EditBoxSpec parseEditBoxLink(std::string_view linkText);

}  // namespace media
