// What the slideshow's behaviour (SlideshowForm) needs from its window: the
// monitors it covers, the background jobs it runs (platform/show_jobs.h)
// and the pictures it puts on the screen, the two labels, the timers, the
// mouse and the close request. The window carries out what is asked here and
// hands each job's result back to the form, which alone decides what it is
// still good for; the host tests fake it.
#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/twips.h"
#include "platform/show_jobs.h"

namespace orv::platform {

enum class Label { NoPictures, Clock };
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

    // Runs the job off the user-interface thread; its result reaches the
    // form's OnPreparationFinished, also when it was cancelled or failed.
    virtual void StartPreparation(PreparationJob job) = 0;
    // Asks a running job to stop soon; its (empty) result still comes.
    virtual void CancelPreparation(JobId job) = 0;
    // Puts these pictures on the screen in place of all shown so far (a
    // monitor not named shows nothing) and draws them at once.
    virtual void ShowPictures(const std::vector<PreparedPicture>& pictures) = 0;
    // Writes the wallpaper bitmap off the user-interface thread; the result
    // reaches the form's OnWallpaperWritten.
    virtual void StartWallpaper(WallpaperJob job) = 0;
    // Waits up to `limit` for the wallpaper job to end; then the results of
    // the wallpaper jobs ended so far, none when it has not ended.
    virtual std::vector<WallpaperResult> WaitForWallpaper(JobId job,
                                                          std::chrono::milliseconds limit) = 0;

    virtual void SetLabelText(Label label, const std::string& text) = 0;
    virtual void SetLabelVisible(Label label, bool visible) = 0;
    virtual void SetLabelRect(Label label, const PixelRect& rect) = 0;
    // The label's font ("MS Sans Serif") at `points` for a monitor of `dpi`.
    virtual void SetLabelFont(Label label, float points, bool bold, int dpi) = 0;
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

// What the preview's watcher (slideshow::WatchPreview) looks at and does,
// from a thread of its own.
class PreviewWatch {
  public:
    virtual ~PreviewWatch() = default;
    // Waits up to `milliseconds` for the host's process to end; true when it
    // has. Where it cannot be watched, it only waits.
    virtual bool WaitForHostProcess(std::uint32_t milliseconds) = 0;
    virtual void Pause(std::uint32_t milliseconds) = 0;
    virtual bool PreviewExists() = 0;
    virtual bool HostExists() = 0;
    // Asks the preview window to close, from outside its thread.
    virtual void ClosePreview() = 0;
    // Ends the program's message loop.
    virtual void EndProgram() = 0;
};

} // namespace orv::platform
