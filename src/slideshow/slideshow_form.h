// The slideshow window's behaviour: its load and unload, the picture, clock
// and host-check timers, the mouse and key rules that end a full-screen
// show, the close request with the password check, the key commands and the
// picture change on every monitor. The background work (a change's
// pictures, the wallpaper bitmap) is a job with an identity given here; a
// result is used only when it answers the job the form waits for, so a
// cancelled or overtaken job can never count. While a change is on show the
// next is prepared, so the timer and Page Down put it on the screen at once.
// One preparation runs at a time: changes asked for meanwhile make at most
// one more change, never a queue. Written against SlideshowView; the Windows layer owns the window,
// runs the jobs, draws what the view holds and turns its messages into
// these calls.
#pragma once
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio/music_control.h"
#include "platform/platform.h"
#include "platform/slideshow_view.h"
#include "saver/program_state.h"

namespace orv::slideshow {

// Shift-state bits of a key event.
inline constexpr int kShiftMask = 1, kCtrlMask = 2, kAltMask = 4;
// The bits of the keys that are down.
constexpr int ShiftState(bool shift, bool ctrl, bool alt) {
    return (shift ? kShiftMask : 0) | (ctrl ? kCtrlMask : 0) | (alt ? kAltMask : 0);
}
// Virtual-key codes of the key commands.
inline constexpr int kKeyW = 87, kKeyN = 78, kKeyPageDown = 34;
// How long the unload waits for a wallpaper job under way to finish.
inline constexpr std::chrono::seconds kWallpaperWait{10};
// How often the preview looks for its host window.
inline constexpr std::uint32_t kHostCheckMs = 1000;

// The wallpaper file in `folder`: folder, a backslash unless it has one, then
// "Orvandel.bmp".
std::string WallpaperFileIn(std::string_view folder);

// The picture timer's interval for a display time in seconds; 0 (the timer
// stands still) for a display time of 0 or below.
std::uint32_t DisplayInterval(int seconds);

// "HH:mm:ss " of a time of day.
std::string ClockText(const platform::LocalTime& time);

// What the preview's watcher does after each look at its windows: the
// preview is closed once when its host is gone (its process ended or its
// window destroyed), and the program ends when the preview's own window was
// destroyed from outside, which leaves no message to act on.
enum class PreviewWatchStep { KeepWatching, Close, EndProgram };
PreviewWatchStep NextPreviewWatchStep(bool previewExists, bool hostGone, bool& closeAsked);
// The watcher itself: looks every half second, until the program is to end.
void WatchPreview(platform::PreviewWatch& watch);

// A message of the show's window in the form's terms.
struct WindowEvent {
    enum class Kind {
        Timer,         // `timer` fired
        DisplayChange, // monitors came, went or changed their size or scale
        MouseMove,     // over `surface`, the cursor at `where`
        KeyDown,       // `code` with the `shift` bits
        Character,     // `code` typed
        SystemKey,     // an Alt character or the release of a key held with Alt
        SystemCommand, // `flag`: the system asks to start a screen saver
        Close,         // a close request
        SessionEnd,    // `flag`: the session does end
        Destroying,    // the window goes
    };
    Kind kind;
    platform::Timer timer = platform::Timer::ShowPicture;
    platform::Surface surface = platform::Surface::Background;
    platform::ScreenPoint where{};
    int code = 0;
    int shift = 0;
    bool flag = false;
};
// What the window does with the message once the form has seen it.
enum class WindowReply { Handled, Default, Destroy };

class SlideshowForm {
  public:
    SlideshowForm(platform::Platform& platform, saver::ProgramState& state,
                  audio::MusicControl& music, platform::SlideshowView& view);

