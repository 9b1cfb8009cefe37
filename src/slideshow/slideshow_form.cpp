#include "slideshow/slideshow_form.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "common/app_title.h"
#include "common/paths.h"
#include "saver/running_flag.h"
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

PreviewWatchStep NextPreviewWatchStep(bool previewExists, bool hostGone, bool& closeAsked) {
    if (!previewExists) return PreviewWatchStep::EndProgram;
    if (!hostGone || closeAsked) return PreviewWatchStep::KeepWatching;
    closeAsked = true;
    return PreviewWatchStep::Close;
}

void WatchPreview(platform::PreviewWatch& watch) {
    constexpr std::uint32_t kLookMs = 500;
    bool processGone = false, closeAsked = false;
    for (;;) {
        if (processGone)
            watch.Pause(kLookMs);
        else
            processGone = watch.WaitForHostProcess(kLookMs);
        const bool hostGone = processGone || !watch.HostExists();
        switch (NextPreviewWatchStep(watch.PreviewExists(), hostGone, closeAsked)) {
        case PreviewWatchStep::EndProgram:
            watch.EndProgram();
            return;
        case PreviewWatchStep::Close:
            watch.ClosePreview();
            break;
        case PreviewWatchStep::KeepWatching:
            break;
        }
    }
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

    view_.SetLabelText(Label::NoPictures, "No Pictures in : \r" + saver.Path());
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
    } else {
        saver::RaiseRunningFlag(platform_.session);
        platform_.session.ShowCursor(false);
    }
    inService_ = true;
}

WindowReply SlideshowForm::OnWindowEvent(const WindowEvent& event) {
    using Kind = WindowEvent::Kind;
    switch (event.kind) {
    case Kind::SystemKey:
        // Alt combinations neither close the show nor open a menu.
        return WindowReply::Handled;
    case Kind::SystemCommand:
        // No screen saver starts over the show.
        return event.flag ? WindowReply::Handled : WindowReply::Default;
    case Kind::Close:
        return !inService_ || MayClose() ? WindowReply::Destroy : WindowReply::Handled;
    case Kind::SessionEnd:
        // The show ends as its close does, without the password check,
        // before the system ends the process.
        return event.flag ? WindowReply::Destroy : WindowReply::Handled;
    case Kind::Destroying:
        // Nothing reaches the form once its unload has begun but the
        // wallpaper it waits for.
        if (std::exchange(inService_, false)) OnUnload();
        return WindowReply::Handled;
    default:
        break;
    }
    if (!inService_) return WindowReply::Handled;
    switch (event.kind) {
    case Kind::Timer:
        OnTimer(event.timer);
        break;
    case Kind::DisplayChange:
        OnDisplayChange();
        break;
    case Kind::MouseMove:
        OnMouseMove(event.surface, event.where);
        break;
    case Kind::KeyDown:
        OnKeyDown(event.code, event.shift);
        break;
    case Kind::Character:
        OnCharacter(event.code);
        break;
    default:
        break;
    }
    return WindowReply::Handled;
}

void SlideshowForm::OnJobsFinished(const std::vector<platform::PreparationResult>& preparations,
                                   const std::vector<platform::WallpaperResult>& wallpapers) {
    for (const platform::PreparationResult& result : preparations)
        if (inService_) OnPreparationFinished(result);
    for (const platform::WallpaperResult& result : wallpapers)
        if (inService_) OnWallpaperWritten(result);
}

