// The display's real resolution and the program's user-interface font, so
// twips and point sizes turn into the same pixels in every window.
#pragma once
#include "win32/unique_handle.h"

namespace orv::win32 {

struct ScreenDpi {
    int x = 96;
    int y = 96;
};

// Dots per inch of the screen; 96 when the screen cannot be asked.
ScreenDpi GetScreenDpi();

// "MS Sans Serif" (the system substitutes its modern equivalent) at `points`
// for a display of `dpiY` dots per inch.
unique_hfont MakeUiFont(double points, bool bold, int dpiY);

} // namespace orv::win32
