#include "slideshow/show_engine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <type_traits>
#include <utility>

#include "common/app_title.h"
#include "common/paths.h"
#include "slideshow/design.h"
#include "slideshow/layout.h"

namespace orv::slideshow {

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

ShowEngine::ShowEngine(ShowSettings settings, platform::Random& random)
    : settings_(std::move(settings)), random_(random) {}

ShowActions ShowEngine::Handle(const ShowEvent& event) {
    out_.clear();
    const bool running = phase_ == Phase::Running;
    // Input counts only while the show runs; the timers, the jobs and the
    // displays also while the password is asked for.
    const bool live = running || phase_ == Phase::CheckingPassword;
    std::visit(
        [&](const auto& e) {
            using E = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<E, Start>) {
                if (phase_ == Phase::Loading) OnStart(e);
            } else if constexpr (std::is_same_v<E, Tick>) {
                OnTick(e);
            } else if constexpr (std::is_same_v<E, DisplayChanged>) {
                if (live) OnDisplayChanged(e.display);
            } else if constexpr (std::is_same_v<E, MouseMoved>) {
                if (running) OnMouseMoved(e);
            } else if constexpr (std::is_same_v<E, KeyDown>) {
                if (running) OnKeyDown(e);
            } else if constexpr (std::is_same_v<E, Typed>) {
                if (running && !settings_.preview && e.code != kCtrlW) AskClose();
            } else if constexpr (std::is_same_v<E, CloseAsked>) {
                AskClose();
            } else if constexpr (std::is_same_v<E, PasswordChecked>) {
                if (phase_ != Phase::CheckingPassword) return;
                phase_ = Phase::Running;
                if (e.accepted) Close(true);
            } else if constexpr (std::is_same_v<E, SessionEnding>) {
                if (live)
                    Close(false);
                else if (phase_ == Phase::Closing)
                    Finish();
            } else if constexpr (std::is_same_v<E, Deactivated>) {
                if (running && !settings_.preview && !e.ours) AskClose();
            } else if constexpr (std::is_same_v<E, DisplayPower>) {
                if (live && e.on != displaysOn_) OnDisplayPower(e.on);
            } else if constexpr (std::is_same_v<E, HostChecked>) {
                if (!settings_.preview || phase_ == Phase::Ended) return;
                if (!e.previewAlive)
                    Finish();
                else if (!e.hostAlive && live)
                    Close(false);
            } else if constexpr (std::is_same_v<E, PreparationDone>) {
                if (live) OnPreparationDone(e.result);
            } else if constexpr (std::is_same_v<E, WallpaperDone>) {
                OnWallpaperDone(e.result);
            } else if constexpr (std::is_same_v<E, Destroyed>) {
                if (live) Close(false);
                if (phase_ == Phase::Closing) Finish();
            } else if constexpr (std::is_same_v<E, TextMeasured>) {
                if (!live || e.label == Label::NoPictures) return;
                LabelState& label = scene_.LabelOf(e.label);
                if (e.label == Label::Clock)
                    label.rect = ClockBox(monitors_.front(), clockText_ = e.size);
                else
                    label.rect = PausedBox(monitors_.front(), pausedText_ = e.size);
                out_.push_back(SetLabel{e.label, label});
            }
        },
        event);
    return std::exchange(out_, {});
}

void ShowEngine::OnStart(const Start& start) {
    lastMouse_ = start.cursor;
    pictures_ = start.pictures;
    pictureInterval_ = kFirstPictureMs;
    RestartPictureTimer();
    out_.push_back(SetTimer{Timer::Clock, settings_.showClock ? kClockMs : 0});

    LabelState& message = scene_.LabelOf(Label::NoPictures);
    message.text = "No Pictures in : \r" + settings_.picturesFolder;
    message.visible = pictures_.empty();
    LabelState& clock = scene_.LabelOf(Label::Clock);
    clock.visible = settings_.showClock;
    if (settings_.showClock) clock.text = ClockText(start.now);
    scene_.LabelOf(Label::Paused).text = kPausedText;
    LayOut(start.display);

    random_.Seed();
    if (!settings_.preview) out_.push_back(TakeOverDesktop{true});
    phase_ = Phase::Running;
}

