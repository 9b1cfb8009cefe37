// Which names the music hands to the media device. A name whose last part is
// one of the system's device names (CON, PRN, AUX, NUL, COM0-9, LPT0-9 and
// their kin, in any case, in any folder, with any extension) opens the
// device, not a file, and the device's open can wait for ever: such a name
// counts as missing, whatever the disk holds.
#pragma once
#include <string_view>

namespace orv::audio {

// True when the path names a device rather than a disk file: a reserved
// device name as its last part (before any extension or stream, trailing
// blanks ignored), or a path in the device namespace (\\.\...).
bool IsDeviceName(std::string_view path);

// True when the path may be played: it ends in .mp3, .wav or .mid (any case)
// and names no device. Whether the file exists and is a plain disk file is
// the media worker's question.
bool IsMusicFileName(std::string_view path);

} // namespace orv::audio
