#include "win32/color_transform.h"

#include <icm.h>

#include <cwchar>
#include <string>

#include "imaging/icc_profile.h"
#include "win32/file_reader.h"
#include "win32/system_libraries.h"
#include "win32/unique_handle.h"
#include "win32/wic_support.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

// Used once Convert has found every function of the colour system.
void CloseProfile(HPROFILE profile) {
    Colors().CloseColorProfile(profile);
}
void DeleteTransform(HTRANSFORM transform) {
    Colors().DeleteColorTransform(transform);
}
using unique_profile = unique_any<NullTraits<HPROFILE, CloseProfile>>;
using unique_transform = unique_any<NullTraits<HTRANSFORM, DeleteTransform>>;

// The colour system reads a memory profile while it is open: `bytes` must
// outlive the handle.
unique_profile OpenMemoryProfile(std::span<const std::uint8_t> bytes) {
    PROFILE profile{PROFILE_MEMBUFFER, const_cast<std::uint8_t*>(bytes.data()),
                    static_cast<DWORD>(bytes.size())};
    return unique_profile(
        Colors().OpenColorProfileW(&profile, PROFILE_READ, FILE_SHARE_READ, OPEN_EXISTING));
}

// LCS_sRGB, spelt out: the header writes it as a multi-character constant.
constexpr LCSCSTYPE kSrgbColorSpace = 0x73524742;

unique_profile OpenSrgbProfile() {
    wchar_t path[MAX_PATH + 1] = {};
    DWORD size = sizeof path;
    if (!Colors().GetStandardColorSpaceProfileW(nullptr, kSrgbColorSpace, path, &size)) return {};
    PROFILE profile{PROFILE_FILENAME, path,
                    static_cast<DWORD>((std::wcslen(path) + 1) * sizeof(wchar_t))};
    return unique_profile(
        Colors().OpenColorProfileW(&profile, PROFILE_READ, FILE_SHARE_READ, OPEN_EXISTING));
}

// The colour system of Windows: the primary monitor's profile as it names
// it, and conversions through memory profiles.
class WindowsColorSystem final : public imaging::ColorSystem {
  public:
    std::string MonitorProfilePath() override {
        const WindowDc screen(nullptr);
        if (!screen.get()) return {};
        wchar_t path[MAX_PATH + 1] = {};
        DWORD size = MAX_PATH;
        if (!GetICMProfileW(screen.get(), &size, path)) return {};
        return Utf8(path);
    }

    std::vector<std::uint8_t> ReadProfile(const std::string& path) override {
        const auto file = FileReader::Open(Wide(path));
        if (!file) return {};
        return imaging::ReadWhole(file->Reader(), imaging::kMaxIccProfileBytes)
            .value_or(std::vector<std::uint8_t>{});
    }

    std::vector<std::uint8_t> Convert(std::span<const std::uint8_t> source,
                                      std::span<const std::uint8_t> target,
                                      std::vector<std::uint8_t> samples) override {
        const ColorFunctions& colors = Colors();
        if (!colors) return {};
        const unique_profile from = OpenMemoryProfile(source);
        const unique_profile to = target.empty() ? OpenSrgbProfile() : OpenMemoryProfile(target);
        if (!from || !to) return {};
        HPROFILE profiles[2] = {from.get(), to.get()};
        DWORD intents[1] = {INTENT_PERCEPTUAL};
        const unique_transform transform(colors.CreateMultiProfileTransform(
            profiles, 2, intents, 1, BEST_MODE, INDEX_DONT_CARE));
        const auto count = static_cast<DWORD>(samples.size() / 4);
        if (!transform || !colors.TranslateBitmapBits(transform.get(), samples.data(), BM_xRGBQUADS,
                                                      count, 1, count * 4, samples.data(),
                                                      BM_xRGBQUADS, count * 4, nullptr, 0))
            return {};
        return samples;
    }
};

} // namespace

imaging::ColorGrid SystemColorConversion(std::span<const std::uint8_t> profile,
                                         ColorDestination destination) {
    static imaging::ColorGridCache grids;
    WindowsColorSystem system;
    return imaging::PrepareColorConversion(profile, destination, system, grids);
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
