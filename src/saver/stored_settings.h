// Where the five settings live in the settings store, their defaults, and
// the two ways they move: read into the screen-saver object at start-up,
// written from it when the settings dialog is confirmed.
#pragma once
#include <optional>

#include "common/errors.h"
#include "platform/environment.h"
#include "platform/settings_store.h"
#include "saver/screen_saver.h"

namespace orv::saver {

inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kPicturesPathKey = "PicturesPath";
inline constexpr const char* kDisplayTimeKey = "DisplayTime";
inline constexpr const char* kShowClockKey = "ShowClock";
inline constexpr const char* kScalePercentageKey = "ScalePercentage";
inline constexpr const char* kMusicFileKey = "MPEGFile";

inline constexpr const char* kDefaultDisplayTime = "5";
inline constexpr const char* kDefaultShowClock = "1";
inline constexpr const char* kDefaultScalePercentage = "100";

// What a stored number that does not fit 16 bits does: stop the program
// with Overflow, or give the setting its default (the settings dialog, the
// one place where such a value can be put right).
enum class OutOfRange { Overflow, UseDefault };

// Reads the five settings into `saver` (a missing value gives its default;
// the pictures path defaults to the program's folder).
void LoadSettings(const platform::SettingsStore& store, const platform::Environment& environment,
                  ScreenSaver& saver, OutOfRange outOfRange = OutOfRange::Overflow);

// Writes the five settings of `saver`. When a write is refused, the values
// written before it are put back, so the store never holds a mix of old and
// new settings, and the refusal is returned.
std::optional<RuntimeError> SaveSettings(platform::SettingsStore& store,
                                         const platform::Environment& environment,
                                         const ScreenSaver& saver);

} // namespace orv::saver
