#include <gtest/gtest.h>

#include "slideshow/show_jobs.h"

namespace orv::slideshow {
namespace {

// Pictures of 3 x 2 that open unless "missing" and draw unless "broken";
// files that can be made anywhere but in "C:\no\", and that write and
// commit as told, except that "C:\ro\" takes new files but no commit.
struct FakeFiles : WallpaperFiles {
    bool writes = true, commits = true;
    int open = 0, opened = 0, made = 0, live = 0;
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
        File(FakeFiles* f, bool c) : files(f), commits(c) { ++files->made, ++files->live; }
        ~File() override { --files->live; }
        FakeFiles* files;
        bool commits;
        std::string bytes;
        bool Write(const std::uint8_t* b, std::size_t n) override {
            bytes.append(reinterpret_cast<const char*>(b), n);
            return files->writes;
        }
        bool Commit() override { return commits && (files->committed = bytes, true); }
    };
    std::unique_ptr<imaging::Picture> Open(const std::string& path) override {
        ++opened;
        if (path == "missing") return nullptr;
        return std::make_unique<Picture>(this, path != "broken");
    }
    std::unique_ptr<platform::ReplacingFile> Replace(const std::string& target) override {
        EXPECT_EQ(open, 0) << "the picture is closed while a file is made";
        if (target.starts_with("C:\\no\\")) return nullptr;
        return std::make_unique<File>(this, commits && !target.starts_with("C:\\ro\\"));
    }
    bool stopped = false; // the job was cancelled while its picture was drawn
    bool Stopped() const override { return stopped; }
};

TEST(WallpaperJob, ATargetIsChosenFirstThePictureDecodedOnceAndNothingLeftBeside) {
    const struct {
        std::string picture;
        bool writes, commits;
        std::vector<std::string> targets;
        std::optional<std::string> written;
        int made, opened; // files made (each target tried first), pictures opened
    } cases[] = {
        {"photo", true, true, {"C:\\no\\a.bmp", "C:\\ok\\b.bmp"}, "C:\\ok\\b.bmp", 2, 1},
        {"photo", true, true, {"C:\\ro\\a.bmp", "C:\\ok\\b.bmp"}, "C:\\ok\\b.bmp", 3, 1},
        {"photo", true, true, {"C:\\no\\a.bmp"}, std::nullopt, 0, 0},
        {"photo", true, true, {""}, std::nullopt, 0, 0},
        {"missing", true, true, {"C:\\ok\\a.bmp"}, std::nullopt, 1, 1},
        {"broken", true, true, {"C:\\ok\\a.bmp"}, std::nullopt, 1, 1},
        {"photo", false, true, {"C:\\ok\\a.bmp"}, std::nullopt, 2, 1},
        {"photo", true, false, {"C:\\ok\\a.bmp", "C:\\ok\\b.bmp"}, std::nullopt, 3, 1},
        {"stopped", true, true, {"C:\\ok\\a.bmp"}, std::nullopt, 1, 1},
    };
    for (const auto& c : cases) {
        FakeFiles files;
        files.writes = c.writes;
        files.commits = c.commits;
        files.stopped = c.picture == "stopped";
        const auto result = RunWallpaperJob({9, c.picture, c.targets}, files);
        EXPECT_EQ(result.id, 9u);
        EXPECT_EQ(result.written, c.written) << c.picture;
        EXPECT_EQ(files.made, c.made) << c.picture;
        EXPECT_EQ(files.opened, c.opened) << c.picture;
        EXPECT_EQ(files.live, 0) << c.picture << ": no file left beside a target";
        EXPECT_EQ(files.committed.substr(0, 2), c.written ? "BM" : "") << c.picture;
        EXPECT_EQ(c.written ? files.committed.at(18) : 3, 3) << "the picture's own width";
    }
}

} // namespace
} // namespace orv::slideshow
