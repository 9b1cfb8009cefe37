// clsPicSS, the screen-saver object: holds the five settings while the
// program runs, records the mode, and starts a mode. Start-up creates the one
// instance; the slideshow, the music and the settings dialog read it.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace orv {

enum enmPSS : std::int32_t {
    pssPreview = 0,
    pssScreenSaver = 1,
    pssSettings = 2,
};

class clsPicSS {
  public:
    explicit clsPicSS(platform::Platform& platform);

    const std::string& Path() const { return path_; }
    void SetPath(std::string_view vNewValue) { path_ = vNewValue; }

    // Numeric setters round to 16 bits, ties to even; a value out of range
    // throws Overflow, a text that is no number TypeMismatch, and the field
    // keeps its old value either way.
    std::int16_t Time() const { return time_; }
    void SetTime(double vNewValue);
    void SetTime(std::string_view vNewValue);

    std::int16_t ShowClock() const { return showClock_; }
    void SetShowClock(double vNewValue);
    void SetShowClock(std::string_view vNewValue);

    std::int16_t ScalePercentage() const { return scalePercentage_; }
    void SetScalePercentage(double vNewValue);
    void SetScalePercentage(std::string_view vNewValue);

    const std::string& MPEGFile() const { return mpegFile_; }
    void SetMPEGFile(std::string_view vNewValue) { mpegFile_ = vNewValue; }

    bool PreviewMode() const { return previewMode_; }
    // Folder part of MPEGFile, with its final backslash.
    std::string MPEGPath() const;
    // Whether MPEGFile names an M3U playlist.
    bool IsPlayList() const;

    // Runs a mode: preview, full-screen show or settings dialog; any other
    // value does nothing.
    void Execute(std::int32_t enmPSS);
    void About();
    void ShowMouseCursor(bool bShow);

    // Window handle of the preview host, from the command line.
    std::int32_t PreviewHostHandle() const { return previewHost_; }

  private:
    void EmbedInPreview();

    platform::Platform& platform_;
    std::int32_t previewHost_ = 0;
    std::string path_;
    std::int16_t time_ = 0;
    std::int16_t showClock_ = 0;
    std::string mpegFile_;
    bool previewMode_ = false;
    std::int16_t scalePercentage_ = 0;
};

} // namespace orv
