#include <gtest/gtest.h>

#include <map>
#include <string>

#include "slideshow/show_jobs.h"

namespace orv::slideshow {
namespace {

// Pictures that open unless named "missing" and draw unless "broken"; files
// that can be made in the folder "C:\ok\" only, and fail to write or commit
// as told. What was committed, and how many files were dropped uncommitted.
struct FakeFiles : platform::WallpaperFiles {
    bool writes = true, commits = true, pictureOpen = false;
    std::map<std::string, std::string> committed;
    int dropped = 0;
    std::unique_ptr<imaging::Picture> OpenPicture(const std::string& path) override {
        struct Picture : imaging::Picture {
            FakeFiles* files;
            bool draws;
            ~Picture() override { files->pictureOpen = false; }
            imaging::PixelSize NaturalSize() const override { return {3, 2}; }
            bool RenderInto(int, int, std::uint8_t*, std::size_t) override { return draws; }
        };
        if (path == "missing") return nullptr;
        auto picture = std::make_unique<Picture>();
        picture->files = this;
        picture->draws = path != "broken";
        pictureOpen = true;
        return picture;
    }
    std::unique_ptr<platform::ReplacingFile> Replace(const std::string& target) override {
        struct File : platform::ReplacingFile {
            FakeFiles* files;
            std::string target, bytes;
            bool committed = false;
            ~File() override { files->dropped += committed ? 0 : 1; }
            bool Write(const std::uint8_t* b, std::size_t n) override {
                bytes.append(reinterpret_cast<const char*>(b), n);
                return files->writes;
            }
            bool Commit() override {
                committed = files->commits;
                if (committed) files->committed[target] = bytes;
                return committed;
            }
        };
        EXPECT_FALSE(pictureOpen) << "the picture is closed before the file is written";
        if (target.rfind("C:\\ok\\", 0) != 0) return nullptr;
        auto file = std::make_unique<File>();
        file->files = this;
        file->target = target;
        return file;
    }
};

TEST(WallpaperJob, TheBitmapReplacesTheFirstTargetThatTakesItOrNothing) {
    const struct {
        const char* name;
        std::string picture;
        bool writes, commits;
        std::vector<std::string> targets;
        std::optional<std::string> written;
    } cases[] = {
        {"the first folder refuses",
         "photo",
         true,
         true,
         {"C:\\no\\a.bmp", "C:\\ok\\b.bmp"},
         "C:\\ok\\b.bmp"},
        {"no target", "photo", true, true, {"", "C:\\no\\a.bmp"}, std::nullopt},
        {"a missing picture", "missing", true, true, {"C:\\ok\\a.bmp"}, std::nullopt},
        {"a picture that cannot be drawn", "broken", true, true, {"C:\\ok\\a.bmp"}, std::nullopt},
        {"a failed write", "photo", false, true, {"C:\\ok\\a.bmp"}, std::nullopt},
        {"a failed commit", "photo", true, false, {"C:\\ok\\a.bmp"}, std::nullopt},
    };
    for (const auto& c : cases) {
        FakeFiles files;
        files.writes = c.writes;
        files.commits = c.commits;
        const auto result = RunWallpaperJob({9, c.picture, c.targets}, files);
        EXPECT_EQ(result.id, 9u) << c.name;
        EXPECT_EQ(result.written, c.written) << c.name;
        EXPECT_EQ(files.committed.size(), c.written ? 1u : 0u) << c.name;
        EXPECT_EQ(files.dropped, c.writes && c.commits ? 0 : 1) << c.name;
        if (c.written) {
            const std::string& bmp = files.committed.at(*c.written);
            EXPECT_EQ(bmp.substr(0, 2), "BM") << c.name;
            EXPECT_EQ(bmp[18], 3) << c.name << ": the picture's own width";
        }
    }
}

} // namespace
} // namespace orv::slideshow