void ShowEngine::OnTick(const Tick& tick) {
    const bool live = phase_ == Phase::Running || phase_ == Phase::CheckingPassword;
    switch (tick.timer) {
    case Timer::ShowPicture:
        // A tick already on its way when the show was paused counts no more.
        if (!live || paused_ || !displaysOn_) return;
        pictureInterval_ = DisplayInterval(settings_.displayTime);
        RestartPictureTimer();
        ShowNextPicture();
        if (!running_.id) StartMusic();
        break;
    case Timer::Clock:
        if (!live || !settings_.showClock) return;
        scene_.LabelOf(Label::Clock).text = ClockText(tick.now);
        out_.push_back(SetLabel{Label::Clock, scene_.LabelOf(Label::Clock)});
        break;
    case Timer::WallpaperWait:
        // The wallpaper took too long: the show ends without it.
        if (phase_ != Phase::Closing) return;
        out_.push_back(CancelJob{std::exchange(wallpaperJob_, 0)});
        Finish();
        break;
    }
}

void ShowEngine::RestartPictureTimer() {
    out_.push_back(SetTimer{Timer::ShowPicture, paused_ || !displaysOn_ ? 0 : pictureInterval_});
}

// Places the window, the boxes and the labels on the monitors as they are
// now: a full-screen window covers every monitor, each box covers its
// monitor (the small preview box in a preview) until a picture is fitted;
// the message, the clock and the paused sign go on the primary monitor, the
// clock and the sign as wide as their texts in their font, which the window
// measures.
void ShowEngine::LayOut(const Display& display) {
    ScreenPoint origin;
    if (!settings_.preview) {
        const PixelRect area = CoveringRect(display.monitors, display.primaryScreen);
        out_.push_back(PlaceWindow{area});
        origin = {area.x, area.y};
    }
    monitors_ = ShowMonitors(display.monitors, display.primaryScreen, !settings_.preview, origin,
                             display.previewDpi);
    boxes_.clear();
    for (const auto& monitor : monitors_) {
        const TwipSize size = MonitorTwips(monitor);
        boxes_.push_back(settings_.preview ? kPreviewBox : TwipRect{0, 0, size.width, size.height});
    }
    shown_.resize(monitors_.size());

    const platform::MonitorArea& primary = monitors_.front();
    const TwipSize screen = MonitorTwips(primary);
    LabelState& message = scene_.LabelOf(Label::NoPictures);
    message.rect = ToClient(
        primary, settings_.preview ? kPreviewBox : TwipRect{0, 0, screen.width, screen.height});
    message.font = {settings_.preview ? 8.0f : 24.0f, true, primary.dpi};
    LabelState& clock = scene_.LabelOf(Label::Clock);
    clock.font = {kClockFontPoints, false, primary.dpi};
    clock.rect = ClockBox(primary, clockText_);
    LabelState& paused = scene_.LabelOf(Label::Paused);
    paused.font = clock.font;
    paused.rect = PausedBox(primary, pausedText_);
    for (Label label : Scene::kLabelsBottomUp)
        out_.push_back(SetLabel{label, scene_.LabelOf(label)});
    if (settings_.showClock)
        out_.push_back(MeasureText{Label::Clock, clock.font, kWidestClockText});
    out_.push_back(MeasureText{Label::Paused, paused.font, kPausedText});
}

// The music starts once the first picture is on the screen (or at the first
// tick, when there is none): opening a track can take the media device a
// second, and the first picture does not wait for it.
void ShowEngine::StartMusic() {
    if (settings_.preview || musicStarted_) return;
    musicStarted_ = true;
    out_.push_back(PlayMusic{settings_.musicFile, IsPlaylistName(settings_.musicFile)});
}

// What is prepared or being prepared was laid out for the monitors as they
// were: it is abandoned, and the change for the new layout starts once the
// abandoned job has stopped (a burst of display changes makes one more
// change, not a burst).
void ShowEngine::OnDisplayChanged(const Display& display) {
    LayOut(display);
    ready_.reset();
    AbandonRunning();
    if (started_ && !historyWanted_) changeWaiting_ = true;
    PrepareAhead();
}

// Nothing is prepared behind dark displays and the timer stands still; when
// they come back a new change comes at once.
void ShowEngine::OnDisplayPower(bool on) {
    displaysOn_ = on;
    if (!on)
        AbandonRunning();
    else if (started_)
        ShowNextPicture();
    RestartPictureTimer();
}

void ShowEngine::AbandonRunning() {
    if (running_.id && runningWanted_) {
        out_.push_back(CancelJob{running_.id});
        runningWanted_ = false;
    }
}

// The change prepared ahead goes on the screen at once; when it is not ready
// yet, it goes there as soon as it is. A change of the history on its way
// gives way to it.
void ShowEngine::ShowNextPicture() {
    if (pictures_.empty()) return;
    started_ = true;
    historyWanted_.reset();
    if (runningFromHistory_) AbandonRunning();
    if (ready_) {
        Present(std::move(*ready_), false);
        ready_.reset();
    } else {
        changeWaiting_ = true;
    }
    PrepareAhead();
}

