// The slideshow window's behaviour: its load and unload, the picture, clock
// and host-check timers, the mouse and key rules that end a full-screen
// show, the close request with the password check, the key commands and the
// picture change on every monitor. Pictures are prepared off the
// user-interface thread: a change asked for while one is being prepared
// makes at most one more change, never a queue. Written against
// SlideshowView; the Windows layer owns the window, draws what the view
// holds and turns its messages into these calls.
#pragma once
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
// Virtual-key codes of the key commands.
inline constexpr int kKeyW = 87, kKeyN = 78, kKeyPageDown = 34;
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

class SlideshowForm {
  public:
    SlideshowForm(platform::Platform& platform, saver::ProgramState& state,
                  audio::MusicControl& music, platform::SlideshowView& view);

    void Load();
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
    // The preparation asked for has ended.
    void OnPicturesReady(const std::vector<platform::PreparedPicture>& prepared);
    // The wallpaper bitmap was written to `file`, or to none of the targets.
    void OnWallpaperWritten(const std::optional<std::string>& file);

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
    void StartChange();
    // Counts one move over a surface; the eleventh in a row asks to close.
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
    std::vector<std::string> asked_; // each monitor's picture being prepared
    bool preparing_ = false;
    bool changeWaiting_ = false;
    bool writingWallpaper_ = false;
    bool musicStarted_ = false;
    std::int16_t backgroundMoves_ = 0;
    std::int16_t pictureMoves_ = 0;
    std::int16_t noPicturesMoves_ = 0;
    std::optional<platform::ScreenPoint> lastMouse_;
    bool closeRequested_ = false;
};

} // namespace orv::slideshow
