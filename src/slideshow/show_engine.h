// The slideshow's behaviour as an engine: every event of the show's window
// comes into Handle with the data it needs (the start, a timer, the mouse, a
// key, a display change, a close request and the password's answer, a
// finished job, the preview host's state) and goes out as plain actions
// (timers, jobs to start or cancel, pictures and labels to put on the
// screen, music, the running flag and cursor, the wallpaper, hide, end). It
// does no I/O and never asks anything back. Background work is a job with an
// identity given here; a result counts only when it answers the job the
// engine waits for, so a cancelled or overtaken job never shows. While a
// change is on show the next is prepared, so the timer and Page Down put it
// on the screen at once; one preparation runs at a time. Page Up goes back
// through the last changes, Pause holds the show, every monitor shows its
// own picture where the folder has enough, nothing is prepared while the
// displays are off, and a picture that failed is not read again. ShowDriver
// carries out the actions of the show's services and hands the rest to the
// window.
#pragma once
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/clock.h"
#include "slideshow/scene.h"
#include "slideshow/show_jobs.h"

namespace orv::slideshow {

// Shift-state bits of a key event.
inline constexpr int kShiftMask = 1, kCtrlMask = 2, kAltMask = 4;
constexpr int ShiftState(bool shift, bool ctrl, bool alt) {
    return (shift ? kShiftMask : 0) | (ctrl ? kCtrlMask : 0) | (alt ? kAltMask : 0);
}
// Virtual-key codes the show acts on. An input method that takes a key for
// its composition reports it as kKeyProcessedByInputMethod.
inline constexpr int kKeyW = 87, kKeyN = 78, kKeyPageDown = 34, kKeyPageUp = 33, kKeyPause = 19,
                     kKeyProcessedByInputMethod = 229;
// How many changes Page Up goes back.
inline constexpr std::size_t kHistoryDepth = 20;
// How long a closed show lets a wallpaper under way finish before it gives
// up on it and ends.
inline constexpr std::uint32_t kWallpaperWaitMs = 10000;

// The wallpaper file in `folder`: folder, a backslash unless it has one, then
// "Orvandel.bmp".
std::string WallpaperFileIn(std::string_view folder);
// The picture timer's interval for a display time in seconds; 0 (the timer
// stands still) for a display time of 0 or below.
std::uint32_t DisplayInterval(int seconds);
// "HH:mm:ss " of a time of day.
std::string ClockText(const platform::LocalTime& time);

// What a show is started with.
struct ShowSettings {
    std::string picturesFolder;
    int displayTime = 0; // seconds
    bool showClock = false;
    int scalePercentage = 100;
    std::string musicFile; // a file, an M3U playlist, or empty
    bool preview = false;
    // Where the wallpaper goes: the Windows folder, and the user's own
    // folder for when that one is closed to the user ("" for none).
    std::string windowsFolder, userWallpaperFolder;
};

// The monitors as the system reports them, in screen pixels, and the
// primary screen as its metrics give it, for a system that reports none; a
// preview's host window's dots per inch (0: not known, or no preview).
struct Display {
    std::vector<platform::MonitorArea> monitors;
    platform::MonitorArea primaryScreen;
    int previewDpi = 0;
};

enum class Timer { ShowPicture, Clock, WallpaperWait };

// The events of a show.
struct Start {
    Display display;
    std::vector<std::string> pictures; // the folder's pictures, as full paths
    std::optional<ScreenPoint> cursor; // where the mouse rests, when known
    platform::LocalTime now;
};
struct Tick {
    Timer timer;
    platform::LocalTime now;
};
struct DisplayChanged {
    Display display;
};
// The mouse moved (or Windows says so): where, in the window's client pixels
// and on the screen.
struct MouseMoved {
    ScreenPoint client, screen;
};
struct KeyDown {
    int code = 0;
    int shift = 0;
};
// A key typed a character (its code); Ctrl+W types 23.
struct Typed {
    int code = 0;
};
// Something asks the window to close.
struct CloseAsked {};
struct PasswordChecked {
    bool accepted = false;
};
// The session ends: the show goes without the password check.
struct SessionEnding {};
// Another application took the foreground; `ours` when it is a window of
// this program or another show of ours.
struct Deactivated {
    bool ours = false;
};
// The displays were turned off or on (dimmed counts as on).
struct DisplayPower {
    bool on = true;
};
// What the preview found of its host window and of its own window.
struct HostChecked {
    bool hostAlive = true, previewAlive = true;
};
struct PreparationDone {
    PreparationResult result;
};
struct WallpaperDone {
    WallpaperResult result;
};
// The window goes without having been asked (destroyed from outside).
struct Destroyed {};
// The pixels a label's text takes in its font, as MeasureText asked.
struct TextMeasured {
    Label label;
    PixelSize size;
};

using ShowEvent =
    std::variant<Start, Tick, DisplayChanged, MouseMoved, KeyDown, Typed, CloseAsked,
                 PasswordChecked, SessionEnding, Deactivated, DisplayPower, HostChecked,
                 PreparationDone, WallpaperDone, Destroyed, TextMeasured>;

// The actions. A full-screen window covers this rectangle of the screen.
struct PlaceWindow {
    PixelRect area;
};
// Measures `text` in `font`; the answer comes back as TextMeasured.
struct MeasureText {
    Label label;
    LabelFont font;
    std::string text;
};
// Starting a timer starts its countdown afresh; 0 stops it.
struct SetTimer {
    Timer timer;
    std::uint32_t milliseconds = 0;
};
struct StartPreparation {
    PreparationJob job;
};
// Asks a job under way to stop soon; its (empty) result still comes.
struct CancelJob {
    JobId job = 0;
};
// These pictures in place of all shown so far, drawn at once; a monitor not
// named shows nothing.
struct ShowPictures {
    std::vector<PreparedPicture> pictures;
};
struct SetLabel {
    Label label;
    LabelState state;
};
struct StartWallpaper {
    WallpaperJob job;
};
struct SetWallpaper {
    std::string file;
};
struct PlayMusic {
    std::string file;
    bool playlist = false;
};
struct StopMusic {};
struct NextTrack {};
// Tells the system that a screen saver runs (or no longer does) and hides
// (or shows again) the cursor.
struct TakeOverDesktop {
    bool takeOver = false;
};
struct CheckPassword {};
// Every window of the show leaves the screen at once.
struct Hide {};
// The show is over: its window goes.
struct End {};

using ShowAction = std::variant<PlaceWindow, MeasureText, SetTimer, StartPreparation, CancelJob,
                                ShowPictures, SetLabel, StartWallpaper, SetWallpaper, PlayMusic,
                                StopMusic, NextTrack, TakeOverDesktop, CheckPassword, Hide, End>;
using ShowActions = std::vector<ShowAction>;

class ShowEngine {
  public:
    // `random` draws the pictures; it is seeded at the start.
    ShowEngine(ShowSettings settings, platform::Random& random);

