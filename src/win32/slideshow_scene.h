// How the slideshow window's scene (slideshow/scene.h) is drawn: a black
// background, each monitor's picture in its box, and the two labels in
// their fonts. The window (slideshow_window) changes the scene as the form
// asks and paints it; the scene knows nothing of messages, timers or threads.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "slideshow/scene.h"
#include "win32/picture_file.h"
#include "win32/unique_handle.h"

namespace orv::win32 {

using slideshow::LabelState;
using slideshow::MonitorPicture;

// Its pictures' bitmaps are ScaledBitmaps.
class SlideshowScene : public slideshow::Scene {
  public:
    SlideshowScene(); // the labels' design fonts at the screen's resolution

    void SetLabelFont(platform::Label label, float points, bool bold, int dpi);
    PixelSize TextExtent(platform::Label label, const std::wstring& text) const;

    using Scene::HitTest;
    platform::Surface HitTest(POINT client) const {
        return Scene::HitTest(platform::ScreenPoint{client.x, client.y});
    }

    // Draws `area` of the window into `target` through an off-screen bitmap
    // copied in one go: no flicker, never half a picture.
    void Paint(HDC target, const RECT& area) const;

  private:
    void Draw(HDC dc, const RECT& area) const;
    void DrawLabel(HDC dc, platform::Label label, COLORREF text, const COLORREF* back) const;

    std::map<platform::Label, unique_hfont> fonts_; // every label's, from the start
};

RECT ToRect(const PixelRect& r);

} // namespace orv::win32
