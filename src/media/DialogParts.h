// Pieces shared by the dialogs that are built in code (the input pad, the key calibration).
//
// Both are a 230 x 200 sprite scene centred on the page, laid out in pixels of the 240-pixel
// design width and scaled with the screen. Without a background picture the scene is a grey
// panel with a white frame; both colours are inverted (0xFFFFFF - c) when the dialog's text
// colour is dark, so the text stays readable. Their command keys show the big-key picture, or
// plain colours inverted by the same rule, with the label in the inverted text colour. A key
// moves one pixel down and right while pressed and goes back to its home place when released.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "media/Sprite.h"
#include "scene/Canvas.h"

namespace media {

class Runtime;

class Image;
class SceneSprite;

constexpr uint32_t invertColor(uint32_t c) {
  return 0xFFFFFF - (c & 0xFFFFFF);
}

// The mean of red, green and blue is below 128.
constexpr bool isDarkColor(uint32_t c) {
  return (((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF)) / 3 < 128;
}

// The sprite's place packed as homePosition holds it: x << 16 | y.
uint32_t homeOf(const Sprite& sprite);
// Puts the sprite at its home place moved by (offset, offset).
void goHome(Sprite& sprite, int offset);

// The picture `name` of `directory` from the run's sprite picture cache; null for an empty name
// or a file that cannot be loaded.
Image* dialogPicture(Runtime& runtime, std::string_view directory, std::string_view name);

// Adds the dialog's scene `sceneName` to `canvas` (hidden) with `background` (may be null) and,
// without one, the frame sprite `frameName` and the grey panel colour, inverted for dark text.
// Returns the scene, owned by the canvas.
SceneSprite* addDialogScene(scene::Canvas& canvas, std::string_view sceneName, Image* background,
                            std::string_view frameName, uint32_t textColor);

// A command key at design place (x, y) of design size (w, h) labelled `label`: the big-key
// picture (or plain colours when it is null), text size 16 centred and moved down by
// `textOffsetY`, in the inverted `textColor`, with button behaviour and its home place set.
std::unique_ptr<Sprite> commandKey(int x, int y, int w, int h, std::string_view label,
                                   Image* bigKey, uint32_t textColor, int textOffsetY);

}  // namespace media
