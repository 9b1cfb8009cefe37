// The background work of the show: the pictures of a change opened and
// drawn at their boxes' sizes, and the wallpaper bitmap written, each on a
// thread of its own so the window keeps answering. When the work is done a
// message is posted to the window; a cancelled preparation stops reading its
// files and posts nothing. Each job owns what it touches, so a job that
// outlives its window harms nothing.
#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/slideshow_view.h"
#include "win32/picture_file.h"

namespace orv::win32 {

struct PreparedBitmap {
    platform::PreparedPicture picture;
    // Shared when two monitors show the same picture at the same size.
    std::shared_ptr<ScaledBitmap> bitmap;
};

class PicturePreparation {
  public:
    // Starts preparing on a new thread; `message` is posted to `window` when
    // all pictures are ready.
    static std::shared_ptr<PicturePreparation> Start(std::vector<platform::PictureRequest> requests,
                                                     HWND window, UINT message);
    void Cancel() { cancelled_ = true; }
    // The results once the message has come (empty before).
    std::vector<PreparedBitmap> TakeResults();

  private:
    void Run();

    std::vector<platform::PictureRequest> requests_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::vector<PreparedBitmap> results_;
};

// Writes `picture` as the wallpaper bitmap to the first of `targets` that
// takes it, on a new thread, then posts `message` to `window` with a pointer
// to a new std::optional<std::string> (the file written, or nothing) as its
// lParam; the window takes it over.
void StartWallpaperBitmap(std::string picture, std::vector<std::string> targets, HWND window,
                          UINT message);

} // namespace orv::win32
