#include <gtest/gtest.h>

#include "slideshow/show_jobs.h"

namespace orv::slideshow {
namespace {

// Pictures of 3 x 2 that open unless "missing" and draw unless "broken";
// files that can be made anywhere but in "C:\no\" and write and commit as
// told.
struct FakeFiles : WallpaperFiles {
    bool writes = true, commits = true;
    int open = 0, made = 0;
    std::string committed; // the target's bytes
    struct Picture : imaging::Picture {
        Picture(FakeFiles* f, bool d) : files(f), draws(d) { ++files->open; }
        ~Picture() override { --files->open; }
        FakeFiles* files;
        bool draws;
        imaging::PixelSize NaturalSize() const override { return {3, 2}; }
        bool RenderInto(int, int, std::uint8_t*, std::size_t) override { return draws; }
    };
    struct File : platform::ReplacingFile {
        explicit File(FakeFiles* f) : files(f) { ++files->made; }
        FakeFiles* files;
        std::string bytes;
        bool Write(const std::uint8_t* b, std::size_t n) override {
            bytes.append(reinterpret_cast<const char*>(b), n);
            return files->writes;
        }
        bool Commit() override { return files->commits && (files->committed = bytes, true); }
    };
    std::unique_ptr<imaging::Picture> Open(const std::string& path) override {
        if (path == "missing") return nullptr;
        return std::make_unique<Picture>(this, path != "broken");
    }
    std::unique_ptr<platform::ReplacingFile> Replace(const std::string& target) override {
        EXPECT_EQ(open, 0) << "the picture is closed before the file is written";
        if (target.starts_with("C:\\no\\")) return nullptr;
        return std::make_unique<File>(this);
    }
};

TEST(WallpaperJob, TheBitmapReplacesTheFirstTargetThatTakesItOrNothing) {
    const struct {
        std::string picture;
        bool writes, commits;
        std::vector<std::string> targets;
        std::optional<std::string> written;
        int made;
    } cases[] = {
        {"photo", true, true, {"C:\\no\\a.bmp", "C:\\ok\\b.bmp"}, "C:\\ok\\b.bmp", 1},
        {"photo", true, true, {""}, std::nullopt, 0},
        {"missing", true, true, {"C:\\ok\\a.bmp"}, std::nullopt, 0},
        {"broken", true, true, {"C:\\ok\\a.bmp"}, std::nullopt, 0},
        {"photo", false, true, {"C:\\ok\\a.bmp"}, std::nullopt, 1},
        {"photo", true, false, {"C:\\ok\\a.bmp", "C:\\ok\\b.bmp"}, std::nullopt, 2},
    };
    for (const auto& c : cases) {
        FakeFiles files;
        files.writes = c.writes;
        files.commits = c.commits;
        const auto result = RunWallpaperJob({9, c.picture, c.targets}, files);
        EXPECT_EQ(result.written, c.written) << c.picture;
        EXPECT_EQ(files.made, c.made) << c.picture;
        EXPECT_EQ(files.committed.substr(0, 2), c.written ? "BM" : "") << c.picture;
        EXPECT_EQ(c.written ? files.committed.at(18) : 3, 3) << "the picture's own width";
    }
}

} // namespace
} // namespace orv::slideshow
