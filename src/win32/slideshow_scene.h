// What the slideshow window shows, and how it is drawn: the back colour, the
// picture box with the picture at its drawn size, and the labels, all placed
// in twips. The window (slideshow_window) changes the scene as the form asks
// and paints it; the scene knows nothing of messages or timers.
#pragma once
#include <windows.h>

#include <map>
#include <string>

#include "platform/slideshow_view.h"
#include "slideshow/design.h"
#include "win32/picture_file.h"
#include "win32/unique_handle.h"

namespace orv::win32 {

struct LabelState {
    std::wstring text;
    TwipRect rect;
    bool visible = true;
    float points = slideshow::kLabelFontPoints;
    bool bold = false;
    unique_hfont font;
};

class SlideshowScene {
  public:
    SlideshowScene(); // the controls' design values, at the screen's resolution

    COLORREF backColor = RGB(0, 0, 0);
    TwipRect box;
    bool pictureVisible = true;
    ScaledBitmap shown; // what the picture box shows, at its size

    LabelState& LabelOf(platform::Label label) { return labels_.at(label); }
    const LabelState& LabelOf(platform::Label label) const { return labels_.at(label); }
    void SetLabelFont(platform::Label label, float points, bool bold);
    float TwipsPerPixel() const { return twipsPerPixel_; }

    RECT ToPixels(const TwipRect& r) const;
    // What the point of the client area is over, topmost first.
    platform::Surface HitTest(POINT client) const;

    // Draws `area` of the window into `target` through an off-screen bitmap
    // copied in one go: no flicker, never half a picture.
    void Paint(HDC target, const RECT& area) const;

  private:
    void Draw(HDC dc, const RECT& area) const;
    void DrawLabel(HDC dc, const LabelState& label, COLORREF text, const COLORREF* back) const;

    float twipsPerPixel_ = 15;
    int dpiY_ = 96;
    std::map<platform::Label, LabelState> labels_; // every label, from the start
};

} // namespace orv::win32
