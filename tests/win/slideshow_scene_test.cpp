// The slideshow's drawing at preview size, in this process (Wine does not
// show what another process paints into a child of the preview host), and
// the display helpers: the user-interface font, the DPI awareness guard.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdint>

#include "win32/display.h"
#include "win32/slideshow_scene.h"
#include "win32/system_libraries.h"

namespace orv::win32 {
namespace {

using slideshow::Label;

// A 32-bit top-down DIB section filled with one colour.
ScaledBitmap Solid(int width, int height, COLORREF colour) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    ScaledBitmap b;
    b.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* px = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i)
        px[i] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    b.width = width;
    b.height = height;
    return b;
}

// Paints the scene into a bitmap of the given size and reads it back.
class Canvas {
  public:
    Canvas(const SlideshowScene& scene, int width, int height)
        : width_(width), target_(Solid(width, height, RGB(1, 2, 3))) {
        const unique_hdc dc(CreateCompatibleDC(WindowDc(nullptr).get()));
        {
            const SelectGuard selected(dc.get(), target_.bitmap.get());
            scene.Paint(dc.get(), RECT{0, 0, width, height});
        }
        GdiFlush();
        DIBSECTION dib{};
        GetObjectW(target_.bitmap.get(), sizeof(dib), &dib);
        bits_ = static_cast<const std::uint32_t*>(dib.dsBm.bmBits);
    }
    COLORREF At(int x, int y) const {
        const std::uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

  private:
    int width_;
    ScaledBitmap target_;
    const std::uint32_t* bits_ = nullptr;
};

class SlideshowSceneTest : public ::testing::Test {
  protected:
    SlideshowScene scene;

    // A 2:1 picture laid out for the preview: 100 x 50 pixels, 20 down.
    void ShowPreviewPicture() {
        scene.pictures = {
            {{0, 20, 100, 50}, std::make_shared<ScaledBitmap>(Solid(100, 50, RGB(0, 200, 0)))}};
        for (Label l : {Label::NoPictures, Label::Clock})
            scene.LabelOf(l).visible = false;
    }
};

TEST_F(SlideshowSceneTest, DrawsThePictureInItsBoxOnBlack) {
    ShowPreviewPicture();
    const Canvas c(scene, 100, 90);
    EXPECT_EQ(c.At(50, 10), RGB(0, 0, 0)) << "above the picture";
    EXPECT_EQ(c.At(0, 20), RGB(0, 200, 0)) << "the picture's first row";
    EXPECT_EQ(c.At(99, 69), RGB(0, 200, 0)) << "its last pixel";
    EXPECT_EQ(c.At(50, 70), RGB(0, 0, 0)) << "below it";

    // A box that no longer matches the drawn copy is stretched to fill it.
    scene.pictures[0].box.width = 50;
    const Canvas half(scene, 100, 90);
    EXPECT_EQ(half.At(49, 40), RGB(0, 200, 0));
    EXPECT_EQ(half.At(51, 40), RGB(0, 0, 0));

    scene.pictures[0].bitmap.reset();
    EXPECT_EQ(Canvas(scene, 100, 90).At(10, 40), RGB(0, 0, 0)) << "an empty box draws nothing";

    // A second monitor's picture beside the first.
    scene.pictures = {
        {{0, 0, 50, 90}, std::make_shared<ScaledBitmap>(Solid(50, 90, RGB(0, 200, 0)))},
        {{50, 0, 50, 90}, std::make_shared<ScaledBitmap>(Solid(50, 90, RGB(200, 0, 0)))}};
    const Canvas two(scene, 100, 90);
    EXPECT_EQ(two.At(25, 45), RGB(0, 200, 0));
    EXPECT_EQ(two.At(75, 45), RGB(200, 0, 0));
}

TEST_F(SlideshowSceneTest, ClockAndMessageAreDrawnOverThePicture) {
    ShowPreviewPicture();
    scene.SetLabel(Label::Clock, {"12:34:56 ", {40, 50, 57, 17}, true, {9.75f, false, 96}});
    const Canvas c(scene, 100, 90);
    // The clock's box has the window colour and some text in it.
    const COLORREF back = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(c.At(96, 51), back);
    int textPixels = 0;
    for (int y = 50; y < 67; ++y)
        for (int x = 40; x < 97; ++x)
            textPixels += c.At(x, y) != back;
    EXPECT_GT(textPixels, 20);
    EXPECT_EQ(c.At(30, 60), RGB(0, 200, 0)) << "the picture beside the clock";

    // The message goes over everything, in white on what lies beneath.
    scene.SetLabel(Label::NoPictures,
                   {"No Pictures in : \rC:\\Pics", {0, 0, 100, 90}, true, {8, true, 96}});
    const Canvas m(scene, 100, 90);
    int white = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x)
            white += m.At(x, y) == RGB(255, 255, 255);
    EXPECT_GT(white, 20);
}

