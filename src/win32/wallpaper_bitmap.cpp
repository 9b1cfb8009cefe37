#include "win32/wallpaper_bitmap.h"

#include <windows.h>

#include <exception>
#include <vector>

#include "imaging/bmp_writer.h"
#include "imaging/picture_decoder.h"
#include "win32/picture_file.h"
#include "win32/unique_handle.h"

namespace orv::win32 {
namespace {

// A file beside the target that is removed again unless it was kept.
class TempFile {
  public:
    explicit TempFile(const std::wstring& target) {
        const std::size_t slash = target.find_last_of(L"\\/");
        const std::wstring folder =
            slash == std::wstring::npos ? L"." : target.substr(0, slash + 1);
        wchar_t name[MAX_PATH + 1] = {};
        if (GetTempFileNameW(folder.c_str(), L"orv", 0, name)) path_ = name;
    }
    ~TempFile() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::wstring& Path() const { return path_; }
    bool MoveTo(const std::wstring& target) {
        if (!MoveFileExW(path_.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
        path_.clear();
        return true;
    }

  private:
    std::wstring path_;
};

} // namespace

bool SaveAsWindowsBitmap(const std::wstring& source, const std::wstring& bmpPath) {
    try {
        if (bmpPath.empty()) return false;
        std::vector<std::uint8_t> pixels;
        imaging::PixelSize size;
        {
            const std::unique_ptr<PictureFile> picture = PictureFile::Open(source);
            if (!picture) return false;
            picture->SetColorDestination(ColorDestination::Srgb);
            const SIZE natural = picture->NaturalSize();
            size = imaging::WallpaperSize({natural.cx, natural.cy}, kMaxWallpaperBytes);
            pixels.resize(static_cast<std::size_t>(size.width) * size.height * 4);
            if (!picture->RenderInto(size.width, size.height, pixels.data(),
                                     static_cast<std::size_t>(size.width) * 4))
                return false;
        }
        TempFile temp(bmpPath);
        if (temp.Path().empty()) return false;
        {
            const unique_file file(CreateFileW(temp.Path().c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file) return false;
            const auto sink = [&file](const std::uint8_t* bytes, std::size_t count) {
                DWORD written = 0;
                return WriteFile(file.get(), bytes, static_cast<DWORD>(count), &written, nullptr) &&
                       written == count;
            };
            if (!imaging::WriteBmp(sink, pixels.data(), size.width, size.height,
                                   static_cast<std::size_t>(size.width) * 4) ||
                !FlushFileBuffers(file.get()))
                return false;
        }
        return temp.MoveTo(bmpPath);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace orv::win32
