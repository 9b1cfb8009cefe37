// What the slideshow's behaviour (SlideshowForm) needs from its window: the
// monitors it covers, the pictures prepared off the user-interface thread
// and shown per monitor, the wallpaper bitmap written in the background, the
// three labels, the timers, the mouse and the close request. The Windows
// layer draws what is set here; the host tests record it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/twips.h"

namespace orv::platform {

// A monitor the show covers: its place in the window's client pixels, its
// own dots per inch, and whether it is the primary one. A preview has one,
// with the primary monitor's size and scale, at the window's origin.
struct MonitorArea {
    PixelRect bounds;
    int dpi = 96;
    bool primary = false;
};

// Natural size of a picture in pixels, upright.
struct PictureSize {
    double width = 0, height = 0;
};

// Where a picture is drawn: in twips of its monitor (kept for the next
// layout) and in the window's client pixels.
struct PictureBox {
    TwipRect twips;
    PixelRect pixels;
};

// One monitor's next picture. `layout` gives its box for the picture's
// natural size (nothing when the file cannot be read); it is called on the
// preparing thread and holds nothing but values.
struct PictureRequest {
    std::size_t monitor = 0;
    std::string path;
    std::function<PictureBox(std::optional<PictureSize>)> layout;
};

// What was prepared for one monitor: its box, and whether a picture could
// be drawn into it (an empty box otherwise).
struct PreparedPicture {
    std::size_t monitor = 0;
    PictureBox box;
    bool drawn = false;
};

enum class Label { NoPictures, Clock, Credits };
// HostCheck runs in the preview only: it watches the host window.
enum class Timer { ShowPicture, Clock, HostCheck };

// What the mouse is over, topmost first: the "no pictures" message, the
// clock, a picture box, or the window itself.
enum class Surface { NoPictures, Clock, Picture, Background };

struct ScreenPoint {
    int x = 0, y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

class SlideshowView {
  public:
    virtual ~SlideshowView() = default;

    // The monitors in a fixed order, the primary first. The window's own
    // handle owns the password dialog.
    virtual std::vector<MonitorArea> Monitors() const = 0;
    virtual std::intptr_t WindowHandle() const = 0;
    // Where the mouse is, in screen pixels; nothing when it cannot be told.
    virtual std::optional<ScreenPoint> CursorPosition() const = 0;
    // Whether the preview's host window still exists.
    virtual bool PreviewHostExists() const = 0;
    virtual void SetBackColor(std::uint32_t rgb) = 0;

    // Opens and draws each request's picture at its box's size off the
    // user-interface thread (a picture chosen for several monitors of the
    // same box size is decoded once); when all are ready the window calls
    // the form's OnPicturesReady. Only one preparation runs at a time.
    virtual void PreparePictures(std::vector<PictureRequest> requests) = 0;
    // Puts each prepared picture in its monitor's box, releasing the one it
    // replaces: one picture a box is held once it is shown.
    virtual void ShowPreparedPictures() = 0;
    // Abandons a preparation: no OnPicturesReady follows for it.
    virtual void CancelPreparation() = 0;
    virtual void ReleasePictures() = 0;

    // Writes `picture`, upright, as a Windows bitmap to the first of
    // `targets` that takes it, off the user-interface thread; the window
    // then calls the form's OnWallpaperWritten with that file, or nothing
    // when none took it (each old file is then kept).
    virtual void WriteWallpaperBitmap(const std::string& picture,
                                      std::vector<std::string> targets) = 0;

    virtual void SetLabelText(Label label, const std::string& text) = 0;
    virtual void SetLabelVisible(Label label, bool visible) = 0;
    virtual void SetLabelRect(Label label, const PixelRect& rect) = 0;
    // The label's font ("MS Sans Serif") at `points` for a monitor of `dpi`.
    virtual void SetLabelFont(Label label, float points, bool bold, int dpi) = 0;
    virtual void BringLabelToFront(Label label) = 0;
    // The pixels `text` takes in the label's font.
    virtual PixelSize TextExtent(Label label, const std::string& text) const = 0;

    // Starts the timer's countdown afresh, to fire every `milliseconds`
    // (more than 0), or stops it.
    virtual void StartTimer(Timer timer, std::uint32_t milliseconds) = 0;
    virtual void StopTimer(Timer timer) = 0;

    // Asks the window to close: the form's MayClose runs from the window's
    // own message handling, after the current handler.
    virtual void RequestClose() = 0;
};

} // namespace orv::platform