void ShowEngine::ShowEarlierPicture() {
    if (history_.empty() || historyAt_ == 0) return;
    historyWanted_ = history_[--historyAt_];
    changeWaiting_ = false;
    // A change of the history on its way gives way to this one; a change
    // prepared ahead is let finish and kept for the next Page Down.
    if (runningFromHistory_) AbandonRunning();
    PrepareAhead();
}

// One picture at random; a monitor after the first draws again while its
// picture is on another monitor of the change, as long as the folder holds
// a picture for every monitor.
std::string ShowEngine::PickPicture(const ChangePictures& drawnSoFar) {
    const std::size_t count = pictures_.size();
    const auto draw = [&] {
        auto index =
            static_cast<std::size_t>(std::floor(static_cast<double>(count) * random_.Next()));
        return pictures_[std::min(index, count - 1)]; // a generator that strays to 1.0
    };
    const auto taken = [&](const std::string& p) {
        return std::find(drawnSoFar.begin(), drawnSoFar.end(), p) != drawnSoFar.end();
    };
    std::string picture = draw();
    if (count < monitors_.size()) return picture;
    // A generator that keeps repeating itself gets a few more tries, then
    // the first picture of the list not on show yet.
    for (int tries = 0; taken(picture) && tries < 32; ++tries)
        picture = draw();
    for (std::size_t i = 0; taken(picture) && i < count; ++i)
        picture = pictures_[i];
    return picture;
}

PreparationJob ShowEngine::MakeJob(const ChangePictures& pictures) {
    PreparationJob job;
    job.id = ++lastJob_;
    job.scalePercentage = settings_.scalePercentage;
    job.preview = settings_.preview;
    for (std::size_t m = 0; m < monitors_.size(); ++m)
        job.monitors.push_back(
            {m, pictures[m], monitors_[m], boxes_[m], failed_.count(pictures[m]) > 0});
    return job;
}

// One preparation at a time: a change of the history Page Up asked for
// first, else, while a change is on show, the next one (whenever nothing is
// ready). So the show holds at most two pictures a monitor.
void ShowEngine::PrepareAhead() {
    if (!started_ || running_.id || !displaysOn_ || pictures_.empty()) return;
    ChangePictures pictures;
    if (historyWanted_) {
        pictures = *historyWanted_;
        // A monitor added since draws anew.
        while (pictures.size() < monitors_.size())
            pictures.push_back(PickPicture(pictures));
        pictures.resize(monitors_.size());
    } else if (!ready_) {
        // A picture at random for each monitor, the primary first.
        for (std::size_t m = 0; m < monitors_.size(); ++m)
            pictures.push_back(PickPicture(pictures));
    } else {
        return;
    }
    running_ = MakeJob(pictures);
    runningWanted_ = true;
    runningFromHistory_ = historyWanted_.has_value();
    out_.push_back(StartPreparation{running_});
}

void ShowEngine::OnPreparationDone(const PreparationResult& result) {
    if (!result.id || result.id != running_.id) return; // not the job waited for
    PreparedChange change{std::move(running_), result};
    running_ = {};
    if (std::exchange(runningWanted_, false)) {
        if (std::exchange(runningFromHistory_, false)) {
            historyWanted_.reset();
            Present(std::move(change), true);
        } else if (changeWaiting_) {
            Present(std::move(change), false);
        } else {
            ready_ = std::move(change);
        }
    }
    runningFromHistory_ = false;
    PrepareAhead();
}

// Puts a prepared change on the screen. A monitor the result leaves out, or
// whose picture could not be drawn, shows an empty box until the next change;
// a picture that failed is remembered and not read again.
void ShowEngine::Present(PreparedChange change, bool fromHistory) {
    if (!fromHistory) changeWaiting_ = false;
    std::fill(shown_.begin(), shown_.end(), std::string());
    scene_.pictures.clear();
    ChangePictures pictures;
    for (const auto& m : change.job.monitors)
        pictures.push_back(m.path);
    for (const auto& p : change.result.pictures) {
        if (p.monitor >= boxes_.size() || p.monitor >= change.job.monitors.size()) continue;
        boxes_[p.monitor] = p.box.twips;
        scene_.pictures.push_back({p.box.pixels, p.bitmap});
        if (p.bitmap) shown_[p.monitor] = pictures[p.monitor];
        if (p.failed) failed_.insert(pictures[p.monitor]);
    }
    if (!fromHistory) {
        history_.push_back(std::move(pictures));
        if (history_.size() > kHistoryDepth + 1) history_.erase(history_.begin());
        historyAt_ = history_.size() - 1;
    }
    out_.push_back(ShowPictures{std::move(change.result.pictures)});
    StartMusic();
}

