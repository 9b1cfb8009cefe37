// A file opened for reading at any offset, as the decoders ask for its
// bytes; the file system's streams read through it too. Only plain files on a disk are opened: a
// "picture" that is a pipe or a device would never end.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "common/transfer.h"
#include "imaging/picture_types.h"
#include "win32/unique_handle.h"

namespace orv::win32 {

class FileReader {
  public:
    // Nothing when the file cannot be opened or is not a plain disk file;
    // then `error`, when given, receives the system's reason. Once `stop`
    // says stop, every read gives nothing, so a decoder that is reading the
    // file comes to its end at once.
    static std::unique_ptr<FileReader> Open(const std::wstring& path, StopSignal stop = {},
                                            DWORD* error = nullptr);

    std::uint64_t Size() const { return size_; }
    // Reads at the offset; fewer bytes only at the end or on an error.
    std::size_t Read(std::uint64_t offset, std::uint8_t* dest, std::size_t count) const;
    // A reader for the decoders; valid while this object lives.
    imaging::ByteReader Reader() const;

  private:
    FileReader(unique_file file, std::uint64_t size, StopSignal stop)
        : file_(std::move(file)), size_(size), stop_(stop) {}
    unique_file file_;
    std::uint64_t size_;
    StopSignal stop_;
};

// One ReadFile or WriteFile of `count` bytes at `offset` (a Transfer, see
// common/transfer.h): how many it moved, 0 on a failure.
std::size_t TransferAt(HANDLE file, bool write, std::uint64_t offset, std::uint8_t* bytes,
                       std::uint32_t count);

} // namespace orv::win32
