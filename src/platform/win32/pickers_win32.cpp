#include "platform/win32/pickers_win32.h"

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>

#include "platform/win32/wide.h"

namespace orv::win32 {
namespace {

// A buffer holding `text` and padded with NULs to `chars` characters (plus
// the terminator that std::wstring keeps anyway).
std::wstring Buffer(const std::string& text, std::size_t chars) {
    std::wstring buffer = Wide(text);
    buffer.resize(std::max(chars, buffer.size()), L'\0');
    return buffer;
}

struct ItemListFree {
    void operator()(ITEMIDLIST* list) const noexcept { CoTaskMemFree(list); }
};

} // namespace

std::optional<std::string> Win32Pickers::OpenFile(const platform::OpenFileRequest& request) {
    try {
        std::wstring filter;
        for (const auto& [description, pattern] : request.filters) {
            filter += Wide(description);
            filter += L'\0';
            filter += Wide(pattern);
            filter += L'\0';
        }
        filter += L'\0';
        std::wstring file = Buffer(request.fileBuffer, request.fileBufferChars);
        std::wstring fileTitle = Buffer(request.fileTitleBuffer, request.fileTitleChars);
        const std::wstring folder = Wide(request.initialFolder);
        const std::wstring title = Wide(request.title);
        const std::wstring extension = Wide(request.defaultExtension);

        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof(ofn);
        ofn.hwndOwner = reinterpret_cast<HWND>(request.owner);
        ofn.lpstrFilter = filter.c_str();
        ofn.nFilterIndex = static_cast<DWORD>(request.filterIndex);
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        ofn.lpstrFileTitle = fileTitle.data();
        ofn.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
        ofn.lpstrInitialDir = folder.c_str();
        ofn.lpstrTitle = title.c_str();
        ofn.Flags = request.flags;
        ofn.lpstrDefExt = extension.c_str();
        if (!GetOpenFileNameW(&ofn)) return std::nullopt;
        return Utf8(file);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<std::string>
Win32Pickers::BrowseFolder(const platform::BrowseFolderRequest& request) {
    try {
        std::wstring displayName(std::max<std::size_t>(request.displayNameChars, MAX_PATH), L' ');
        const std::wstring title = Wide(request.title);
        BROWSEINFOW bi{};
        bi.hwndOwner = reinterpret_cast<HWND>(request.owner);
        bi.pidlRoot = reinterpret_cast<PCIDLIST_ABSOLUTE>(request.root);
        bi.pszDisplayName = displayName.data();
        bi.lpszTitle = title.c_str();
        bi.ulFlags = request.flags;
        const std::unique_ptr<ITEMIDLIST, ItemListFree> list(SHBrowseForFolderW(&bi));
        if (!list) return std::nullopt;
        std::wstring path(MAX_PATH, L' ');
        if (!SHGetPathFromIDListW(list.get(), path.data())) return std::nullopt;
        return Utf8(path);
    } catch (...) {
        return std::nullopt;
    }
}

} // namespace orv::win32
