// Windows' colour system (mscms) behind the colour management of the drawn
// pictures (imaging/color_management.h), and the profile WIC reports for a
// frame. Called by the picture loader on the preparing thread.
#pragma once
#include <windows.h>

#include <wincodec.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/color_management.h"

namespace orv::win32 {

using imaging::ColorDestination;

// The conversion for a picture whose profile is `profile` shown at
// `destination`; empty (drawn as sRGB) for an untagged picture or when the
// colour system refuses a profile or the conversion.
imaging::ColorGrid SystemColorConversion(std::span<const std::uint8_t> profile,
                                         ColorDestination destination);

// The ICC profile WIC reports for a decoded frame, when it is one the
// conversion can use; empty otherwise (none, an EXIF colour space tag only,
// CMYK, damaged).
std::vector<std::uint8_t> WicFrameProfile(IWICImagingFactory& factory,
                                          IWICBitmapFrameDecode& frame);

} // namespace orv::win32
