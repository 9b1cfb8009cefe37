// Where the five settings live in the settings store, and their defaults.
#pragma once

namespace orv::settings_keys {

inline constexpr const char* kSection = "Settings";
inline constexpr const char* kPicturesPath = "PicturesPath";
inline constexpr const char* kDisplayTime = "DisplayTime";
inline constexpr const char* kShowClock = "ShowClock";
inline constexpr const char* kScalePercentage = "ScalePercentage";
inline constexpr const char* kMPEGFile = "MPEGFile";

inline constexpr const char* kDefaultDisplayTime = "5";
inline constexpr const char* kDefaultShowClock = "1";
inline constexpr const char* kDefaultScalePercentage = "100";

} // namespace orv::settings_keys
