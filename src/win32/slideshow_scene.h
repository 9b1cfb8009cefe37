// How the slideshow window's scene (slideshow/scene.h) is drawn: a black
// background, each monitor's picture in its box, and the labels in their
// fonts, in the scene's order. The window changes the scene as the show
// asks and paints it; the scene knows nothing of messages, timers or
// threads.
#pragma once
#include <windows.h>

#include <map>
#include <string>

#include "slideshow/scene.h"
#include "win32/picture_file.h"
#include "win32/unique_handle.h"

namespace orv::win32 {

using slideshow::LabelState;
using slideshow::MonitorPicture;

// Its pictures' bitmaps are ScaledBitmaps.
class SlideshowScene : public slideshow::Scene {
  public:
    // The label as the show has set it, its font made anew when it changed.
    void SetLabel(slideshow::Label label, const LabelState& state);
    // The pixels `text` takes in `font`.
    static PixelSize TextExtent(const slideshow::LabelFont& font, const std::wstring& text);

    // Draws `area` of the window into `target` through an off-screen bitmap
    // copied in one go: no flicker, never half a picture.
    void Paint(HDC target, const RECT& area) const;

  private:
    void Draw(HDC dc, const RECT& area) const;
    void DrawLabel(HDC dc, slideshow::Label label) const;

    std::map<slideshow::Label, unique_hfont> fonts_;
};

RECT ToRect(const PixelRect& r);

} // namespace orv::win32
