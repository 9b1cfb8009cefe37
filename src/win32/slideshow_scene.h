// What the slideshow window shows, and how it is drawn: a black background,
// one picture box per monitor with its picture at the drawn size, and the
// two labels, all in the window's client pixels. The window (slideshow_window)
// changes the scene as the form asks and paints it; the scene knows nothing
// of messages, timers or threads.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/slideshow_view.h"
#include "win32/picture_file.h"
#include "win32/unique_handle.h"

namespace orv::win32 {

struct LabelState {
    std::wstring text;
    PixelRect rect;
    bool visible = true;
    unique_hfont font;
};

struct MonitorPicture {
    PixelRect box;
    std::shared_ptr<const ScaledBitmap> bitmap; // what the box shows; none when empty
};

class SlideshowScene {
  public:
    SlideshowScene(); // the labels' design fonts at the screen's resolution

    std::vector<MonitorPicture> pictures;

    LabelState& LabelOf(platform::Label label) { return labels_.at(label); }
    const LabelState& LabelOf(platform::Label label) const { return labels_.at(label); }
    void SetLabelFont(platform::Label label, float points, bool bold, int dpi);
    PixelSize TextExtent(platform::Label label, const std::wstring& text) const;

    // What the point of the client area is over, topmost first.
    platform::Surface HitTest(POINT client) const;

    // Draws `area` of the window into `target` through an off-screen bitmap
    // copied in one go: no flicker, never half a picture.
    void Paint(HDC target, const RECT& area) const;

  private:
    void Draw(HDC dc, const RECT& area) const;
    void DrawLabel(HDC dc, const LabelState& label, COLORREF text, const COLORREF* back) const;

    std::map<platform::Label, LabelState> labels_; // every label, from the start
};

RECT ToRect(const PixelRect& r);

} // namespace orv::win32
