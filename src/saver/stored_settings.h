// Where the five settings live in the settings store, their defaults, and
// the two ways they move: read at start-up, written when the settings
// dialog is confirmed; the store's section is opened once for each.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "common/errors.h"
#include "platform/environment.h"
#include "platform/session.h"
#include "platform/settings_store.h"
#include "saver/settings.h"

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

// Reads the five settings (a missing value gives its default; the pictures
// path defaults to the program's folder). A number is read by the numeric
// reading rule and rounded to 16 bits, ties to even; one out of range
// throws Overflow or gives its default, as `outOfRange` says.
Settings LoadSettings(platform::SettingsStore& store, const platform::Environment& environment,
                      OutOfRange outOfRange = OutOfRange::Overflow);

// Writes the five settings. When a write is refused, the values written
// before it are put back, so the store never holds a mix of old and new
// settings, and the refusal is returned.
std::optional<RuntimeError> SaveSettings(platform::SettingsStore& store,
                                         const platform::Environment& environment,
                                         const Settings& settings);

// The type of a registry value from the number the registry keeps it under
// (1, 2 and 7 are the text types, 4 the 32-bit number).
platform::RegistryType RegistryTypeOf(std::uint32_t number);
// Whether a value of `type` holds text, which the registry keeps as UTF-16.
bool HoldsText(platform::RegistryType type);
// The number a 32-bit value's bytes hold, little-endian; fewer than four
// bytes are read as far as they go.
std::uint32_t Number32Of(std::string_view data);

// A registry value read as a setting's text: a text value up to its first
// NUL, a 32-bit number (someone stored it by hand) as its decimal digits,
// anything else or nothing as `fallback`.
std::string StoredText(const std::optional<platform::RegistryValue>& value,
                       const std::string& fallback);

} // namespace orv::saver
