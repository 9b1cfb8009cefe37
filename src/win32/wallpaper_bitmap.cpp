#include "win32/wallpaper_bitmap.h"

#include <windows.h>

#include "win32/picture_file.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

// A file named orv*.tmp beside the target, deleted unless it was moved.
class TempFile final : public platform::ReplacingFile {
  public:
    TempFile(std::wstring path, std::wstring target)
        : path_(std::move(path)), target_(std::move(target)),
          file_(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~TempFile() override {
        file_.reset();
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool IsOpen() const { return static_cast<bool>(file_); }
    bool Write(const std::uint8_t* bytes, std::size_t count) override {
        DWORD written = 0;
        return WriteFile(file_.get(), bytes, static_cast<DWORD>(count), &written, nullptr) &&
               written == count;
    }
    bool Commit() override {
        if (!FlushFileBuffers(file_.get())) return false;
        file_.reset();
        if (!MoveFileExW(path_.c_str(), target_.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
        path_.clear();
        return true;
    }

  private:
    std::wstring path_;
    std::wstring target_;
    unique_file file_;
};

} // namespace

std::unique_ptr<imaging::Picture> WallpaperBitmapFiles::Open(const std::string& path) {
    return OpenPictureFile(Wide(path), stop_, ColorDestination::Srgb);
}

std::unique_ptr<platform::ReplacingFile> WallpaperBitmapFiles::Replace(const std::string& target) {
    std::wstring path = Wide(target);
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
    wchar_t name[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(folder.c_str(), L"orv", 0, name)) return nullptr;
    auto file = std::make_unique<TempFile>(name, std::move(path));
    if (!file->IsOpen()) return nullptr;
    return file;
}

} // namespace orv::win32
