// Colour management of the drawn pictures through Windows' own colour
// system (mscms): a picture with an embedded ICC profile is converted from
// it, once it is scaled to its box, to the monitor's profile when the user
// set one, or to sRGB (the show), or always to sRGB (the wallpaper).
// Untagged pictures are left exactly as they are. The colour system converts
// a grid of colours once for each profile and target (imaging/color_grid.h),
// and the picture is interpolated from it. Called by the picture loader
// (picture_file.cpp) on the preparing thread.
#pragma once
#include <windows.h>

#include <wincodec.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orv::win32 {

// Where the converted pixels are shown.
enum class ColorDestination {
    Screen, // the primary monitor: its own profile when the user set one, else sRGB
    Srgb,   // sRGB always, as a file for the desktop is
};

// Converts width x height pixels (B, G, R, 255), rows `stride` bytes apart,
// in place from `profile` (checked with imaging::IsUsableProfile) to
// `destination`. Does nothing for an empty profile, and leaves the pixels as
// they are, drawn as sRGB, when the colour system refuses a profile or the
// conversion; a picture never fails for its profile (always true).
bool ConvertColors(std::span<const std::uint8_t> profile, ColorDestination destination,
                   std::uint8_t* pixels, int width, int height, std::size_t stride);

// The ICC profile WIC reports for a decoded frame, when it is one the
// conversion can use; empty otherwise (none, an EXIF colour space tag only,
// CMYK, damaged).
std::vector<std::uint8_t> WicFrameProfile(IWICImagingFactory& factory,
                                          IWICBitmapFrameDecode& frame);

} // namespace orv::win32
