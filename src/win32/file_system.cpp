#include "win32/file_system.h"

#include <windows.h>

#include "common/errors.h"
#include "win32/file_reader.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

EntryAttributes Entry(DWORD attributes) {
    return {(attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
            (attributes & FILE_ATTRIBUTE_SYSTEM) != 0};
}

} // namespace

std::optional<EntryAttributes> Win32FileSystem::AttributesOf(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return Entry(attributes);
}

void Win32FileSystem::Search(const std::string& pattern, bool listing, const Found& found) {
    WIN32_FIND_DATAW data;
    // Basic info (no short names) and large fetches make big folders fast.
    const unique_find find(FindFirstFileExW(Wide(pattern).c_str(), FindExInfoBasic, &data,
                                            FindExSearchNameMatch, nullptr,
                                            listing ? FIND_FIRST_EX_LARGE_FETCH : 0));
    if (!find) return;
    do {
        if (!found(Utf8(data.cFileName), Entry(data.dwFileAttributes))) return;
    } while (FindNextFileW(find.get(), &data));
}

bool Win32FileSystem::OpensAsDiskFile(const std::string& path) {
    return FileReader::Open(Wide(path)) != nullptr;
}

platform::OpenedFile Win32FileSystem::OpenForReading(const std::string& path) {
    DWORD error = 0;
    std::shared_ptr<FileReader> file = FileReader::Open(Wide(path), {}, &error);
    if (!file) return {nullptr, FromSystemError(error)};
    return {std::make_unique<OffsetStream>(
                [file](std::uint64_t offset, std::uint8_t* dest, std::size_t count) {
                    return file->Read(offset, dest, count);
                }),
            std::nullopt};
}

std::string Win32FileSystem::AnsiToUtf8(std::string_view text) {
    return Utf8(WideFromCodePage(text.substr(0, 1u << 30), CP_ACP));
}

} // namespace orv::win32
