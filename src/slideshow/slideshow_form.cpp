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
// The widest time the clock shows, for the room its box needs.
constexpr const char* kWidestTime = "88:88:88 ";
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
    : platform_(platform), state_(state), music_(music),
      view_(view), timers_{{Timer::ShowPicture, {kFirstPictureMs, true}},
                           {Timer::Clock, {kClockMs, true}},
                           {Timer::HostCheck, {0, true}}} {}

void SlideshowForm::SetTimerInterval(Timer timer, std::uint32_t milliseconds) {
    timers_[timer].interval = milliseconds;
    ApplyTimer(timer);
}

void SlideshowForm::SetTimerEnabled(Timer timer, bool enabled) {
    timers_[timer].enabled = enabled;
    ApplyTimer(timer);
}

void SlideshowForm::ApplyTimer(Timer timer) {
    const TimerState& state = timers_[timer];
    if (state.enabled && state.interval > 0)
        view_.StartTimer(timer, state.interval);
    else
        view_.StopTimer(timer);
}

void SlideshowForm::Load() {
    const saver::ScreenSaver& saver = *state_.saver;
    previewMode_ = saver.PreviewMode();
    lastMouse_ = view_.CursorPosition();
    for (const auto& [timer, state] : timers_)
        ApplyTimer(timer);

    view_.SetBackColor(0);
    view_.SetLabelText(Label::NoPictures, "No Pictures in : \r" + saver.Path());
    view_.BringLabelToFront(Label::NoPictures);
    view_.SetLabelVisible(Label::Credits, false);
    if (saver.ShowClock() != 0) {
        view_.SetLabelText(Label::Clock, ClockText(platform_.clock.Now()));
    } else {
        view_.SetLabelVisible(Label::Clock, false);
        SetTimerEnabled(Timer::Clock, false);
    }
    LayOut();

    platform_.random.Seed();

    view_.SetLabelVisible(Label::NoPictures,
                          !LoadPictureList(platform_.files, saver.Path(), pictures_));

    if (previewMode_) {
        SetTimerInterval(Timer::HostCheck, kHostCheckMs);
        return;
    }
    platform_.session.SetScreenSaverRunning(true);
    platform_.session.ShowCursor(false);
}

// The music starts once the first picture is on the screen (or at the first
// tick, when there is none): opening a track can take the media device a
// second, and the first picture does not wait for it.
void SlideshowForm::StartMusic() {
    if (previewMode_ || musicStarted_ || !state_.saver) return;
    musicStarted_ = true;
    const saver::ScreenSaver& saver = *state_.saver;
    try {
        if (saver.IsPlaylist()) {
            music_.LoadNotifyWindow();
            if (music_.LoadPlaylist(saver.MusicFile())) music_.PlayTrack();
        } else {
            music_.Play(saver.MusicFile(), audio::PlayMode::Repeat);
        }
    } catch (...) {
        // Put the desktop back before the error ends the program, or the
        // system would go on believing a screen saver runs.
        platform_.session.SetScreenSaverRunning(false);
        platform_.session.ShowCursor(true);
        throw;
    }
}

// Places the boxes and labels on the monitors as they are now: each box
// covers its monitor (the small preview box in a preview) until a picture
// is fitted; the message and the clock go on the primary monitor.
void SlideshowForm::LayOut() {
    monitors_ = view_.Monitors();
    if (monitors_.empty()) monitors_.push_back({});
    boxes_.clear();
    for (const auto& monitor : monitors_) {
        const TwipSize size = MonitorTwips(monitor);
        boxes_.push_back(previewMode_ ? kPreviewBox : TwipRect{0, 0, size.width, size.height});
    }
    shown_.resize(monitors_.size());
    asked_.resize(monitors_.size());

    const platform::MonitorArea& primary = monitors_.front();
    const TwipSize screen = MonitorTwips(primary);
    if (previewMode_) {
        view_.SetLabelRect(Label::NoPictures, ToClient(primary, kPreviewBox));
        view_.SetLabelFont(Label::NoPictures, 8, true, primary.dpi);
    } else {
        view_.SetLabelRect(Label::NoPictures,
                           ToClient(primary, {0, 0, screen.width, screen.height}));
        view_.SetLabelFont(Label::NoPictures, 24, true, primary.dpi);
    }
    if (state_.saver && state_.saver->ShowClock() != 0) {
        view_.SetLabelFont(Label::Clock, kClockFontPoints, false, primary.dpi);
        view_.SetLabelRect(Label::Clock,
                           ClockBox(primary, view_.TextExtent(Label::Clock, kWidestTime)));
    }
}

