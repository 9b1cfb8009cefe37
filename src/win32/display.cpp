#include "win32/display.h"

#include <windows.h>

#include <cmath>

namespace orv::win32 {

ScreenDpi GetScreenDpi() {
    ScreenDpi dpi;
    const WindowDc screen(nullptr);
    if (screen.get()) {
        const int x = GetDeviceCaps(screen.get(), LOGPIXELSX);
        const int y = GetDeviceCaps(screen.get(), LOGPIXELSY);
        if (x > 0) dpi.x = x;
        if (y > 0) dpi.y = y;
    }
    return dpi;
}

unique_hfont MakeUiFont(double points, bool bold, int dpiY) {
    const int height = -static_cast<int>(std::lround(points * dpiY / 72.0));
    return unique_hfont(CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                    FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
}

} // namespace orv::win32
