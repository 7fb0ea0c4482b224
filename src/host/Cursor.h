// The pointer shape over the program's window. The device shows none; the desktop shows the
// system arrow, I-beam or hand. The shape last set is kept for tests.
#pragma once

#include <cstdint>

namespace host {

using Hcursor = std::uint32_t;

constexpr int IDC_ARROW = 32512;
constexpr int IDC_IBEAM = 32513;
constexpr int IDC_HAND = 32649;

// The cursor of a system id; 0 for ids other than the three above.
Hcursor loadCursor(int id);
// Shows `cursor` (0: arrow) and returns the previous one.
Hcursor setCursor(Hcursor cursor);
Hcursor currentCursor();

}  // namespace host
