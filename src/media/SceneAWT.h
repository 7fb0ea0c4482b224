// SceneAWT: the layer of native controls on a page.
//
// Its objects are AWTComponents. The controls are child windows of the page, so the host draws
// them; the scene itself only writes the components' index labels when the page's type-to-tap
// mode is on, and it never has a picture of its own (a `buffered` setting is ignored). It covers
// the page's client area at (0, 0), so component positions are page positions.
//
// Ownership: the scene owns its components; each component's control lives in the page window
// from addComponent() until the scene (or the component) goes.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "host/Types.h"
#include "media/AWTComponent.h"
#include "scene/Scene.h"

namespace media {

class SceneAWT : public scene::Scene {
 public:
  static constexpr size_t kIndexLabelChars = 4;
  static constexpr int kIndexTextSize = 12;     // before display scaling
  static constexpr int kLabelGap = 8;           // labels start this far left of their control
  static constexpr size_t kMaxLabelChars = 30;  // characters of a label that are drawn

  SceneAWT(int width = 0, int height = 0);
  // Removes every component's control from the page window, last to first.
  ~SceneAWT() override;

  // Takes `component`, names it (at most 64 characters), gives it `indexLabel` (at most 4
  // characters) and appends it. When the scene is on a page the control is created in the
  // page's window right away; otherwise at the first draw after the scene joined a page.
  // Returns the component (null for null).
  AWTComponent* addComponent(std::unique_ptr<AWTComponent> component, std::string_view name,
                             std::string_view indexLabel = {});
  // The control of the component named `name`; null when there is none.
  NativeControl* controlOf(std::string_view name) const;
  AWTComponent* componentOf(std::string_view name) const;
  // Creates the controls of the components that have none yet; nothing when the scene is not on
  // a page with a window. Returns how many were made.
  int createControls();

  int indexTextOffsetX = 0;
  int indexTextOffsetY = 0;
  uint32_t indexTextColor = 0xFFFF00;  // 0x00RRGGBB
  // Cell height of the label font (display-scaled at construction).
  int indexTextSize;

  scene::DrawTarget bufferTarget() const override { return {}; }

 protected:
  // Writes the index labels on the page's drawing context: the controls are windows and have no
  // place in the scene's target.
  void drawContent(const scene::DrawTarget& target, int originX, int originY,
                   float seconds) override;
  bool createBuffer() override { return false; }

 private:
  void drawIndexLabels(host::Hdc dc);

  host::Hfont indexFont_ = 0;
  int indexFontSize_ = 0;
};

}  // namespace media
