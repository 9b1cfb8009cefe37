#include "win32/scratch_file.h"

#include <windows.h>

#include <string>

#include "common/transfer.h"
#include "imaging/picture.h"
#include "win32/file_reader.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

class WindowsScratchFile : public imaging::ScratchFile {
  public:
    explicit WindowsScratchFile(unique_file file) : file_(std::move(file)) {}

    bool Read(std::uint64_t offset, void* dest, std::size_t count) noexcept override {
        return Move(offset, dest, count, false);
    }
    bool Write(std::uint64_t offset, const void* source, std::size_t count) noexcept override {
        return Move(offset, const_cast<void*>(source), count, true);
    }

  private:
    bool Move(std::uint64_t offset, void* buffer, std::size_t count, bool write) noexcept {
        const auto move = [this, write](std::uint64_t at, std::uint8_t* bytes, std::uint32_t n) {
            return TransferAt(file_.get(), write, at, bytes, n);
        };
        return TransferAll(offset, static_cast<std::uint8_t*>(buffer), count, move) == count;
    }

    unique_file file_;
};

} // namespace

std::unique_ptr<imaging::ScratchFile> OpenScratchFile() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return nullptr;
    return imaging::MakeScratchFile(
        Utf8(folder), GetCurrentProcessId(),
        [](const std::string& path) -> imaging::NewScratchFile {
            unique_file file(CreateFileW(
                Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
            if (file) return {std::make_unique<WindowsScratchFile>(std::move(file))};
            return {nullptr, GetLastError() == ERROR_FILE_EXISTS};
        });
}

imaging::DecodeBudget PictureBudget() {
    imaging::DecodeBudget budget;
    budget.scratch = OpenScratchFile;
    return budget;
}

} // namespace orv::win32