TEST_F(SlideshowSceneTest, TextExtentGrowsWithTheFontsScale) {
    const PixelSize at96 = SlideshowScene::TextExtent({9.75f, false, 96}, L"88:88:88 ");
    const PixelSize at192 = SlideshowScene::TextExtent({9.75f, false, 192}, L"88:88:88 ");
    EXPECT_GT(at96.width, 30);
    EXPECT_NEAR(at192.width, 2 * at96.width, at96.width / 4);
    EXPECT_NEAR(at192.height, 2 * at96.height, at96.height / 3);
}

// The labels' and the dialog's font at each scale: the TrueType face at its
// size, and a TrueType font given (a bitmap font has only a few sizes).
TEST(UiFont, IsTrueTypeMicrosoftSansSerifAtEveryScale) {
    for (int dpi : {96, 144, 192}) {
        const unique_hfont font = MakeUiFont(8.25, false, dpi);
        const unique_hdc dc(CreateCompatibleDC(nullptr));
        const SelectGuard selected(dc.get(), font.get());
        LOGFONTW asked{};
        TEXTMETRICW given{};
        GetObjectW(font.get(), sizeof asked, &asked);
        GetTextMetricsW(dc.get(), &given);
        EXPECT_STREQ(asked.lfFaceName, L"Microsoft Sans Serif");
        EXPECT_EQ(asked.lfOutPrecision, OUT_TT_ONLY_PRECIS);
        EXPECT_EQ(asked.lfHeight, -std::lround(8.25 * dpi / 72)) << dpi;
        EXPECT_TRUE(given.tmPitchAndFamily & TMPF_TRUETYPE) << dpi;
    }
}

// Windows made under the guard scale as its model window; the thread's own
// awareness comes back after it.
TEST(DpiAwarenessOf, WindowsMadeUnderItScaleAsTheModel) {
    using Context = DPI_AWARENESS_CONTEXT;
    const auto set =
        SystemFunction<Context(WINAPI*)(Context)>(L"user32.dll", "SetThreadDpiAwarenessContext");
    const auto of =
        SystemFunction<Context(WINAPI*)(HWND)>(L"user32.dll", "GetWindowDpiAwarenessContext");
    const auto kind =
        SystemFunction<int(WINAPI*)(Context)>(L"user32.dll", "GetAwarenessFromDpiAwarenessContext");
    if (!set || !of || !kind) GTEST_SKIP() << "one DPI awareness for every window here";
    const auto window = [] {
        return unique_hwnd(CreateWindowW(L"STATIC", L"", 0, 0, 0, 9, 9, 0, 0, 0, 0));
    };
    const int own = kind(of(window().get()));
    for (Context model : {DPI_AWARENESS_CONTEXT_UNAWARE, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE}) {
        const Context previous = set(model);
        const unique_hwnd host = window();
        set(previous);
        {
            const DpiAwarenessOf guard(host.get());
            EXPECT_EQ(kind(of(window().get())), kind(of(host.get())));
        }
        EXPECT_EQ(kind(of(window().get())), own);
    }
}

} // namespace
} // namespace orv::win32
