// What the slideshow's behaviour (SlideshowForm) needs from its window: the
// screen in twips, the picture box and the picture on show, the three
// labels, the timers, the mouse and the close request. The Windows layer
// draws what is set here; the host tests record it.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "common/twips.h"

namespace orv::platform {

// Natural size of a picture; only the ratio matters.
struct PictureSize {
    double width = 0, height = 0;
};

enum class Label { NoPictures, Clock, Credits };
// HostCheck runs in the preview only: it watches the host window.
enum class Timer { ShowPicture, Clock, HostCheck };

// What the mouse is over, topmost first: the "no pictures" message, the
// clock, the picture box, or the window itself.
enum class Surface { NoPictures, Clock, Picture, Background };

struct ScreenPoint {
    int x = 0, y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

class SlideshowView {
  public:
    virtual ~SlideshowView() = default;

    // The screen in twips, and the window's own handle (the password owner).
    virtual float ScreenWidth() const = 0;
    virtual float ScreenHeight() const = 0;
    virtual std::intptr_t WindowHandle() const = 0;
    // Where the mouse is, in screen pixels; nothing when it cannot be told.
    virtual std::optional<ScreenPoint> CursorPosition() const = 0;
    // Whether the preview's host window still exists.
    virtual bool PreviewHostExists() const = 0;
    virtual void SetBackColor(std::uint32_t rgb) = 0;

    // The picture box: always stretched; shows the picture it was last given.
    virtual TwipRect PictureBox() const = 0;
    virtual void SetPictureBox(const TwipRect& box) = 0;
    virtual void SetPictureVisible(bool visible) = 0;
    // Gives the picture box the current picture (or none); drawn at the box's size.
    virtual void ShowCurrentPicture() = 0;

    // The current picture: one at most. Load reports its natural size, or
    // nothing when the file cannot be read (nothing is held then).
    virtual std::optional<PictureSize> LoadPicture(const std::string& path) = 0;
    virtual bool HasPicture() const = 0;
    virtual void ReleasePicture() = 0;
    // Writes the picture on show, whole and at its natural size, to a Windows
    // bitmap file; false when nothing is on show or the file cannot be written.
    virtual bool SavePictureAsBitmap(const std::string& bmpPath) = 0;

    virtual void SetLabelText(Label label, const std::string& text) = 0;
    virtual void SetLabelVisible(Label label, bool visible) = 0;
    virtual void SetLabelRect(Label label, const TwipRect& rect) = 0;
    virtual void SetLabelFont(Label label, float points, bool bold) = 0;
    virtual void BringLabelToFront(Label label) = 0;

    // Interval 0 stops a timer, as does disabling it; enabling it or setting
    // a new interval starts its countdown afresh.
    virtual void SetTimerInterval(Timer timer, std::uint32_t milliseconds) = 0;
    virtual void SetTimerEnabled(Timer timer, bool enabled) = 0;

    // Asks the window to close: the form's MayClose runs from the window's
    // own message handling, after the current handler.
    virtual void RequestClose() = 0;
};

} // namespace orv::platform
