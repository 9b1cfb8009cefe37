#include "slideshow/slideshow_form.h"

#include <cmath>
#include <cstdio>

#include "common/app_title.h"
#include "common/paths.h"
#include "slideshow/design.h"
#include "slideshow/layout.h"
#include "slideshow/picture_list.h"
#include "startup/password.h"

namespace orv::slideshow {

using platform::Label;
using platform::Surface;
using platform::Timer;

namespace {
constexpr int kMaxMovesKept = 10;
constexpr int kCtrlW = 23;
} // namespace

std::string WallpaperFileIn(std::string_view folder) {
    return WithTrailingBackslash(folder) + kAppTitle + ".bmp";
}

std::uint32_t DisplayInterval(int seconds) {
    return seconds <= 0 ? 0u : static_cast<std::uint32_t>(seconds) * 1000u;
}

std::string ClockText(const platform::LocalTime& time) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d ", time.hour % 100, time.minute % 100,
                  time.second % 100);
    return buffer;
}

SlideshowForm::SlideshowForm(platform::Platform& platform, saver::ProgramState& state,
                             audio::MusicControl& music, platform::SlideshowView& view)
    : platform_(platform), state_(state), music_(music), view_(view) {}

void SlideshowForm::Load() {
    const saver::ScreenSaver& saver = *state_.saver;
    previewMode_ = saver.PreviewMode();
    lastMouse_ = view_.CursorPosition();
    const float sw = view_.ScreenWidth();
    const float sh = view_.ScreenHeight();

    view_.SetBackColor(0);

    if (previewMode_)
        view_.SetPictureBox(kPreviewBox);
    else
        view_.SetPictureBox({0, 0, sw, sh});

    view_.SetLabelText(Label::NoPictures, "No Pictures in : \r" + saver.Path());
    view_.BringLabelToFront(Label::NoPictures);
    if (previewMode_) {
        view_.SetLabelRect(Label::NoPictures, kPreviewBox);
        view_.SetLabelFont(Label::NoPictures, 8, true);
    } else {
        view_.SetLabelRect(Label::NoPictures, {0, 0, sw, sh});
        view_.SetLabelFont(Label::NoPictures, 24, true);
    }

    view_.SetLabelVisible(Label::Credits, false);

    if (saver.ShowClock() != 0) {
        view_.SetLabelRect(Label::Clock,
                           {sw - kClockRightGap, sh - kClockBottomGap, kClockWidth, kClockHeight});
        view_.SetLabelText(Label::Clock, ClockText(platform_.clock.Now()));
    } else {
        view_.SetLabelVisible(Label::Clock, false);
        view_.SetTimerEnabled(Timer::Clock, false);
    }

    platform_.random.Seed();

    view_.SetLabelVisible(Label::NoPictures,
                          !LoadPictureList(platform_.files, saver.Path(), pictures_));

    if (previewMode_) {
        view_.SetTimerInterval(Timer::HostCheck, kHostCheckMs);
        return;
    }
    platform_.session.SetScreenSaverRunning(true);
    platform_.session.ShowCursor(false);
    try {
        if (saver.IsPlaylist()) {
            music_.LoadNotifyWindow();
            if (music_.LoadPlaylist(saver.MusicFile())) music_.Play(music_.CurrentTrack(), "");
        } else {
            music_.Play(saver.MusicFile(), " fullscreen repeat");
        }
    } catch (...) {
        // A load that fails is never unloaded: put the desktop back here,
        // or the system would go on believing a screen saver runs.
        platform_.session.SetScreenSaverRunning(false);
        platform_.session.ShowCursor(true);
        throw;
    }
}

void SlideshowForm::OnPictureTimer() {
    const int seconds = state_.saver ? state_.saver->Time() : 0;
    view_.SetTimerInterval(Timer::ShowPicture, DisplayInterval(seconds));
    ShowNextPicture();
}

