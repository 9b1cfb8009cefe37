#include "win32/file_system.h"

#include <windows.h>

#include <algorithm>

#include "common/errors.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool HasWildcard(const std::wstring& path) {
    return path.find_first_of(L"*?") != std::wstring::npos;
}

bool Admits(DWORD attributes, platform::LookupFilter filter) {
    if (attributes & kNotOrdinary) return false;
    return filter == platform::LookupFilter::FoldersAndFiles ||
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

std::vector<std::string> Win32FileSystem::ListFiles(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    // Basic info (no short names) and large fetches make big folders fast.
    const unique_find find(FindFirstFileExW(Wide(folder + "*.*").c_str(), FindExInfoBasic, &data,
                                            FindExSearchNameMatch, nullptr,
                                            FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return names;
    do {
        if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | kNotOrdinary)) continue;
        names.push_back(Utf8(data.cFileName));
    } while (FindNextFileW(find.get(), &data));
    return names;
}

bool Win32FileSystem::NormalFileExists(const std::string& path) {
    const std::wstring wide = Wide(path);
    if (wide.empty() || HasWildcard(wide)) return false;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           Admits(attributes, platform::LookupFilter::FilesOnly);
}

bool Win32FileSystem::Lookup(const std::string& pattern, platform::LookupFilter filter) {
    std::wstring wide = Wide(pattern);
    if (wide.empty()) return false;
    if (!HasWildcard(wide)) {
        // A trailing backslash names the folder itself ("C:\Pics\"), except a drive root.
        if (wide.size() > 3 && wide.back() == L'\\') wide.pop_back();
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && Admits(attributes, filter);
    }
    WIN32_FIND_DATAW data;
    const unique_find find(
        FindFirstFileExW(wide.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    if (!find) return false;
    do {
        if (Admits(data.dwFileAttributes, filter)) return true;
    } while (FindNextFileW(find.get(), &data));
    return false;
}

namespace {

class FileStream : public platform::ByteStream {
  public:
    explicit FileStream(unique_file file) : file_(std::move(file)) {}
    std::size_t Read(char* dest, std::size_t count) override {
        DWORD read = 0;
        const DWORD n = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
        if (!ReadFile(file_.get(), dest, n, &read, nullptr)) return 0;
        return read;
    }

  private:
    unique_file file_;
};

} // namespace

std::unique_ptr<platform::ByteStream> Win32FileSystem::OpenForReading(const std::string& path) {
    unique_file file(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) throw FileNotFound();
        if (error == ERROR_PATH_NOT_FOUND) throw PathNotFound();
        if (error == ERROR_INVALID_NAME) throw BadFileNameOrNumber();
        throw PermissionDenied();
    }
    // A pipe or a device would never end.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) throw DeviceIOError();
    return std::make_unique<FileStream>(std::move(file));
}

std::string Win32FileSystem::AnsiToUtf8(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(std::min<std::size_t>(text.size(), 1u << 30));
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), n);
    return Utf8(wide);
}

} // namespace orv::win32
