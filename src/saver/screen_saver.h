// The screen-saver object: holds the five settings while the program runs,
// records the mode, and starts a mode. Start-up creates the one instance
// (held in ProgramState); the slideshow, the music and the settings dialog
// read it, and the window that closes last releases it.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace orv::saver {

enum class SaverMode : std::int32_t {
    Preview = 0,
    ScreenSaver = 1,
    Settings = 2,
};

// Whether a window can hold the preview: one that exists, and neither the
// desktop (a child of it would be a full-screen window that nothing ends)
// nor a window of this program.
bool CanHoldPreview(const platform::HostWindow& host);

class ScreenSaver {
  public:
    explicit ScreenSaver(platform::Platform& platform);

    const std::string& Path() const { return path_; }
    void SetPath(std::string_view value) { path_ = value; }

    // Numeric setters round to 16 bits, ties to even; a value out of range
    // throws Overflow and the field keeps its old value.
    std::int16_t Time() const { return time_; }
    void SetTime(double value);

    std::int16_t ShowClock() const { return showClock_; }
    void SetShowClock(double value);

    std::int16_t ScalePercentage() const { return scalePercentage_; }
    void SetScalePercentage(double value);

    const std::string& MusicFile() const { return musicFile_; }
    void SetMusicFile(std::string_view value) { musicFile_ = value; }

    bool PreviewMode() const { return previewMode_; }
    // Whether the music file names an M3U playlist.
    bool IsPlaylist() const;

    // Runs a mode: preview, full-screen show or settings dialog; any other
    // value does nothing.
    void Execute(SaverMode mode);
    void About();

  private:
    void EmbedInPreview();

    platform::Platform& platform_;
    std::string path_;
    std::int16_t time_ = 0;
    std::int16_t showClock_ = 0;
    std::string musicFile_;
    bool previewMode_ = false;
    std::int16_t scalePercentage_ = 0;
};

} // namespace orv::saver
