#include "win32/pickers.h"

#include "common/text.h"
#include "pickers/music_file_picker.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

constexpr std::size_t kFileChars = 1026;
constexpr DWORD kOpenFlags =
    OFN_LONGNAMES | OFN_NODEREFERENCELINKS | OFN_EXPLORER | OFN_CREATEPROMPT;

} // namespace

std::unique_ptr<OpenFileRecord> MakeOpenFileRecord(std::intptr_t owner, const std::string& title,
                                                   const platform::FileTypes& types,
                                                   const std::string& startFolder) {
    auto r = std::make_unique<OpenFileRecord>();
    r->filter = Wide(pickers::FilterList(types));
    r->file.assign(kFileChars, L'\0');
    r->startFolder = Wide(startFolder);
    r->title = Wide(title);
    r->defaultExtension = Wide(types.defaultExtension);

    OPENFILENAMEW& ofn = r->ofn;
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = WindowOf(owner);
    ofn.lpstrFilter = r->filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(types.preselected + 1); // 1-based
    ofn.lpstrFile = r->file.data();
    ofn.nMaxFile = static_cast<DWORD>(r->file.size());
    ofn.lpstrInitialDir = r->startFolder.c_str();
    ofn.lpstrTitle = r->title.c_str();
    ofn.Flags = kOpenFlags;
    ofn.lpstrDefExt = r->defaultExtension.c_str();
    return r;
}

std::unique_ptr<BrowseRecord> MakeBrowseRecord(std::intptr_t owner, const std::string& title) {
    auto r = std::make_unique<BrowseRecord>();
    r->displayName.assign(MAX_PATH, L' ');
    r->title = Wide(title);
    r->info.hwndOwner = WindowOf(owner);
    r->info.pidlRoot = nullptr; // the top of the shell's namespace
    r->info.pszDisplayName = r->displayName.data();
    r->info.lpszTitle = r->title.c_str();
    r->info.ulFlags = 0;
    return r;
}

std::optional<std::string> Win32Pickers::PickFile(std::intptr_t owner, const std::string& title,
                                                  const platform::FileTypes& types,
                                                  const std::string& startFolder) {
    const auto record = MakeOpenFileRecord(owner, title, types, startFolder);
    if (!GetOpenFileNameW(&record->ofn)) return std::nullopt;
    return TextBeforeNul(Utf8(record->file));
}

std::optional<std::string> Win32Pickers::PickFolder(std::intptr_t owner, const std::string& title) {
    const auto record = MakeBrowseRecord(owner, title);
    const unique_cotaskmem<ITEMIDLIST> list(SHBrowseForFolderW(&record->info));
    if (!list) return std::nullopt;
    std::wstring path(MAX_PATH, L' ');
    if (!SHGetPathFromIDListW(list.get(), path.data())) return std::nullopt;
    return TextBeforeNul(Utf8(path));
}

} // namespace orv::win32