void ShowEngine::CountMouseMove(std::int16_t& counter) {
    if (settings_.preview) return;
    ++counter;
    if (counter > kMaxMovesKept) {
        counter = 0;
        AskClose();
    }
}

// Windows also reports a "move" when a window appears or changes under a
// resting mouse: only a real change of place counts.
void ShowEngine::OnMouseMoved(const MouseMoved& move) {
    if (lastMouse_ && *lastMouse_ == move.screen) return;
    lastMouse_ = move.screen;
    switch (scene_.HitTest(move.client)) {
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

void ShowEngine::OnKeyDown(const KeyDown& key) {
    if (key.code == kKeyProcessedByInputMethod) {
        // A key an input method took would have typed a character.
        if (!settings_.preview) AskClose();
    } else if (key.shift == (kCtrlMask | kShiftMask) && key.code == kKeyW) {
        MakeWallpaper();
    } else if (key.code == kKeyPageDown || key.code == kKeyPageUp) {
        if (key.code == kKeyPageDown)
            ShowNextPicture();
        else
            ShowEarlierPicture();
        RestartPictureTimer(); // the countdown starts afresh
    } else if (key.code == kKeyPause) {
        paused_ = !paused_;
        LabelState& sign = scene_.LabelOf(Label::Paused);
        sign.visible = paused_;
        out_.push_back(SetLabel{Label::Paused, sign});
        RestartPictureTimer();
    } else if (key.shift == kAltMask && key.code == kKeyN) {
        out_.push_back(NextTrack{}); // nothing without a playlist
    }
}

// The primary monitor's picture becomes the wallpaper: written to the Windows
// folder or, where that is closed to the user, to the user's own folder.
// Nothing on show, or nothing written, leaves the wallpaper as it was.
void ShowEngine::MakeWallpaper() {
    if (wallpaperJob_ || shown_.empty() || shown_.front().empty()) return;
    WallpaperJob job{++lastJob_, shown_.front(), {WallpaperFileIn(settings_.windowsFolder)}};
    if (!settings_.userWallpaperFolder.empty())
        job.targets.push_back(WallpaperFileIn(settings_.userWallpaperFolder));
    wallpaperJob_ = job.id;
    out_.push_back(StartWallpaper{std::move(job)});
}

void ShowEngine::OnWallpaperDone(const WallpaperResult& result) {
    if (!result.id || result.id != wallpaperJob_) return;
    wallpaperJob_ = 0;
    if (result.written) out_.push_back(SetWallpaper{*result.written});
    if (phase_ == Phase::Closing) {
        out_.push_back(SetTimer{Timer::WallpaperWait, 0});
        Finish();
    }
}

void ShowEngine::AskClose() {
    if (phase_ != Phase::Running) return;
    if (settings_.preview) {
        Close(false);
        return;
    }
    phase_ = Phase::CheckingPassword;
    out_.push_back(CheckPassword{});
}

void ShowEngine::Close(bool waitForWallpaper) {
    phase_ = Phase::Closing;
    // The music device is told first: it closes on a thread of its own while
    // the window goes.
    if (!settings_.preview) out_.push_back(StopMusic{});
    out_.push_back(Hide{});
    out_.push_back(SetTimer{Timer::ShowPicture, 0});
    out_.push_back(SetTimer{Timer::Clock, 0});
    if (running_.id && runningWanted_) out_.push_back(CancelJob{running_.id});
    running_ = {};
    ready_.reset();
    historyWanted_.reset();
    runningWanted_ = runningFromHistory_ = changeWaiting_ = started_ = false;
    scene_.pictures.clear();
    out_.push_back(ShowPictures{});
    if (!settings_.preview) out_.push_back(TakeOverDesktop{false});
    if (wallpaperJob_ && waitForWallpaper) {
        out_.push_back(SetTimer{Timer::WallpaperWait, kWallpaperWaitMs});
        return;
    }
    if (wallpaperJob_) out_.push_back(CancelJob{std::exchange(wallpaperJob_, 0)});
    Finish();
}

void ShowEngine::Finish() {
    if (wallpaperJob_) out_.push_back(CancelJob{std::exchange(wallpaperJob_, 0)});
    phase_ = Phase::Ended;
    out_.push_back(End{});
}

} // namespace orv::slideshow