    ShowActions Handle(const ShowEvent& event);

  private:
    enum class Phase { Loading, Running, CheckingPassword, Closing, Ended };
    // A change prepared, with the job it answers.
    struct PreparedChange {
        PreparationJob job;
        PreparationResult result;
    };
    // The pictures of one change, by monitor.
    using ChangePictures = std::vector<std::string>;

    void OnStart(const Start& start);
    void OnTick(const Tick& tick);
    void OnMouseMoved(const MouseMoved& move);
    void OnKeyDown(const KeyDown& key);
    void OnDisplayChanged(const Display& display);
    void OnDisplayPower(bool on);
    void OnPreparationDone(const PreparationResult& result);
    void OnWallpaperDone(const WallpaperResult& result);

    // The picture timer runs with its interval unless the show is paused or
    // the displays are off; setting it starts its countdown afresh.
    void RestartPictureTimer();
    void LayOut(const Display& display);
    void StartMusic();
    // A new change at random (the timer's, Page Down's), or a note to show
    // one as soon as it is prepared.
    void ShowNextPicture();
    // The change before the one on show again (Page Up).
    void ShowEarlierPicture();
    // Abandons the preparation under way: its result will not count.
    void AbandonRunning();
    void PrepareAhead();
    std::string PickPicture(const ChangePictures& drawnSoFar);
    PreparationJob MakeJob(const ChangePictures& pictures);
    // Puts a change on the screen; a new one (not one from the history) is
    // recorded for Page Up.
    void Present(PreparedChange change, bool fromHistory);
    void CountMouseMove(std::int16_t& counter);
    // A close asked for by the show's own rules or from outside: the
    // password check first in a full-screen show.
    void AskClose();
    // The show leaves the screen and gives the desktop back; it ends once
    // the wallpaper under way (if it is waited for) has been set.
    void Close(bool waitForWallpaper);
    void Finish();
    void MakeWallpaper();

    ShowSettings settings_;
    platform::Random& random_;
    ShowActions out_; // the actions of the event being handled
    Phase phase_ = Phase::Loading;
    std::vector<std::string> pictures_;
    std::uint32_t pictureInterval_ = 0; // what the picture timer runs with
    bool paused_ = false, displaysOn_ = true;
    std::vector<platform::MonitorArea> monitors_; // in the window's client pixels
    PixelSize clockText_, pausedText_;            // the labels' texts in their fonts
    std::vector<TwipRect> boxes_;                 // each monitor's picture box, in its twips
    std::vector<std::string> shown_;              // each monitor's picture on show
    Scene scene_;                                 // what the window shows, for the mouse
    JobId lastJob_ = 0;                           // the identities given so far
    // The preparation whose thread runs, if any, whether its result is still
    // wanted (a cancelled one is waited for, then dropped), and whether it
    // prepares a change of the history.
    PreparationJob running_;
    bool runningWanted_ = false, runningFromHistory_ = false;
    std::optional<PreparedChange> ready_; // prepared ahead, not yet shown
    bool changeWaiting_ = false;          // a change is due as soon as it is ready
    bool started_ = false;                // the first change was asked for
    // The changes shown, the newest last, and the one on show; a change of
    // it that Page Up asked for and that is still to be prepared.
    std::vector<ChangePictures> history_;
    std::size_t historyAt_ = 0;
    std::optional<ChangePictures> historyWanted_;
    std::set<std::string> failed_; // pictures that could not be read or drawn
    JobId wallpaperJob_ = 0;
    bool musicStarted_ = false;
    std::int16_t backgroundMoves_ = 0, pictureMoves_ = 0, noPicturesMoves_ = 0;
    std::optional<ScreenPoint> lastMouse_;
};

} // namespace orv::slideshow
