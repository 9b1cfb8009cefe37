#include "win32/system_libraries.h"

#include <cwchar>

namespace orv::win32 {
namespace {

// One function of the library; false when it has none of that name.
template <typename F> bool Find(HMODULE module, const char* name, F& function) {
    function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

} // namespace

void SearchLibrariesInSystemFolderOnly() noexcept {
    // Looked up: Windows 7 has it only with its 2011 update.
    using SetDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDirectories = reinterpret_cast<SetDirectoriesFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (!setDirectories || !setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        SetDllDirectoryW(L""); // at least not the current folder
}

HMODULE SystemLibrary(const wchar_t* name) noexcept {
    if (const HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    // A system that does not know the flag refuses it: the library then by
    // its full path in the system folder, its own imports looked for there.
    if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    wchar_t path[2 * MAX_PATH + 2] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH || wcslen(name) > MAX_PATH) return nullptr;
    path[length] = L'\\';
    wcscpy(path + length + 1, name);
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

const MediaFunctions& Media() noexcept {
    static const MediaFunctions table = [] {
        MediaFunctions f;
        const HMODULE m = SystemLibrary(L"winmm.dll");
        return m && Find(m, "mciSendStringW", f.mciSendStringW) ? f : MediaFunctions{};
    }();
    return table;
}

const VersionFunctions& Version() noexcept {
    static const VersionFunctions table = [] {
        VersionFunctions f;
        const HMODULE m = SystemLibrary(L"version.dll");
        const bool all = m && Find(m, "GetFileVersionInfoSizeW", f.GetFileVersionInfoSizeW) &&
                         Find(m, "GetFileVersionInfoW", f.GetFileVersionInfoW) &&
                         Find(m, "VerQueryValueW", f.VerQueryValueW);
        return all ? f : VersionFunctions{};
    }();
    return table;
}

const ColorFunctions& Colors() noexcept {
    static const ColorFunctions table = [] {
        ColorFunctions f;
        const HMODULE m = SystemLibrary(L"mscms.dll");
        const bool all =
            m && Find(m, "OpenColorProfileW", f.OpenColorProfileW) &&
            Find(m, "CloseColorProfile", f.CloseColorProfile) &&
            Find(m, "GetStandardColorSpaceProfileW", f.GetStandardColorSpaceProfileW) &&
            Find(m, "CreateMultiProfileTransform", f.CreateMultiProfileTransform) &&
            Find(m, "TranslateBitmapBits", f.TranslateBitmapBits) &&
            Find(m, "DeleteColorTransform", f.DeleteColorTransform);
        return all ? f : ColorFunctions{};
    }();
    return table;
}

} // namespace orv::win32
