// Twips, the unit in which windows and controls are laid out (1/1440 inch;
// 15 twips make a pixel at 96 dots per inch), and their one conversion to
// pixels. Edges are rounded, not sizes, so rectangles that touch in twips
// touch in pixels.
#pragma once

namespace orv {

struct TwipRect {
    float left = 0, top = 0, width = 0, height = 0;
};

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
};

struct PixelSize {
    int width = 0, height = 0;
};

// Twips in one pixel on a display of `dpi` dots per inch.
inline float TwipsPerPixel(int dpi) {
    return 1440.0f / static_cast<float>(dpi > 0 ? dpi : 96);
}

// The nearest whole pixel, halves away from zero.
int TwipsToPixels(double twips, double twipsPerPixel);

PixelRect ToPixels(const TwipRect& rect, double twipsPerPixelX, double twipsPerPixelY);

} // namespace orv
