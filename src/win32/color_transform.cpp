#include "win32/color_transform.h"

#include <icm.h>

#include <cwchar>
#include <exception>
#include <optional>
#include <string>

#include "imaging/icc_profile.h"
#include "win32/file_reader.h"
#include "win32/unique_handle.h"
#include "win32/wic_support.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

void CloseProfile(HPROFILE profile) noexcept {
    CloseColorProfile(profile);
}
void DeleteTransform(HTRANSFORM transform) noexcept {
    DeleteColorTransform(transform);
}
using unique_profile = unique_any<NullTraits<HPROFILE, CloseProfile>>;
using unique_transform = unique_any<NullTraits<HTRANSFORM, DeleteTransform>>;

// The colour system reads a memory profile while it is open: `bytes` must
// outlive the handle.
unique_profile OpenMemoryProfile(std::span<const std::uint8_t> bytes) {
    PROFILE profile{PROFILE_MEMBUFFER, const_cast<std::uint8_t*>(bytes.data()),
                    static_cast<DWORD>(bytes.size())};
    return unique_profile(
        OpenColorProfileW(&profile, PROFILE_READ, FILE_SHARE_READ, OPEN_EXISTING));
}

// LCS_sRGB, spelt out: the header writes it as a multi-character constant.
constexpr LCSCSTYPE kSrgbColorSpace = 0x73524742;

unique_profile OpenSrgbProfile() {
    wchar_t path[MAX_PATH + 1] = {};
    DWORD size = sizeof path;
    if (!GetStandardColorSpaceProfileW(nullptr, kSrgbColorSpace, path, &size)) return {};
    PROFILE profile{PROFILE_FILENAME, path,
                    static_cast<DWORD>((std::wcslen(path) + 1) * sizeof(wchar_t))};
    return unique_profile(
        OpenColorProfileW(&profile, PROFILE_READ, FILE_SHARE_READ, OPEN_EXISTING));
}

// The path of the profile Windows has for the primary monitor (its standard
// sRGB profile when the user set none), empty when it names none.
std::wstring PrimaryMonitorProfilePath() {
    const WindowDc screen(nullptr);
    if (!screen.get()) return {};
    wchar_t path[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    if (!GetICMProfileW(screen.get(), &size, path)) return {};
    return path;
}

} // namespace

bool ConvertColors(std::span<const std::uint8_t> profile, ColorDestination destination,
                   std::uint8_t* pixels, int width, int height, std::size_t stride) {
    if (profile.empty() || !pixels || width <= 0 || height <= 0) return true;
    try {
        const unique_profile source = OpenMemoryProfile(profile);
        if (!source) return true;
        std::vector<std::uint8_t> monitorBytes;
        unique_profile target;
        if (destination == ColorDestination::Screen) {
            const std::wstring path = PrimaryMonitorProfilePath();
            if (!path.empty())
                if (const auto file = FileReader::Open(path))
                    monitorBytes = file->ReadAll(imaging::kMaxIccProfileBytes)
                                       .value_or(std::vector<std::uint8_t>{});
            if (imaging::ChooseColorTarget(Utf8(path), monitorBytes) ==
                imaging::ColorTarget::Monitor)
                target = OpenMemoryProfile(monitorBytes);
        }
        if (!target) target = OpenSrgbProfile();
        if (!target) return true;

        HPROFILE profiles[2] = {source.get(), target.get()};
        DWORD intents[1] = {INTENT_PERCEPTUAL};
        const unique_transform transform(
            CreateMultiProfileTransform(profiles, 2, intents, 1, BEST_MODE, INDEX_DONT_CARE));
        if (!transform) return true;

        // One call for the whole picture when its rows follow each other,
        // else one a row.
        const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
        const bool packed = stride == rowBytes;
        const int calls = packed ? 1 : height;
        const DWORD rows = packed ? static_cast<DWORD>(height) : 1;
        for (int i = 0; i < calls; ++i) {
            std::uint8_t* first = pixels + static_cast<std::size_t>(i) * stride;
            if (!TranslateBitmapBits(transform.get(), first, BM_xRGBQUADS, width, rows,
                                     static_cast<DWORD>(stride), first, BM_xRGBQUADS,
                                     static_cast<DWORD>(stride), nullptr, 0))
                return false;
        }
        // The colour system need not keep the fourth byte.
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[y * stride + x * 4 + 3] = 255;
        return true;
    } catch (const std::exception&) {
        return true;
    }
}

std::vector<std::uint8_t> WicFrameProfile(IWICImagingFactory& factory,
                                          IWICBitmapFrameDecode& frame) {
    UINT count = 0;
    if (FAILED(frame.GetColorContexts(0, nullptr, &count)) || count == 0) return {};
    // The first context is the one the frame's pixels are in.
    com_ptr<IWICColorContext> context;
    if (FAILED(factory.CreateColorContext(wic::Out(context))) || !context) return {};
    IWICColorContext* contexts[1] = {context.get()};
    UINT got = 0;
    WICColorContextType type = WICColorContextUninitialized;
    if (FAILED(frame.GetColorContexts(1, contexts, &got)) || got < 1 ||
        FAILED(context->GetType(&type)) || type != WICColorContextProfile)
        return {};
    UINT size = 0;
    if (FAILED(context->GetProfileBytes(0, nullptr, &size)) ||
        size < imaging::kMinIccProfileBytes || size > imaging::kMaxIccProfileBytes)
        return {};
    std::vector<std::uint8_t> bytes(size);
    if (FAILED(context->GetProfileBytes(size, bytes.data(), &size)) || size != bytes.size())
        return {};
    return imaging::UsableSourceProfile(std::move(bytes));
}

} // namespace orv::win32
