// Widgets: the drawn building blocks of the screens (buttons, panels, backgrounds, the
// helicopter figure) so that every screen shares one look.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Picture.h"

namespace content {

enum class ButtonKind { kPrimary, kSecondary, kTab, kDanger };

// A button face of w x h with its label; `bright` is the pressed look.
Picture buttonFace(int w, int h, std::string_view label, ButtonKind kind, bool bright,
                   int textSize = 12);
// A round arrow button (left when `left`).
Picture arrowButton(int size, bool left, bool bright);
// A radio / check mark of h x h at the left of a transparent w x h strip.
Picture radioFace(int w, int h, bool checked);
// The shared screen background: night gradient, faint grid and a horizon glow.
Picture screenBackground(int w, int h, uint32_t seed);
// A panel with a thin light border and a darker fill.
void panel(Picture& target, int x, int y, int w, int h, uint32_t fill = 0);
// A title bar with big bold text centred in it.
void titleText(Picture& target, int y, std::string_view text, int size = 20);
// Side view of a helicopter, centred at (cx, cy), `length` pixels nose to tail, facing right
// unless `facingLeft`; `rotorPhase` in [0, 1) animates the blades.
void drawHelicopter(Picture& target, float cx, float cy, float length, uint32_t body, uint32_t trim,
                    float rotorPhase, bool facingLeft = false, float tilt = 0.0f);

}  // namespace content
