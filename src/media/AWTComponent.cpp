#include "media/AWTComponent.h"

#include <string>

#include "host/Gdi.h"
#include "host/Host.h"
#include "media/SpriteGdi.h"
#include "platform/ProcessSwitches.h"

namespace media {

AWTComponent::AWTComponent(int type, int id, int px, int py, int w, int h, std::string_view text,
                           bool wrap)
    : type_(NativeControl::validKind(type)),
      unattached_(std::make_unique<NativeControl>(type_, id, text, wrap)) {
  x = px;
  y = py;
  width = w;
  height = h;
  control_ = unattached_.get();
  setFont(platform::scaleInt(kDefaultFontSize), kDefaultFontFace, false, kDefaultFontWeight);
}

AWTComponent::~AWTComponent() {
  // The control may still refer to the font: it goes first.
  detach();
  unattached_.reset();
  if (font_) host::Host::get().gdi().deleteObject(font_);
}

int AWTComponent::typeOf(std::string_view word) {
  static constexpr const char* kWords[] = {"BUTTON", "EDIT",   "COMBOBOX", "LISTBOX",
                                           "LABEL",  "STATIC", "TEXTAREA"};
  for (int i = 0; i < 7; ++i)
    if (word == kWords[i]) return i;
  return NativeControl::kButton;
}

void AWTComponent::setFont(int size, std::string_view face, bool italic, int weight) {
  host::Hfont made = createFont(size, weight, italic, false, face);
  // The control is told about the new font before the old one disappears, so it never holds
  // a dead handle.
  if (control_ && control_->hwnd()) control_->setFont(made);
  host::Hfont old = font_;
  font_ = made;
  if (old && old != made) host::Host::get().gdi().deleteObject(old);
}

bool AWTComponent::attachTo(platform::Window& page) {
  if (page_ || !unattached_) return false;
  NativeControl* control = unattached_.get();
  if (!page.addChild(std::move(unattached_), x, y, width, height)) {
    // A window that could not be made is of no use; the page lets go of the object too.
    page.removeChild(control);
    control_ = nullptr;
    return false;
  }
  page_ = &page;
  control_->setFont(font_);
  if (!visible) control_->show(false);
  return true;
}

void AWTComponent::detach() {
  if (!page_) return;
  platform::Window* page = page_;
  page_ = nullptr;
  NativeControl* control = control_;
  control_ = nullptr;
  page->removeChild(control);
}

}  // namespace media
