#include "win32/file_reader.h"

#include <algorithm>

namespace orv::win32 {

std::unique_ptr<FileReader> FileReader::Open(const std::wstring& path,
                                             const std::atomic<bool>* cancelled, DWORD* error) {
    const auto fail = [error](DWORD reason) {
        if (error) *error = reason;
        return nullptr;
    };
    if (path.empty()) return fail(ERROR_INVALID_NAME);
    unique_file file(CreateFileW(path.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return fail(GetLastError());
    // A pipe or a device would never end.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return fail(ERROR_IO_DEVICE);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return fail(GetLastError());
    return std::unique_ptr<FileReader>(
        new FileReader(std::move(file), static_cast<std::uint64_t>(size.QuadPart), cancelled));
}

std::size_t FileReader::Read(std::uint64_t offset, std::uint8_t* dest, std::size_t count) const {
    std::size_t done = 0;
    while (done < count && offset + done < size_ && !(cancelled_ && cancelled_->load())) {
        const DWORD chunk = static_cast<DWORD>(
            std::min<std::uint64_t>({count - done, size_ - offset - done, 1u << 30}));
        OVERLAPPED at{};
        const std::uint64_t position = offset + done;
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        DWORD read = 0;
        if (!ReadFile(file_.get(), dest + done, chunk, &read, &at) || read == 0) break;
        done += read;
    }
    return done;
}

imaging::ByteReader FileReader::Reader() const {
    return {size_, [this](std::uint64_t offset, std::uint8_t* dest, std::size_t count) {
                return Read(offset, dest, count);
            }};
}

std::optional<std::vector<std::uint8_t>> FileReader::ReadAll(std::size_t maxBytes) const {
    if (size_ == 0 || size_ > maxBytes) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size_));
    if (Read(0, bytes.data(), bytes.size()) != bytes.size()) return std::nullopt;
    return bytes;
}

} // namespace orv::win32
