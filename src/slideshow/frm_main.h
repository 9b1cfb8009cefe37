// frmMain, the slideshow window's behaviour: its load and unload, the picture
// and clock timers, the mouse and key rules that end a full-screen show, the
// close request with the password check, the key commands and the picture
// change. Written against SlideshowView; the Windows layer owns the window,
// draws what the view holds and calls these handlers.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/slideshow_view.h"

namespace orv {

class modAudio;
struct modScreenSaver;

// Shift-state bits of a key event.
inline constexpr int kShiftMask = 1, kCtrlMask = 2, kAltMask = 4;
// Virtual-key codes of the key commands.
inline constexpr int kKeyW = 87, kKeyN = 78, kKeyPageDown = 34;

// The wallpaper file in `folder`: folder, a backslash unless it has one, then
// "Orvandel.bmp".
std::string WallpaperFileIn(std::string_view folder);

// The picture timer's interval for a display time in seconds; 0 (the timer
// stands still) for a display time of 0 or below.
std::uint32_t DisplayInterval(int seconds);

// "HH:mm:ss " of a time of day.
std::string ClockText(const platform::LocalTime& time);

class frmMain {
  public:
    frmMain(platform::Platform& platform, modScreenSaver& module, modAudio& audio,
            platform::SlideshowView& view);

    void Form_Load();
    void tmrShowPicture_Timer();
    void tmrClock_Timer();
    void Form_MouseMove();
    void imgSS_MouseMove();
    void lblNoPictures_MouseMove();
    void Form_KeyPress(int KeyAscii);
    void Form_KeyDown(int KeyCode, int Shift);
    void Form_QueryUnload(bool& Cancel);
    void Form_Unload();
    void ShowNextPicture();

    const std::vector<std::string>& strPictures() const { return strPictures_; }
    bool PreviewMode() const { return previewMode_; }

  private:
    void CountMouseMove(std::int16_t& counter);
    void MakeWallpaper();
    bool IsPlayList() const;

    platform::Platform& platform_;
    modScreenSaver& module_;
    modAudio& audio_;
    platform::SlideshowView& view_;
    std::vector<std::string> strPictures_{std::string()};
    // The mode never changes once the window exists; read once at load.
    bool previewMode_ = false;
    std::int16_t formMoves_ = 0;
    std::int16_t imgSSMoves_ = 0;
    std::int16_t lblNoPicturesMoves_ = 0;
};

} // namespace orv
