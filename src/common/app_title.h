// The application title: the settings store's application name, the start of
// window and picker titles, the caption of message boxes and the name of the
// wallpaper file.
#pragma once

namespace orv {
inline constexpr const char* kAppTitle = "Orvandel";
}
