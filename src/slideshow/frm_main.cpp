#include "slideshow/frm_main.h"

#include <cmath>
#include <cstdio>

#include "audio/mod_audio.h"
#include "common/app_title.h"
#include "common/runtime_error.h"
#include "common/text.h"
#include "slideshow/layout.h"
#include "slideshow/picture_list.h"
#include "startup/mod_screen_saver.h"
#include "startup/password.h"

namespace orv {

using platform::Label;
using platform::Timer;

namespace {
constexpr float kPreviewBoxWidth = 2400, kPreviewBoxHeight = 1800;
constexpr float kClockWidth = 855, kClockHeight = 255;
constexpr float kClockRightGap = 850, kClockBottomGap = 250;
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

frmMain::frmMain(platform::Platform& platform, modScreenSaver& module, modAudio& audio,
                 platform::SlideshowView& view)
    : platform_(platform), module_(module), audio_(audio), view_(view) {}

bool frmMain::IsPlayList() const {
    return module_.objPicSS && module_.objPicSS->IsPlayList();
}

void frmMain::Form_Load() {
    const clsPicSS& pss = *module_.objPicSS;
    previewMode_ = pss.PreviewMode();
    const float sw = view_.ScreenWidth();
    const float sh = view_.ScreenHeight();

    view_.SetBackColor(0);

    if (previewMode_)
        view_.SetPictureBox({0, 0, kPreviewBoxWidth, kPreviewBoxHeight});
    else
        view_.SetPictureBox({0, 0, sw, sh});

    view_.SetLabelText(Label::NoPictures, "No Pictures in : \r" + pss.Path());
    view_.BringLabelToFront(Label::NoPictures);
    if (previewMode_) {
        view_.SetLabelRect(Label::NoPictures, {0, 0, kPreviewBoxWidth, kPreviewBoxHeight});
        view_.SetLabelFont(Label::NoPictures, 8, true);
    } else {
        view_.SetLabelRect(Label::NoPictures, {0, 0, sw, sh});
        view_.SetLabelFont(Label::NoPictures, 24, true);
    }

    view_.SetLabelVisible(Label::Credits, false);

    if (pss.ShowClock() != 0) {
        view_.SetLabelRect(Label::Clock,
                           {sw - kClockRightGap, sh - kClockBottomGap, kClockWidth, kClockHeight});
        view_.SetLabelText(Label::Clock, ClockText(platform_.clock.Now()));
    } else {
        view_.SetLabelVisible(Label::Clock, false);
        view_.SetTimerEnabled(Timer::Clock, false);
    }

    platform_.random.Seed();

    view_.SetLabelVisible(Label::NoPictures,
                          !slideshow::LoadPictureList(platform_.files, pss.Path(), strPictures_));

    if (!previewMode_) {
        SetScreenSaverRunning(platform_.desktop, true);
        platform_.desktop.ShowCursor(false);
        try {
            if (pss.IsPlayList()) {
                audio_.LoadNotifyWindow();
                if (audio_.LoadPlayList(pss.MPEGFile()))
                    audio_.PlayMusic(audio_.CurrentTrack(), "");
            } else {
                audio_.PlayMusic(pss.MPEGFile(), " fullscreen repeat");
            }
        } catch (...) {
            // A load that fails is never unloaded: put the desktop back here,
            // or the system would go on believing a screen saver runs.
            SetScreenSaverRunning(platform_.desktop, false);
            platform_.desktop.ShowCursor(true);
            throw;
        }
    }
}

void frmMain::tmrShowPicture_Timer() {
    const int seconds = module_.objPicSS ? module_.objPicSS->Time() : 0;
    view_.SetTimerInterval(Timer::ShowPicture, DisplayInterval(seconds));
    ShowNextPicture();
}

void frmMain::tmrClock_Timer() {
    view_.SetLabelText(Label::Clock, ClockText(platform_.clock.Now()));
}

void frmMain::ShowNextPicture() {
    const std::size_t count = strPictures_.size() - 1;
    if (count == 0 || !module_.objPicSS) return;
    if (view_.HasPicture()) view_.ReleasePicture();

    const double r = platform_.random.Next();
    std::size_t index = static_cast<std::size_t>(std::floor(static_cast<double>(count) * r)) + 1;
    if (index > count) index = count; // a generator that strays to 1.0 or beyond

    std::optional<platform::PictureSize> natural;
    try {
        natural = view_.LoadPicture(strPictures_[index]);
    } catch (const RuntimeError&) {
        // An unreadable picture leaves an empty box until the next change.
    }

    view_.SetPictureVisible(false);
    view_.SetPictureBox(slideshow::LayoutPicture(view_.ScreenWidth(), view_.ScreenHeight(), natural,
                                                 module_.objPicSS->ScalePercentage(), previewMode_,
                                                 view_.PictureBox()));
    view_.ShowCurrentPicture();
    view_.SetPictureVisible(true);
}

void frmMain::CountMouseMove(std::int16_t& counter) {
    if (previewMode_) return;
    ++counter;
    if (counter > kMaxMovesKept) {
        counter = 0;
        view_.RequestClose();
    }
}

void frmMain::Form_MouseMove() {
    CountMouseMove(formMoves_);
}
void frmMain::imgSS_MouseMove() {
    CountMouseMove(imgSSMoves_);
}
void frmMain::lblNoPictures_MouseMove() {
    CountMouseMove(lblNoPicturesMoves_);
}

void frmMain::Form_KeyPress(int KeyAscii) {
    if (!previewMode_ && KeyAscii != kCtrlW) view_.RequestClose();
}

void frmMain::MakeWallpaper() {
    std::string file = WallpaperFileIn(module_.strWinDir);
    if (!view_.SavePictureAsBitmap(file)) {
        // Where the Windows folder is closed to the user, the bitmap goes to
        // the user's own folder and the wallpaper points there.
        const std::string folder = platform_.desktop.UserDataFolder();
        if (!folder.empty()) {
            const std::string own = WallpaperFileIn(folder);
            if (view_.SavePictureAsBitmap(own)) file = own;
        }
    }
    platform_.desktop.SetWallpaper(file);
}

void frmMain::Form_KeyDown(int KeyCode, int Shift) {
    try {
        if (Shift == (kCtrlMask | kShiftMask) && KeyCode == kKeyW) {
            MakeWallpaper();
        } else if (KeyCode == kKeyPageDown) {
            view_.SetTimerEnabled(Timer::ShowPicture, false);
            ShowNextPicture();
            view_.SetTimerEnabled(Timer::ShowPicture, true);
        } else if (Shift == kAltMask && KeyCode == kKeyN) {
            if (IsPlayList()) audio_.NextTrack();
        }
    } catch (const RuntimeError&) {
        // Key commands never report; the show goes on.
    }
}

void frmMain::Form_QueryUnload(bool& Cancel) {
    if (module_.objPicSS)
        CheckPasswordOnClose(platform_.desktop, *module_.objPicSS, view_.WindowHandle(), Cancel);
}

void frmMain::Form_Unload() {
    if (!previewMode_) {
        if (IsPlayList()) audio_.UnloadNotifyWindow();
        audio_.StopMusic();
        SetScreenSaverRunning(platform_.desktop, false);
        platform_.desktop.ShowCursor(true);
    }
    if (view_.HasPicture()) view_.ReleasePicture();
    module_.objPicSS.reset();
}

} // namespace orv
