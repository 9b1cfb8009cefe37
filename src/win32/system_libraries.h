// Where the program's libraries come from: the system folder, and nowhere
// else. The entry point narrows the process's search to it before anything
// else runs; the system libraries that are not among Windows' known DLLs
// (media, version information, colour) are not imported, but looked up here
// when first used, as are the functions that older systems lack.
#pragma once
#include <windows.h>

#include <icm.h>
#include <mmsystem.h>

namespace orv::win32 {

// From now on this process, and every system library in it, loads libraries
// given by name from the system folder only. A system without the setting
// (Windows 7 before its 2011 update) keeps its search.
void SearchLibrariesInSystemFolderOnly() noexcept;

// A library of the system folder, loaded once and kept for the program's
// life; null when the system has none of that name.
HMODULE SystemLibrary(const wchar_t* name) noexcept;

// A function of such a library; null where the system lacks it.
template <typename F> F SystemFunction(const wchar_t* library, const char* name) noexcept {
    const HMODULE module = SystemLibrary(library);
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

// The functions the program calls in libraries that are not known DLLs, a
// table per library: every function found, or (when one is missing) none.
struct MediaFunctions {
    decltype(&::mciSendStringW) mciSendStringW = nullptr;
    explicit operator bool() const { return mciSendStringW != nullptr; }
};
struct VersionFunctions {
    decltype(&::GetFileVersionInfoSizeW) GetFileVersionInfoSizeW = nullptr;
    decltype(&::GetFileVersionInfoW) GetFileVersionInfoW = nullptr;
    decltype(&::VerQueryValueW) VerQueryValueW = nullptr;
    explicit operator bool() const { return VerQueryValueW != nullptr; }
};
struct ColorFunctions {
    decltype(&::OpenColorProfileW) OpenColorProfileW = nullptr;
    decltype(&::CloseColorProfile) CloseColorProfile = nullptr;
    decltype(&::GetStandardColorSpaceProfileW) GetStandardColorSpaceProfileW = nullptr;
    decltype(&::CreateMultiProfileTransform) CreateMultiProfileTransform = nullptr;
    decltype(&::TranslateBitmapBits) TranslateBitmapBits = nullptr;
    decltype(&::DeleteColorTransform) DeleteColorTransform = nullptr;
    explicit operator bool() const { return DeleteColorTransform != nullptr; }
};

// winmm, version and mscms, each looked up once, from any thread.
const MediaFunctions& Media() noexcept;
const VersionFunctions& Version() noexcept;
const ColorFunctions& Colors() noexcept;

} // namespace orv::win32
