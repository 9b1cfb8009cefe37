#include <gtest/gtest.h>

#include <optional>
#include <ostream>

#include "common/numeric.h"
#include "fakes/fake_platform.h"
#include "slideshow/layout.h"
#include "slideshow/picture_list.h"

namespace orv::slideshow {
namespace {

using platform::PictureSize;

// A 1024 x 768 screen at 15 twips per pixel.
constexpr float kSW = 15360, kSH = 11520;

struct LayoutCase {
    const char* name;
    std::optional<PictureSize> natural;
    int scale;
    bool preview;
    TwipRect expected;
};

// A case prints as its name in test output.
void PrintTo(const LayoutCase& c, std::ostream* out) {
    *out << c.name;
}

class LayoutTable : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTable, PlacesTheBox) {
    const LayoutCase& c = GetParam();
    // The box as the load leaves it: the whole screen.
    const TwipRect box = LayoutPicture(kSW, kSH, c.natural, c.scale, c.preview, {0, 0, kSW, kSH});
    EXPECT_FLOAT_EQ(box.left, c.expected.left);
    EXPECT_FLOAT_EQ(box.top, c.expected.top);
    EXPECT_FLOAT_EQ(box.width, c.expected.width);
    EXPECT_FLOAT_EQ(box.height, c.expected.height);
}

INSTANTIATE_TEST_SUITE_P(
    Screen1024x768, LayoutTable,
    ::testing::Values(
        LayoutCase{"wide_2_to_1", PictureSize{2000, 1000}, 100, false, {0, 1920, 15360, 7680}},
        LayoutCase{
            "wide_at_half_scale", PictureSize{2000, 1000}, 50, false, {3840, 3840, 7680, 3840}},
        LayoutCase{"wide_in_preview", PictureSize{2000, 1000}, 100, true, {0, 283.75f, 2270, 1135}},
        LayoutCase{"tall_3_to_4", PictureSize{300, 400}, 100, false, {3360, 0, 8640, 11520}},
        LayoutCase{
            "screen_proportions_fill", PictureSize{1600, 1200}, 100, false, {0, 0, 15360, 11520}},
        LayoutCase{"tiny_icon_enlarged", PictureSize{16, 16}, 100, false, {1920, 0, 11520, 11520}},
        LayoutCase{"scale_zero_is_empty", PictureSize{2000, 1000}, 0, false, {7680, 5760, 0, 0}},
        // Natural sizes are rounded first: 2.4 x 1.5 counts as 2 x 2.
        LayoutCase{
            "natural_size_rounded", PictureSize{2.4, 1.5}, 100, false, {1920, 0, 11520, 11520}},
        // 101 x 100: the centring offset 1862.4 rounds to a whole twip.
        LayoutCase{
            "offset_rounded", PictureSize{101, 100}, 100, false, {1862, 0, 11635.2f, 11520}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Layout, OddOffsetsRoundHalfToEven) {
    // Height 7681 on a 11520-high screen leaves 3839, half of it 1919.5 -> 1920;
    // 7683 leaves 3837, half 1918.5 -> 1918.
    EXPECT_FLOAT_EQ(LayoutPicture(kSW, kSH, PictureSize{15360, 7681}, 100, false, {}).top, 1920);
    EXPECT_FLOAT_EQ(LayoutPicture(kSW, kSH, PictureSize{15360, 7683}, 100, false, {}).top, 1918);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
}

TEST(Layout, WithoutAPictureTheBoxKeepsItsSizeThroughScaleAndPreview) {
    const TwipRect before{100, 200, 8000, 6000};
    const TwipRect same = LayoutPicture(kSW, kSH, std::nullopt, 100, false, before);
    EXPECT_FLOAT_EQ(same.left, 0);
    EXPECT_FLOAT_EQ(same.top, 0);
    EXPECT_FLOAT_EQ(same.width, 8000);
    EXPECT_FLOAT_EQ(same.height, 6000);
    const TwipRect half = LayoutPicture(kSW, kSH, std::nullopt, 50, false, before);
    EXPECT_FLOAT_EQ(half.width, 4000);
    EXPECT_FLOAT_EQ(half.left, 5680);
    // A size of nothing cannot be fitted either (no division by zero).
    const TwipRect zero = LayoutPicture(kSW, kSH, PictureSize{0, 0}, 100, false, before);
    EXPECT_FLOAT_EQ(zero.width, 8000);
}

TEST(PictureList, AcceptsThePictureEndingsOnly) {
    for (const char* name : {"Holiday.JPG", "a.Gif", "x.BMP", "scan.JPEG", "myjpeg", "a.jpg",
                             "photo.jpeg", "Pic\xC3\xA4.jpg", "\xC3\xA4.gif"})
        EXPECT_TRUE(IsPictureName(name)) << name;
    for (const char* name :
         {".jpg", "photo.jpe", "photo.png", "photo.tif", "photo.jpg.txt", "jpeg", ""})
        EXPECT_FALSE(IsPictureName(name)) << name;
}

TEST(PictureList, ListsFolderPlusNameAfterAnEmptyElement) {
    for (const std::string folder : {"C:\\Pics", "C:\\Pics\\"}) {
        fakes::FakeFileSystem files;
        files.AddFile("C:\\Pics\\Holiday.JPG");
        files.AddFile("C:\\Pics\\notes.txt");
        files.AddFile("C:\\Pics\\scan.JPEG");
        files.entries.push_back({"C:\\Pics\\hidden.jpg", false, true, false, ""});
        files.AddFolder("C:\\Pics\\more.jpg");
        files.AddFile("C:\\Pics\\more.jpg\\inner.jpg");
        files.AddFile("C:\\Pics\\x.BMP");
        std::vector<std::string> list{"stale", "entries"};
        EXPECT_TRUE(LoadPictureList(files, folder, list)) << folder;
        EXPECT_EQ(list, (std::vector<std::string>{"", "C:\\Pics\\Holiday.JPG",
                                                  "C:\\Pics\\scan.JPEG", "C:\\Pics\\x.BMP"}))
            << folder;
    }
}

TEST(PictureList, EmptyOrMissingFolderGivesOnlyElementZero) {
    fakes::FakeFileSystem files;
    files.AddFile("C:\\Other\\a.jpg");
    std::vector<std::string> list{"", "C:\\Old\\a.jpg"};
    EXPECT_FALSE(LoadPictureList(files, "C:\\Pics", list));
    EXPECT_EQ(list, std::vector<std::string>{""});
    // An empty folder setting means the root of the current drive.
    files.AddFile("\\root.gif");
    EXPECT_TRUE(LoadPictureList(files, "", list));
    EXPECT_EQ(list.back(), "\\root.gif");
}

TEST(SceneHitTest, PutsTheMessageFirstThenTheClockThenThePicture) {
    const PixelRect clock{40, 50, 57, 17}, message{0, 0, 60, 60};
    const std::vector<PixelRect> pictures{{0, 20, 100, 50}};
    struct Case {
        bool clock, message;
        ScreenPoint at;
        Surface hit;
    };
    const Case cases[] = {
        {false, false, {10, 10}, Surface::Background},
        {false, false, {10, 75}, Surface::Background},
        {false, false, {10, 30}, Surface::Picture},
        {true, false, {50, 55}, Surface::Clock},
        {true, true, {50, 55}, Surface::NoPictures},
        {true, true, {80, 60}, Surface::Clock},
        {false, true, {80, 30}, Surface::Picture},
        {false, false, {100, 30}, Surface::Background},
    };
    for (const Case& c : cases) {
        Scene scene;
        scene.LabelOf(Label::Clock) = {"", clock, c.clock, {}};
        scene.LabelOf(Label::NoPictures) = {"", message, c.message, {}};
        for (const PixelRect& box : pictures)
            scene.pictures.push_back({box, nullptr});
        EXPECT_EQ(scene.HitTest(c.at), c.hit) << c.at.x << "," << c.at.y;
    }
}

TEST(ShowMonitors, PrimaryFirstInClientPixelsWithAFallbackAndAPreviewAtTheOrigin) {
    using platform::MonitorArea;
    const MonitorArea left{{-800, 0, 800, 600}, 96, false}, main{{0, 0, 1024, 768}, 144, true},
        right{{1024, 0, 640, 480}, 120, false}, screen{{0, 0, 1024, 768}, 96, false};
    const auto full = ShowMonitors({left, right, main}, screen, true, {-800, 0}, 0);
    ASSERT_EQ(full.size(), 3u);
    EXPECT_EQ(full[0].bounds, (PixelRect{800, 0, 1024, 768}));
    EXPECT_EQ(full[1].bounds, (PixelRect{0, 0, 800, 600})) << "the others keep their order";
    EXPECT_EQ(full[2].bounds, (PixelRect{1824, 0, 640, 480}));
    EXPECT_TRUE(full[0].primary);
    const auto none = ShowMonitors({}, screen, true, {0, 0}, 0);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_TRUE(none[0].primary) << "the fallback is the primary screen";
    EXPECT_EQ(none[0].bounds, screen.bounds);
    const auto unmarked = ShowMonitors({right, left}, screen, true, {0, 0}, 0);
    EXPECT_TRUE(unmarked[0].primary && !unmarked[1].primary);
    const auto preview = ShowMonitors({left, right, main}, screen, false, {300, 200}, 192);
    ASSERT_EQ(preview.size(), 1u);
    EXPECT_EQ(preview[0].bounds, (PixelRect{0, 0, 1024, 768}));
    EXPECT_EQ(preview[0].dpi, 192) << "the host's, not the primary monitor's";
    EXPECT_EQ(ShowMonitors({main}, screen, false, {0, 0}, 0)[0].dpi, 144) << "host's unknown";
}

} // namespace
} // namespace orv::slideshow