void SlideshowForm::OnPictureTimer() {
    const int seconds = state_.saver ? state_.saver->Time() : 0;
    SetTimerInterval(Timer::ShowPicture, DisplayInterval(seconds));
    ShowNextPicture();
    if (!preparing_) StartMusic();
}

void SlideshowForm::OnClockTimer() {
    view_.SetLabelText(Label::Clock, ClockText(platform_.clock.Now()));
}

void SlideshowForm::OnHostCheckTimer() {
    if (previewMode_ && !view_.PreviewHostExists()) RequestClose();
}

void SlideshowForm::OnDisplayChange() {
    if (preparing_) {
        view_.CancelPreparation();
        preparing_ = false;
    }
    changeWaiting_ = false;
    LayOut();
    ShowNextPicture();
}

void SlideshowForm::ShowNextPicture() {
    if (pictures_.size() < 2 || !state_.saver) return;
    if (preparing_) {
        changeWaiting_ = true;
        return;
    }
    StartChange();
}

// Draws a picture at random for each monitor, the primary first, and has
// them prepared at the sizes their boxes will have.
void SlideshowForm::StartChange() {
    const std::size_t count = pictures_.size() - 1;
    const int scale = state_.saver->ScalePercentage();
    std::vector<platform::PictureRequest> requests;
    for (std::size_t m = 0; m < monitors_.size(); ++m) {
        const double r = platform_.random.Next();
        std::size_t index =
            static_cast<std::size_t>(std::floor(static_cast<double>(count) * r)) + 1;
        if (index > count) index = count; // a generator that strays to 1.0 or beyond
        asked_[m] = pictures_[index];
        requests.push_back({m, asked_[m],
                            [monitor = monitors_[m], scale, preview = previewMode_,
                             current = boxes_[m]](std::optional<platform::PictureSize> natural) {
                                const TwipSize size = MonitorTwips(monitor);
                                platform::PictureBox box;
                                box.twips = LayoutPicture(size.width, size.height, natural, scale,
                                                          preview, current);
                                box.pixels = ToClient(monitor, box.twips);
                                return box;
                            }});
    }
    preparing_ = true;
    view_.PreparePictures(std::move(requests));
}

void SlideshowForm::OnPicturesReady(const std::vector<platform::PreparedPicture>& prepared) {
    if (!preparing_) return;
    preparing_ = false;
    for (const auto& p : prepared) {
        if (p.monitor >= boxes_.size()) continue;
        boxes_[p.monitor] = p.box.twips;
        // An unreadable picture leaves an empty box until the next change.
        shown_[p.monitor] = p.drawn ? asked_[p.monitor] : std::string();
    }
    view_.ShowPreparedPictures();
    StartMusic();
    if (changeWaiting_) {
        changeWaiting_ = false;
        StartChange();
    }
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

// The primary monitor's picture becomes the wallpaper: written to the Windows
// folder or, where that is closed to the user, to the user's own folder.
// Nothing on show, or nothing written, leaves the wallpaper as it was.
void SlideshowForm::MakeWallpaper() {
    if (writingWallpaper_ || shown_.empty() || shown_.front().empty()) return;
    std::vector<std::string> targets{WallpaperFileIn(state_.windowsFolder)};
    const std::string own = platform_.wallpaper.UserFolder();
    if (!own.empty()) targets.push_back(WallpaperFileIn(own));
    writingWallpaper_ = true;
    view_.WriteWallpaperBitmap(shown_.front(), std::move(targets));
}

void SlideshowForm::OnWallpaperWritten(const std::optional<std::string>& file) {
    writingWallpaper_ = false;
    if (file) platform_.wallpaper.Set(*file);
}

void SlideshowForm::OnKeyDown(int keyCode, int shift) {
    if (shift == (kCtrlMask | kShiftMask) && keyCode == kKeyW) {
        MakeWallpaper();
    } else if (keyCode == kKeyPageDown) {
        SetTimerEnabled(Timer::ShowPicture, false);
        ShowNextPicture();
        SetTimerEnabled(Timer::ShowPicture, true);
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
    if (preparing_) view_.CancelPreparation();
    preparing_ = changeWaiting_ = false;
    if (!previewMode_) {
        if (state_.PlaylistConfigured()) music_.UnloadNotifyWindow();
        music_.Stop();
        platform_.session.SetScreenSaverRunning(false);
        platform_.session.ShowCursor(true);
    }
    view_.ReleasePictures();
    state_.saver.reset();
}

} // namespace orv::slideshow
