#include "win32/file_system.h"

#include <windows.h>

#include <algorithm>

#include "common/errors.h"
#include "common/paths.h"
#include "win32/file_reader.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

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
    if (path.empty() || HasWildcard(path)) return false;
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           Admits(attributes, platform::LookupFilter::FilesOnly);
}

bool Win32FileSystem::PlainDiskFileExists(const std::string& path) {
    // The picture readers' own check: the file opens and is a disk file.
    return NormalFileExists(path) && FileReader::Open(Wide(path)) != nullptr;
}

bool Win32FileSystem::Lookup(const std::string& pattern, platform::LookupFilter filter) {
    if (pattern.empty()) return false;
    if (!HasWildcard(pattern)) {
        const DWORD attributes = GetFileAttributesW(Wide(EntryPath(pattern)).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && Admits(attributes, filter);
    }
    WIN32_FIND_DATAW data;
    const unique_find find(FindFirstFileExW(Wide(pattern).c_str(), FindExInfoBasic, &data,
                                            FindExSearchNameMatch, nullptr, 0));
    if (!find) return false;
    do {
        if (Admits(data.dwFileAttributes, filter)) return true;
    } while (FindNextFileW(find.get(), &data));
    return false;
}

namespace {

// A file read from its start, in order.
class FileStream : public platform::ByteStream {
  public:
    explicit FileStream(std::unique_ptr<FileReader> file) : file_(std::move(file)) {}
    std::size_t Read(char* dest, std::size_t count) override {
        const std::size_t n = file_->Read(at_, reinterpret_cast<std::uint8_t*>(dest), count);
        at_ += n;
        return n;
    }

  private:
    std::unique_ptr<FileReader> file_;
    std::uint64_t at_ = 0;
};

} // namespace

std::unique_ptr<platform::ByteStream> Win32FileSystem::OpenForReading(const std::string& path) {
    DWORD error = 0;
    std::unique_ptr<FileReader> file = FileReader::Open(Wide(path), nullptr, &error);
    if (!file) throw FromSystemError(error);
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