void SlideshowForm::OnClockTimer() {
    view_.SetLabelText(Label::Clock, ClockText(platform_.clock.Now()));
}

void SlideshowForm::OnHostCheckTimer() {
    if (previewMode_ && !view_.PreviewHostExists()) RequestClose();
}

void SlideshowForm::ShowNextPicture() {
    const std::size_t count = pictures_.size() - 1;
    if (count == 0 || !state_.saver) return;
    if (view_.HasPicture()) view_.ReleasePicture();

    const double r = platform_.random.Next();
    std::size_t index = static_cast<std::size_t>(std::floor(static_cast<double>(count) * r)) + 1;
    if (index > count) index = count; // a generator that strays to 1.0 or beyond

    // An unreadable picture leaves an empty box until the next change.
    const std::optional<platform::PictureSize> natural = view_.LoadPicture(pictures_[index]);

    view_.SetPictureVisible(false);
    view_.SetPictureBox(LayoutPicture(view_.ScreenWidth(), view_.ScreenHeight(), natural,
                                      state_.saver->ScalePercentage(), previewMode_,
                                      view_.PictureBox()));
    view_.ShowCurrentPicture();
    view_.SetPictureVisible(true);
}

void SlideshowForm::RequestClose() {
    if (closeRequested_) return;
    closeRequested_ = true;
    view_.RequestClose();
}

void SlideshowForm::CountMouseMove(std::int16_t& counter) {
    if (previewMode_) return;
    ++counter;
    if (counter > kMaxMovesKept) {
        counter = 0;
        RequestClose();
    }
}

void SlideshowForm::OnMouseMove(Surface surface, platform::ScreenPoint where) {
    if (lastMouse_ && *lastMouse_ == where) return;
    lastMouse_ = where;
    switch (surface) {
    case Surface::NoPictures:
        CountMouseMove(noPicturesMoves_);
        break;
    case Surface::Clock:
        break; // the clock does not count moves
    case Surface::Picture:
        CountMouseMove(pictureMoves_);
        break;
    case Surface::Background:
        CountMouseMove(backgroundMoves_);
        break;
    }
}

void SlideshowForm::OnCharacter(int code) {
    if (!previewMode_ && code != kCtrlW) RequestClose();
}

void SlideshowForm::MakeWallpaper() {
    std::string file = WallpaperFileIn(state_.windowsFolder);
    if (!view_.SavePictureAsBitmap(file)) {
        // Where the Windows folder is closed to the user, the bitmap goes to
        // the user's own folder and the wallpaper points there.
        const std::string folder = platform_.wallpaper.UserFolder();
        if (!folder.empty()) {
            const std::string own = WallpaperFileIn(folder);
            if (view_.SavePictureAsBitmap(own)) file = own;
        }
    }
    platform_.wallpaper.Set(file);
}

void SlideshowForm::OnKeyDown(int keyCode, int shift) {
    if (shift == (kCtrlMask | kShiftMask) && keyCode == kKeyW) {
        MakeWallpaper();
    } else if (keyCode == kKeyPageDown) {
        view_.SetTimerEnabled(Timer::ShowPicture, false);
        ShowNextPicture();
        view_.SetTimerEnabled(Timer::ShowPicture, true);
    } else if (shift == kAltMask && keyCode == kKeyN) {
        if (state_.PlaylistConfigured()) music_.NextTrack();
    }
}

bool SlideshowForm::MayClose() {
    closeRequested_ = false;
    if (!state_.saver) return true;
    return startup::PasswordAllowsClose(platform_.session, *state_.saver, view_.WindowHandle());
}

void SlideshowForm::OnUnload() {
    if (!previewMode_) {
        if (state_.PlaylistConfigured()) music_.UnloadNotifyWindow();
        music_.Stop();
        platform_.session.SetScreenSaverRunning(false);
        platform_.session.ShowCursor(true);
    }
    if (view_.HasPicture()) view_.ReleasePicture();
    state_.saver.reset();
}

} // namespace orv::slideshow
