#include "win32/file_reader.h"

#include <algorithm>

#include "common/transfer.h"

namespace orv::win32 {

std::unique_ptr<FileReader> FileReader::Open(const std::wstring& path, StopSignal stop,
                                             DWORD* error) {
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
        new FileReader(std::move(file), static_cast<std::uint64_t>(size.QuadPart), stop));
}

std::size_t TransferAt(HANDLE file, bool write, std::uint64_t offset, std::uint8_t* bytes,
                       std::uint32_t count) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD moved = 0;
    const BOOL done = write ? WriteFile(file, bytes, count, &moved, &at)
                            : ReadFile(file, bytes, count, &moved, &at);
    return done ? moved : 0;
}

std::size_t FileReader::Read(std::uint64_t offset, std::uint8_t* dest, std::size_t count) const {
    if (offset >= size_) return 0;
    const auto read = [this](std::uint64_t at, std::uint8_t* bytes, std::uint32_t n) {
        return TransferAt(file_.get(), false, at, bytes, n);
    };
    return TransferAll(offset, dest, std::min<std::uint64_t>(count, size_ - offset), read, stop_);
}

imaging::ByteReader FileReader::Reader() const {
    return {size_, [this](std::uint64_t offset, std::uint8_t* dest, std::size_t count) {
                return Read(offset, dest, count);
            }};
}

} // namespace orv::win32