    void Load();
    // One message of the window. Only between a finished load and the start
    // of the unload do the timers, the mouse, the keys and display changes
    // reach the form; the window's destruction starts the unload.
    WindowReply OnWindowEvent(const WindowEvent& event);
    // Background jobs ended; their results count only while the form takes
    // messages.
    void OnJobsFinished(const std::vector<platform::PreparationResult>& preparations,
                        const std::vector<platform::WallpaperResult>& wallpapers);
    // A timer fired: the handler of that timer runs.
    void OnTimer(platform::Timer timer);
    void OnPictureTimer();
    void OnClockTimer();
    // The preview ends when its host window is gone.
    void OnHostCheckTimer();
    // A mouse report over `surface` with the cursor at `where`. Windows also
    // reports a "move" when a window appears or changes under a resting
    // mouse: only a real change of place counts.
    void OnMouseMove(platform::Surface surface, platform::ScreenPoint where);
    // A key that types a character (its code); Ctrl+W types 23.
    void OnCharacter(int code);
    void OnKeyDown(int keyCode, int shift);
    // The close request: false when the password check keeps the show.
    bool MayClose();
    void OnUnload();
    // Monitors were added, removed or changed: everything is laid out anew
    // and every monitor gets a new picture.
    void OnDisplayChange();

    // A change of the pictures on every monitor (the timer's and Page
    // Down's), or a note to make one more when a change is under way.
    void ShowNextPicture();
    // A preparation has ended (finished, cancelled or failed).
    void OnPreparationFinished(const platform::PreparationResult& result);
    // A wallpaper job has ended; the wallpaper is set when it wrote a file.
    void OnWallpaperWritten(const platform::WallpaperResult& result);
    // The wallpaper job still under way, which the unload lets finish, so a
    // wallpaper asked for is set; 0 when there is none.
    platform::JobId WallpaperUnderWay() const { return wallpaperJob_; }

    // The picture list; element 0 stays empty.
    const std::vector<std::string>& Pictures() const { return pictures_; }
    bool PreviewMode() const { return previewMode_; }
    // The picture on show per monitor ("" while its box is empty).
    const std::vector<std::string>& Shown() const { return shown_; }

  private:
    // The timers keep an interval and an enabled flag: interval 0 stops a
    // timer, as does disabling it; enabling it or setting a new interval
    // starts its countdown afresh.
    struct TimerState {
        std::uint32_t interval = 0;
        bool enabled = true;
    };
    void SetTimerInterval(platform::Timer timer, std::uint32_t milliseconds);
    void SetTimerEnabled(platform::Timer timer, bool enabled);
    void ApplyTimer(platform::Timer timer);

    void LayOut();
    void StartMusic();
    // A change prepared, with the job it answers.
    struct PreparedChange {
        platform::PreparationJob job;
        platform::PreparationResult result;
    };
    void PrepareAhead();
    void Present(PreparedChange change);
    // Counts one move over a surface; past ten since that surface last
    // asked, it asks to close.
    void CountMouseMove(std::int16_t& counter);
    // Asks the window to close once; a refused close allows the next ask.
    void RequestClose();
    void MakeWallpaper();

    platform::Platform& platform_;
    saver::ProgramState& state_;
    audio::MusicControl& music_;
    platform::SlideshowView& view_;
    std::vector<std::string> pictures_{std::string()};
    std::map<platform::Timer, TimerState> timers_;
    // The mode never changes once the window exists; read once at load.
    bool previewMode_ = false;
    std::vector<platform::MonitorArea> monitors_;
    std::vector<TwipRect> boxes_;    // each monitor's picture box, in its twips
    std::vector<std::string> shown_; // each monitor's picture on show
    platform::JobId lastJob_ = 0;    // the identities given so far
    // The preparation whose thread runs, if any, and whether its result is
    // still wanted (a cancelled one is waited for, then dropped).
    platform::PreparationJob running_;
    bool runningWanted_ = false;
    std::optional<PreparedChange> ready_; // prepared ahead, not yet shown
    bool changeWaiting_ = false;          // a change is due as soon as it is ready
    bool started_ = false;                // the first change was asked for
    platform::JobId wallpaperJob_ = 0;
    bool musicStarted_ = false;
    std::int16_t backgroundMoves_ = 0;
    std::int16_t pictureMoves_ = 0;
    std::int16_t noPicturesMoves_ = 0;
    std::optional<platform::ScreenPoint> lastMouse_;
    bool closeRequested_ = false;
    bool inService_ = false; // loaded, and the unload has not begun
};

} // namespace orv::slideshow