// The music starts once the first picture is on the screen (or at the first
// tick, when there is none): opening a track can take the media device a
// second, and the first picture does not wait for it.
void SlideshowForm::StartMusic() {
    if (previewMode_ || musicStarted_ || !state_.saver) return;
    musicStarted_ = true;
    const saver::ScreenSaver& saver = *state_.saver;
    if (saver.IsPlaylist()) {
        music_.LoadNotifyWindow();
        if (music_.LoadPlaylist(saver.MusicFile())) music_.PlayTrack();
    } else {
        music_.Play(saver.MusicFile(), audio::PlayMode::Repeat);
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

void SlideshowForm::OnTimer(Timer timer) {
    switch (timer) {
    case Timer::ShowPicture:
        OnPictureTimer();
        break;
    case Timer::Clock:
        OnClockTimer();
        break;
    case Timer::HostCheck:
        OnHostCheckTimer();
        break;
    }
}

void SlideshowForm::OnPictureTimer() {
    const int seconds = state_.saver ? state_.saver->Time() : 0;
    SetTimerInterval(Timer::ShowPicture, DisplayInterval(seconds));
    ShowNextPicture();
    if (!running_.id) StartMusic();
}

void SlideshowForm::OnClockTimer() {
    view_.SetLabelText(Label::Clock, ClockText(platform_.clock.Now()));
}

void SlideshowForm::OnHostCheckTimer() {
    if (previewMode_ && !view_.PreviewHostExists()) RequestClose();
}

// What is prepared or being prepared was laid out for the monitors as they
// were: it is abandoned, and the change for the new layout starts once the
// abandoned job has stopped (a burst of display changes makes one more
// change, not a burst).
void SlideshowForm::OnDisplayChange() {
    LayOut();
    ready_.reset();
    if (running_.id && runningWanted_) {
        view_.CancelPreparation(running_.id);
        runningWanted_ = false;
    }
    if (started_) changeWaiting_ = true;
    PrepareAhead();
}

// The change prepared ahead goes on the screen at once; when it is not ready
// yet, it goes there as soon as it is.
void SlideshowForm::ShowNextPicture() {
    if (pictures_.size() < 2 || !state_.saver) return;
    started_ = true;
    if (ready_) {
        Present(std::move(*ready_));
        ready_.reset();
    } else {
        changeWaiting_ = true;
    }
    PrepareAhead();
}

// While a change is on show the next one is prepared: whenever nothing is
// being prepared and nothing is ready, a job starts. So the show holds at
// most two pictures a monitor, the one on show and the next.
void SlideshowForm::PrepareAhead() {
    if (!started_ || running_.id || ready_ || pictures_.size() < 2 || !state_.saver) return;
    const std::size_t count = pictures_.size() - 1;
    platform::PreparationJob job;
    job.id = ++lastJob_;
    job.scalePercentage = state_.saver->ScalePercentage();
    job.preview = previewMode_;
    // A picture at random for each monitor, the primary first.
    for (std::size_t m = 0; m < monitors_.size(); ++m) {
        const double r = platform_.random.Next();
        std::size_t index =
            static_cast<std::size_t>(std::floor(static_cast<double>(count) * r)) + 1;
        if (index > count) index = count; // a generator that strays to 1.0 or beyond
        job.monitors.push_back({m, pictures_[index], monitors_[m], boxes_[m]});
    }
    running_ = job;
    runningWanted_ = true;
    view_.StartPreparation(std::move(job));
}

void SlideshowForm::OnPreparationFinished(const platform::PreparationResult& result) {
    if (!result.id || result.id != running_.id) return; // not the job waited for
    PreparedChange change{std::move(running_), result};
    running_ = {};
    if (runningWanted_) {
        runningWanted_ = false;
        if (changeWaiting_)
            Present(std::move(change));
        else
            ready_ = std::move(change);
    }
    PrepareAhead();
}

// Puts a prepared change on the screen. A monitor the result leaves out, or
// whose picture could not be drawn, shows an empty box until the next change.
void SlideshowForm::Present(PreparedChange change) {
    changeWaiting_ = false;
    std::fill(shown_.begin(), shown_.end(), std::string());
    for (const auto& p : change.result.pictures) {
        if (p.monitor >= boxes_.size() || p.monitor >= change.job.monitors.size()) continue;
        boxes_[p.monitor] = p.box.twips;
        if (p.bitmap) shown_[p.monitor] = change.job.monitors[p.monitor].path;
    }
    view_.ShowPictures(change.result.pictures);
    StartMusic();
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
    if (wallpaperJob_ || shown_.empty() || shown_.front().empty()) return;
    platform::WallpaperJob job{++lastJob_, shown_.front(), {WallpaperFileIn(state_.windowsFolder)}};
    const std::string own = platform_.wallpaper.UserFolder();
    if (!own.empty()) job.targets.push_back(WallpaperFileIn(own));
    wallpaperJob_ = job.id;
    view_.StartWallpaper(std::move(job));
}

void SlideshowForm::OnWallpaperWritten(const platform::WallpaperResult& result) {
    if (!result.id || result.id != wallpaperJob_) return;
    wallpaperJob_ = 0;
    if (result.written) platform_.wallpaper.Set(*result.written);
}

void SlideshowForm::OnKeyDown(int keyCode, int shift) {
    if (shift == (kCtrlMask | kShiftMask) && keyCode == kKeyW) {
        MakeWallpaper();
    } else if (keyCode == kKeyPageDown) {
        SetTimerEnabled(Timer::ShowPicture, false);
        ShowNextPicture();
        SetTimerEnabled(Timer::ShowPicture, true);
    } else if (shift == kAltMask && keyCode == kKeyN) {
        music_.NextTrack(); // nothing without a playlist
    }
}

bool SlideshowForm::MayClose() {
    closeRequested_ = false;
    if (!state_.saver) return true;
    return startup::PasswordAllowsClose(platform_.session, *state_.saver, view_.WindowHandle());
}

void SlideshowForm::OnUnload() {
    // A wallpaper asked for is set before the show ends.
    if (wallpaperJob_)
        for (const platform::WallpaperResult& result :
             view_.WaitForWallpaper(wallpaperJob_, kWallpaperWait))
            OnWallpaperWritten(result);
    if (running_.id && runningWanted_) view_.CancelPreparation(running_.id);
    running_ = {};
    ready_.reset();
    runningWanted_ = changeWaiting_ = started_ = false;
    wallpaperJob_ = 0;
    if (!previewMode_) {
        music_.UnloadNotifyWindow();
        music_.Stop();
        saver::LowerRunningFlag(platform_.session);
        platform_.session.ShowCursor(true);
    }
    view_.ShowPictures({});
    state_.saver.reset();
}

} // namespace orv::slideshow
