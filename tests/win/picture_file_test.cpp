#include <gtest/gtest.h>

#include <windows.h>

#include <wincodec.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "imaging/picture_decoder.h"
#include "slideshow/show_jobs.h"
#include "support/exif_block.h"
#include "support/icc_profile_maker.h"
#include "support/jpeg_encode.h"
#include "win32/color_transform.h"
#include "win32/picture_file.h"
#include "win32/wallpaper_bitmap.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

struct Rgb {
    std::uint8_t r, g, b;
};
constexpr Rgb kRed{255, 0, 0}, kBlue{0, 0, 255}, kGreen{0, 200, 0}, kBlack{0, 0, 0};
using PixelAt = std::function<Rgb(int x, int y)>;

// The wallpaper bitmap written as the show writes it.
bool SaveAsWindowsBitmap(const std::wstring& picture, const std::wstring& target) {
    WallpaperBitmapFiles files;
    return slideshow::RunWallpaperJob({0, Utf8(picture), {Utf8(target)}}, files)
        .written.has_value();
}

Rgb Halves(int x, int width) {
    return 2 * x < width ? kRed : kBlue;
}

template <typename T> T* Check(T* p) {
    if (!p) throw std::runtime_error("COM call failed");
    return p;
}
void Check(HRESULT hr) {
    if (FAILED(hr)) throw std::runtime_error("COM call failed: " + std::to_string(hr));
}

// Writes a JPEG or BMP of the given pixels with WIC's own encoders.
void WriteWithWic(const std::wstring& path, const GUID& container, int width, int height,
                  const PixelAt& at) {
    IWICImagingFactory* rawFactory = nullptr;
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                           IID_IWICImagingFactory, reinterpret_cast<void**>(&rawFactory)));
    com_ptr<IWICImagingFactory> factory(rawFactory);
    IWICStream* rawStream = nullptr;
    Check(factory->CreateStream(&rawStream));
    com_ptr<IWICStream> stream(rawStream);
    Check(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE));
    IWICBitmapEncoder* rawEncoder = nullptr;
    Check(factory->CreateEncoder(container, nullptr, &rawEncoder));
    com_ptr<IWICBitmapEncoder> encoder(rawEncoder);
    Check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache));
    IWICBitmapFrameEncode* rawFrame = nullptr;
    Check(encoder->CreateNewFrame(&rawFrame, nullptr));
    com_ptr<IWICBitmapFrameEncode> frame(rawFrame);
    Check(frame->Initialize(nullptr));
    Check(frame->SetSize(width, height));
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    Check(frame->SetPixelFormat(&format));
    ASSERT_TRUE(IsEqualGUID(format, GUID_WICPixelFormat24bppBGR));
    const UINT stride = (static_cast<UINT>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> bytes(static_cast<std::size_t>(stride) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb c = at(x, y);
            BYTE* p = &bytes[y * stride + x * 3];
            p[0] = c.b, p[1] = c.g, p[2] = c.r;
        }
    Check(frame->WritePixels(height, stride, static_cast<UINT>(bytes.size()), bytes.data()));
    Check(frame->Commit());
    Check(encoder->Commit());
}

// A GIF89a written byte by byte, with an optional transparent colour. The
// image data is LZW with a clear code before every two pixels, which keeps
// every code three bits wide (a palette of at most four colours).
void WriteGif(const std::wstring& path, int width, int height, const std::vector<Rgb>& palette,
              const std::function<int(int, int)>& index, int transparent = -1, int screenW = 0,
              int screenH = 0) {
    std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    auto word = [&](int v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    word(screenW ? screenW : width);
    word(screenH ? screenH : height);
    out.insert(out.end(), {0xF1, 0, 0}); // global table of 4 colours
    for (int i = 0; i < 4; ++i) {
        const Rgb c = i < static_cast<int>(palette.size()) ? palette[i] : kBlack;
        out.insert(out.end(), {c.r, c.g, c.b});
    }
    if (transparent >= 0)
        out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, static_cast<std::uint8_t>(transparent), 0});
    out.push_back(0x2C);
    word(0);
    word(0);
    word(width);
    word(height);
    out.push_back(0);
    out.push_back(2); // minimum code size
    std::vector<std::uint8_t> data;
    std::uint32_t bits = 0;
    int count = 0;
    auto code = [&](int c) {
        bits |= static_cast<std::uint32_t>(c) << count;
        count += 3;
        while (count >= 8) {
            data.push_back(static_cast<std::uint8_t>(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    int n = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, ++n) {
            if (n % 2 == 0) code(4);
            code(index(x, y));
        }
    code(5);
    if (count > 0) data.push_back(static_cast<std::uint8_t>(bits & 0xFF));
    for (std::size_t i = 0; i < data.size(); i += 255) {
        const std::size_t len = std::min<std::size_t>(255, data.size() - i);
        out.push_back(static_cast<std::uint8_t>(len));
        out.insert(out.end(), data.begin() + i, data.begin() + i + len);
    }
    out.push_back(0);
    out.push_back(0x3B);
    std::ofstream(std::filesystem::path(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), out.size());
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(std::filesystem::path(path), std::ios::binary).write(bytes.data(), bytes.size());
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Reads one pixel of a rendered DIB section, checking its shape first.
struct Pixels {
    DIBSECTION dib{};
    explicit Pixels(const ScaledBitmap& b) {
        EXPECT_EQ(GetObjectW(b.bitmap.get(), sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
    }
    Rgb At(int x, int y) const {
        const auto* p =
            static_cast<const std::uint8_t*>(dib.dsBm.bmBits) + y * dib.dsBm.bmWidthBytes + x * 4;
        return {p[2], p[1], p[0]};
    }
};

::testing::AssertionResult Near(Rgb got, Rgb want, int tolerance) {
    if (std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
        std::abs(got.b - want.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got (" << +got.r << "," << +got.g << "," << +got.b << ") want (" << +want.r << ","
           << +want.g << "," << +want.b << ")";
}

class PictureFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        dir_ = std::wstring(temp) + L"orvandel-pictures-" + std::to_wstring(GetCurrentProcessId()) +
               L"\\";
        CreateDirectoryW(dir_.c_str(), nullptr);
    }
    void TearDown() override {
        for (const std::wstring& name : Listing())
            DeleteFileW((dir_ + name).c_str());
        RemoveDirectoryW(dir_.c_str());
        CoUninitialize();
    }
    std::wstring Path(const wchar_t* name) const { return dir_ + name; }
    std::vector<std::wstring> Listing() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((dir_ + L"*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(data.cFileName);
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return names;
    }
    std::wstring dir_;
};

TEST_F(PictureFileTest, ReportsTheNaturalSizeOfEachFormat) {
    const PixelAt grey = [](int, int) { return Rgb{128, 128, 128}; };
    WriteWithWic(Path(L"wide.jpg"), GUID_ContainerFormatJpeg, 640, 480, grey);
    WriteWithWic(Path(L"tall.jpeg"), GUID_ContainerFormatJpeg, 90, 160, grey);
    WriteWithWic(Path(L"odd.bmp"), GUID_ContainerFormatBmp, 33, 17, grey);
    WriteGif(Path(L"small.gif"), 37, 23, {kRed, kBlue}, [](int x, int) { return x % 2; });
    WriteWithWic(Path(L"Bild \u00e4\u00f6 \u65e5\u672c.jpg"), GUID_ContainerFormatJpeg, 20, 10,
                 grey);
    struct Case {
        const wchar_t* name;
        LONG w, h;
    };
    for (const Case& c :
         {Case{L"wide.jpg", 640, 480}, Case{L"tall.jpeg", 90, 160}, Case{L"odd.bmp", 33, 17},
          Case{L"small.gif", 37, 23}, Case{L"Bild \u00e4\u00f6 \u65e5\u672c.jpg", 20, 10}}) {
        const auto picture = PictureFile::Open(Path(c.name));
        ASSERT_TRUE(picture) << static_cast<int>(c.w);
        EXPECT_EQ(picture->NaturalSize().width, c.w);
        EXPECT_EQ(picture->NaturalSize().height, c.h);
    }
}

TEST_F(PictureFileTest, RendersToExactlyTheAskedSizeDownAndUp) {
    WriteWithWic(Path(L"big.jpg"), GUID_ContainerFormatJpeg, 800, 600,
                 [](int x, int) { return Halves(x, 800); });
    WriteWithWic(Path(L"tiny.bmp"), GUID_ContainerFormatBmp, 8, 6,
                 [](int x, int) { return Halves(x, 8); });
    WriteGif(Path(L"tiny.gif"), 6, 4, {kRed, kBlue}, [](int x, int) { return 2 * x < 6 ? 0 : 1; });
    struct Case {
        const wchar_t* name;
        int w, h;
        int tolerance;
    };
    const Case cases[] = {
        {L"big.jpg", 160, 120, 24},  {L"big.jpg", 1024, 768, 24}, {L"big.jpg", 37, 5, 24},
        {L"tiny.bmp", 1024, 768, 0}, {L"tiny.bmp", 3, 2, 0},      {L"tiny.gif", 600, 400, 0},
        {L"tiny.gif", 2, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h);
        const auto picture = PictureFile::Open(Path(c.name));
        ASSERT_TRUE(picture);
        const ScaledBitmap b = picture->Draw(c.w, c.h);
        ASSERT_TRUE(b);
        EXPECT_EQ(b.width, c.w);
        EXPECT_EQ(b.height, c.h);
        const Pixels px(b);
        EXPECT_EQ(px.dib.dsBm.bmWidth, c.w);
        EXPECT_EQ(px.dib.dsBm.bmHeight, c.h);
        EXPECT_EQ(px.dib.dsBm.bmBitsPixel, 32);
        // The left quarter stays red and the right quarter blue, on every row.
        for (int y = 0; y < c.h; y += std::max(1, c.h / 7)) {
            EXPECT_TRUE(Near(px.At(c.w / 4 - (c.w >= 4), y), kRed, c.tolerance)) << "row " << y;
            EXPECT_TRUE(Near(px.At(c.w - 1 - (c.w / 4 - (c.w >= 4)), y), kBlue, c.tolerance))
                << "row " << y;
        }
    }
}

TEST_F(PictureFileTest, RendersAgainAfterTheFirstRenderAndRefusesEmptySizes) {
    // Green above, red below: the first row in memory is the top one.
    WriteWithWic(Path(L"green.jpg"), GUID_ContainerFormatJpeg, 300, 200,
                 [](int, int y) { return y < 100 ? kGreen : kRed; });
    const auto picture = PictureFile::Open(Path(L"green.jpg"));
    ASSERT_TRUE(picture);
    EXPECT_FALSE(picture->Render(0, 100));
    EXPECT_FALSE(picture->Render(100, 0));
    EXPECT_FALSE(picture->Render(-5, 10));
    for (int size : {50, 500}) {
        const ScaledBitmap b = picture->Draw(size, size);
        ASSERT_TRUE(b) << size;
        EXPECT_TRUE(Near(Pixels(b).At(size / 2, 2), kGreen, 12)) << size;
        EXPECT_TRUE(Near(Pixels(b).At(size / 2, size - 3), kRed, 12)) << size;
    }
}

// A CMYK JPEG as print programs write it: with the Adobe marker and the
// values stored inverted. C = 255 - R and so on, with no black: stored as
// R, G, B, 255.
void WriteCmykJpeg(const std::wstring& path, int width, int height, const PixelAt& at) {
    const auto bytes = orv::testing::EncodeJpeg(width, height,
                                                [&](int x, int y, std::uint8_t* px) {
                                                    const Rgb c = at(x, y);
                                                    px[0] = c.r, px[1] = c.g, px[2] = c.b,
                                                    px[3] = 255;
                                                },
                                                {.space = JCS_CMYK});
    WriteBytes(path, std::string(bytes.begin(), bytes.end()));
}

TEST_F(PictureFileTest, PicturesTheJpegDecoderLeavesOpenThroughWic) {
    // A CMYK JPEG, and a GIF and a bitmap whose names say JPEG.
    WriteCmykJpeg(Path(L"print.jpg"), 120, 80, [](int x, int) { return Halves(x, 120); });
    WriteGif(Path(L"gif.jpg"), 120, 80, {kRed, kBlue},
             [](int x, int) { return 2 * x < 120 ? 0 : 1; });
    WriteWithWic(Path(L"bmp.jpeg"), GUID_ContainerFormatBmp, 120, 80,
                 [](int x, int) { return Halves(x, 120); });
    for (const wchar_t* name : {L"print.jpg", L"gif.jpg", L"bmp.jpeg"}) {
        const auto picture = PictureFile::Open(Path(name));
        ASSERT_TRUE(picture) << name;
        EXPECT_EQ(picture->NaturalSize().width, 120) << name;
        const ScaledBitmap b = picture->Draw(60, 40);
        ASSERT_TRUE(b) << name;
        const Pixels px(b);
        EXPECT_TRUE(Near(px.At(5, 20), kRed, 40)) << name;
        EXPECT_TRUE(Near(px.At(55, 20), kBlue, 40)) << name;
    }
}

TEST_F(PictureFileTest, AJpegThatCannotBeDecodedDrawsNothing) {
    // A progressive picture claiming 60000 x 60000 pixels: its header reads,
    // its decoding would need about 10 GB and is refused.
    auto bytes = orv::testing::EncodeJpeg(
        64, 64, [](int, int, std::uint8_t* px) { px[0] = px[1] = px[2] = 9; },
        {.progressive = true});
    for (std::size_t i = 0; i + 8 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC2) { // start of the progressive frame
            bytes[i + 5] = bytes[i + 7] = 60000 >> 8;
            bytes[i + 6] = bytes[i + 8] = 60000 & 0xFF;
            break;
        }
    WriteBytes(Path(L"huge.jpg"), std::string(bytes.begin(), bytes.end()));
    const auto picture = PictureFile::Open(Path(L"huge.jpg"));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->NaturalSize().width, 60000);
    EXPECT_FALSE(picture->Render(100, 100));
}

TEST_F(PictureFileTest, TransparentGifPixelsAreDrawnOnBlack) {
    // Colour 1 (white) is transparent: the right half disappears into black.
    WriteGif(
        Path(L"clear.gif"), 8, 8, {kRed, {255, 255, 255}}, [](int x, int) { return x < 4 ? 0 : 1; },
        1);
    const auto picture = PictureFile::Open(Path(L"clear.gif"));
    ASSERT_TRUE(picture);
    for (auto [w, h] : {std::pair{8, 8}, {64, 64}, {4, 4}}) {
        const ScaledBitmap b = picture->Draw(w, h);
        ASSERT_TRUE(b);
        const Pixels px(b);
        EXPECT_TRUE(Near(px.At(0, h / 2), kRed, 0)) << w;
        EXPECT_TRUE(Near(px.At(w - 1, h / 2), kBlack, 0)) << w;
    }
    // A job cancelled once the picture is open draws nothing more from WIC.
    std::atomic<bool> cancelled{false};
    const auto stopped = PictureFile::Open(Path(L"clear.gif"), {&cancelled});
    ASSERT_TRUE(stopped);
    cancelled = true;
    EXPECT_FALSE(stopped->Draw(8, 8));
}

TEST_F(PictureFileTest, FilesThatAreNotPicturesGiveNothing) {
    WriteWithWic(Path(L"good.jpg"), GUID_ContainerFormatJpeg, 200, 150,
                 [](int, int) { return kRed; });
    const std::string jpeg = ReadBytes(Path(L"good.jpg"));
    ASSERT_GT(jpeg.size(), 200u);
    WriteBytes(Path(L"empty.jpg"), "");
    WriteBytes(Path(L"text.gif"), "This is not a picture at all.\r\n");
    std::string noise(4096, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919) >> 3);
    WriteBytes(Path(L"noise.bmp"), noise);
    WriteBytes(Path(L"header.jpg"), jpeg.substr(0, 20));
    WriteBytes(Path(L"bm.bmp"), "BM\x10\0\0\0\0\0\0\0\x36\0\0\0");
    for (const wchar_t* name :
         {L"empty.jpg", L"text.gif", L"noise.bmp", L"header.jpg", L"bm.bmp", L"missing.jpg"})
        EXPECT_FALSE(PictureFile::Open(Path(name))) << static_cast<int>(name[0]);
    EXPECT_FALSE(PictureFile::Open(dir_)) << "a folder";
    EXPECT_FALSE(PictureFile::Open(L""));

    // A picture claiming an enormous canvas: whatever it gives, no crash.
    WriteGif(
        Path(L"huge.gif"), 2, 2, {kRed, kBlue}, [](int x, int) { return x; }, -1, 65535, 65535);
    if (const auto huge = PictureFile::Open(Path(L"huge.gif"))) {
        const ScaledBitmap b = huge->Draw(1024, 768);
        if (b) {
            EXPECT_EQ(b.height, 768);
        }
    }

    // A photo cut off half way may open; drawing it must still not fail badly.
    WriteBytes(Path(L"cut.jpg"), jpeg.substr(0, jpeg.size() / 2));
    if (const auto cut = PictureFile::Open(Path(L"cut.jpg"))) {
        const ScaledBitmap b = cut->Draw(64, 48);
        if (b) {
            EXPECT_EQ(b.width, 64);
        }
    }
}

TEST_F(PictureFileTest, SavesAWindowsBitmapOfTheNaturalSize) {
    WriteWithWic(Path(L"photo.jpg"), GUID_ContainerFormatJpeg, 300, 200,
                 [](int x, int) { return Halves(x, 300); });
    WriteGif(
        Path(L"clear.gif"), 8, 8, {kGreen, {255, 255, 255}},
        [](int x, int) { return x < 4 ? 0 : 1; }, 1);
    ASSERT_TRUE(SaveAsWindowsBitmap(Path(L"photo.jpg"), Path(L"Orvandel.bmp")));
    const std::string bytes = ReadBytes(Path(L"Orvandel.bmp"));
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    {
        // (An open picture holds its file; this one is let go before it is replaced.)
        const auto saved = PictureFile::Open(Path(L"Orvandel.bmp"));
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->NaturalSize().width, 300);
        EXPECT_EQ(saved->NaturalSize().height, 200);
        const ScaledBitmap b = saved->Draw(300, 200);
        ASSERT_TRUE(b);
        EXPECT_TRUE(Near(Pixels(b).At(40, 100), kRed, 24));
        EXPECT_TRUE(Near(Pixels(b).At(260, 100), kBlue, 24));
    }

    // The same file is overwritten; a transparent colour is saved as black.
    ASSERT_TRUE(SaveAsWindowsBitmap(Path(L"clear.gif"), Path(L"Orvandel.bmp")));
    const auto gif = PictureFile::Open(Path(L"Orvandel.bmp"));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->NaturalSize().width, 8);
    const ScaledBitmap g = gif->Draw(8, 8);
    ASSERT_TRUE(g);
    EXPECT_TRUE(Near(Pixels(g).At(1, 1), kGreen, 0));
    EXPECT_TRUE(Near(Pixels(g).At(6, 1), kBlack, 0));
}

TEST_F(PictureFileTest, AFailedSaveKeepsTheOldFileAndLeavesNoLitter) {
    WriteBytes(Path(L"Orvandel.bmp"), "the old wallpaper");
    WriteBytes(Path(L"broken.jpg"), "not a picture");
    WriteWithWic(Path(L"photo.jpg"), GUID_ContainerFormatJpeg, 30, 20,
                 [](int, int) { return kRed; });
    EXPECT_FALSE(SaveAsWindowsBitmap(Path(L"missing.jpg"), Path(L"Orvandel.bmp")));
    EXPECT_FALSE(SaveAsWindowsBitmap(Path(L"broken.jpg"), Path(L"Orvandel.bmp")));
    EXPECT_FALSE(SaveAsWindowsBitmap(Path(L"photo.jpg"), Path(L"no such folder\\Orvandel.bmp")));
    EXPECT_FALSE(SaveAsWindowsBitmap(L"", Path(L"Orvandel.bmp")));
    EXPECT_EQ(ReadBytes(Path(L"Orvandel.bmp")), "the old wallpaper");
    EXPECT_EQ(Listing().size(), 3u) << "no temporary file is left behind";
}

// The stored pixel that orientation `o` shows at upright (ux, uy), from the
// tag's definition (where the stored top row and left column are seen).
POINT StoredPixel(int o, int ux, int uy, int storedW, int storedH) {
    switch (o) {
    case 2:
        return {storedW - 1 - ux, uy};
    case 3:
        return {storedW - 1 - ux, storedH - 1 - uy};
    case 4:
        return {ux, storedH - 1 - uy};
    case 5:
        return {uy, ux};
    case 6:
        return {uy, storedH - 1 - ux};
    case 7:
        return {storedW - 1 - uy, storedH - 1 - ux};
    case 8:
        return {storedW - 1 - uy, ux};
    default:
        return {ux, uy};
    }
}

TEST_F(PictureFileTest, EveryOrientationIsDrawnUprightByBothDecoders) {
    // Upright: 32 x 48, red, green, blue and yellow quarters.
    constexpr int kW = 32, kH = 48;
    const auto upright = [](int x, int y) {
        const bool right = x >= kW / 2, bottom = y >= kH / 2;
        return !bottom ? (right ? kGreen : kRed) : (right ? Rgb{255, 255, 0} : kBlue);
    };
    for (int o = 1; o <= 8; ++o) {
        const bool swap = o >= 5;
        const int sw = swap ? kH : kW, sh = swap ? kW : kH;
        // The stored picture: each stored pixel holds the upright pixel it becomes.
        std::vector<Rgb> stored(static_cast<std::size_t>(sw) * sh);
        for (int uy = 0; uy < kH; ++uy)
            for (int ux = 0; ux < kW; ++ux) {
                const POINT p = StoredPixel(o, ux, uy, sw, sh);
                stored[static_cast<std::size_t>(p.y) * sw + p.x] = upright(ux, uy);
            }
        const auto at = [&](int x, int y) { return stored[static_cast<std::size_t>(y) * sw + x]; };
        const auto colour = orv::testing::EncodeJpeg(sw, sh, [&](int x, int y, std::uint8_t* px) {
            const Rgb c = at(x, y);
            px[0] = c.r, px[1] = c.g, px[2] = c.b;
        });
        const auto print = orv::testing::EncodeJpeg(sw, sh,
                                                    [&](int x, int y, std::uint8_t* px) {
                                                        const Rgb c = at(x, y);
                                                        px[0] = c.r, px[1] = c.g, px[2] = c.b,
                                                        px[3] = 255;
                                                    },
                                                    {.space = JCS_CMYK});
        for (const auto* jpeg : {&colour, &print}) {
            SCOPED_TRACE(::testing::Message()
                         << "orientation " << o << (jpeg == &print ? " cmyk" : ""));
            const auto bytes =
                orv::testing::WithSegment(*jpeg, 0xE1, orv::testing::ExifOrientationBlock(o));
            WriteBytes(Path(L"turned.jpg"), std::string(bytes.begin(), bytes.end()));
            const auto picture = PictureFile::Open(Path(L"turned.jpg"));
            ASSERT_TRUE(picture);
            EXPECT_EQ(picture->NaturalSize().width, kW);
            EXPECT_EQ(picture->NaturalSize().height, kH);
            const ScaledBitmap b = picture->Draw(kW * 2, kH * 2);
            ASSERT_TRUE(b);
            const Pixels px(b);
            for (auto [x, y] : {std::pair{8, 12}, {56, 12}, {8, 84}, {56, 84}})
                EXPECT_TRUE(Near(px.At(x, y), upright(x / 2, y / 2), 40)) << x << "," << y;
        }
    }
}

TEST_F(PictureFileTest, TheWallpaperOfATurnedPhotoIsUpright) {
    auto bytes = orv::testing::EncodeJpeg(60, 40, [](int x, int, std::uint8_t* px) {
        const Rgb c = Halves(x, 60);
        px[0] = c.r, px[1] = c.g, px[2] = c.b;
    });
    bytes = orv::testing::WithSegment(bytes, 0xE1, orv::testing::ExifOrientationBlock(6));
    WriteBytes(Path(L"portrait.jpg"), std::string(bytes.begin(), bytes.end()));
    ASSERT_TRUE(SaveAsWindowsBitmap(Path(L"portrait.jpg"), Path(L"Orvandel.bmp")));
    const auto saved = PictureFile::Open(Path(L"Orvandel.bmp"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->NaturalSize().width, 40);
    EXPECT_EQ(saved->NaturalSize().height, 60);
    const ScaledBitmap b = saved->Draw(40, 60);
    ASSERT_TRUE(b);
    // The stored left half (red) is the upright top half.
    EXPECT_TRUE(Near(Pixels(b).At(20, 10), kRed, 30));
    EXPECT_TRUE(Near(Pixels(b).At(20, 50), kBlue, 30));
}

TEST_F(PictureFileTest, ABitmapWithItsChannelsInAnUnusualOrderIsDrawnInColour) {
    // 32 bits a pixel, BI_BITFIELDS: red in the low byte, blue in the third,
    // green in the top byte; 2 x 1 pixels, red then blue, bottom up.
    std::string bmp = "BM";
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto u16 = [&](std::uint16_t v) {
        bmp += static_cast<char>(v & 0xFF), bmp += static_cast<char>(v >> 8);
    };
    u32(14 + 40 + 12 + 8), u32(0), u32(14 + 40 + 12);
    u32(40), u32(2), u32(1), u16(1), u16(32), u32(3), u32(8), u32(0), u32(0), u32(0), u32(0);
    u32(0x000000FF), u32(0xFF000000), u32(0x00FF0000); // red, green, blue masks
    u32(0x000000FF);                                   // red
    u32(0x00FF0000);                                   // blue
    WriteBytes(Path(L"masks.bmp"), bmp);
    const auto picture = PictureFile::Open(Path(L"masks.bmp"));
    ASSERT_TRUE(picture);
    const ScaledBitmap b = picture->Draw(2, 1);
    ASSERT_TRUE(b);
    EXPECT_TRUE(Near(Pixels(b).At(0, 0), kRed, 0));
    EXPECT_TRUE(Near(Pixels(b).At(1, 0), kBlue, 0));
}

// Pictures with an embedded colour profile.

using Bytes = std::vector<std::uint8_t>;
constexpr int kSize = 16; // the tagged pictures' size

// Stored numbers: red rising to the right, green downwards, blue fixed.
void Stored(int x, int y, std::uint8_t* px) {
    px[0] = static_cast<std::uint8_t>(30 + 12 * x);
    px[1] = static_cast<std::uint8_t>(20 + 14 * y);
    px[2] = 90;
}

const Bytes kSwap = testing::MakeRgbProfile({.primaries = testing::kSwappedPrimaries});

// Writes `bytes` as the file `path`.
std::wstring WriteFile(const std::wstring& path, const Bytes& bytes) {
    WriteBytes(path, std::string(bytes.begin(), bytes.end()));
    return path;
}

// The picture drawn at its own size as B, G, R, A.
Bytes DrawSmall(const std::wstring& path, ColorDestination to = ColorDestination::Screen) {
    const auto picture = OpenPictureFile(path, {}, to);
    if (!picture) return {};
    Bytes out(kSize * kSize * 4);
    if (!picture->RenderInto(kSize, kSize, out.data(), kSize * 4)) return {};
    return out;
}

// Whether every pixel of `got` has the red and green of `plain` swapped
// (within a few levels: JPEG and the transform round), blue and alpha kept.
::testing::AssertionResult SwappedBack(const Bytes& got, const Bytes& plain) {
    if (got.size() != plain.size() || got.empty())
        return ::testing::AssertionFailure() << "not drawn";
    for (std::size_t i = 0; i < got.size(); i += 4) {
        const int want[4] = {plain[i], plain[i + 2], plain[i + 1], 255};
        for (int c = 0; c < 4; ++c)
            if (std::abs(got[i + c] - want[c]) > 3)
                return ::testing::AssertionFailure() << "pixel " << i / 4 << " channel " << c
                                                     << ": " << +got[i + c] << " not " << want[c];
    }
    return ::testing::AssertionSuccess();
}

TEST_F(PictureFileTest, APictureWhoseProfileSwapsRedAndGreenIsDrawnSwappedBack) {
    const Bytes jpeg = testing::EncodeJpeg(kSize, kSize, Stored);
    const Bytes plain = DrawSmall(WriteFile(Path(L"plain.jpg"), jpeg));
    ASSERT_FALSE(plain.empty());
    // In one chunk and in three out of order; both for the show and the
    // wallpaper, whose target is sRGB too on a monitor without a profile.
    const auto pieces = testing::SplitProfile(kSwap, 3);
    const std::wstring one = WriteFile(
        Path(L"one.jpg"), testing::WithSegments(jpeg, {testing::IccSegment(kSwap, 1, 1)}));
    const std::wstring three = WriteFile(
        Path(L"three.jpg"), testing::WithSegments(jpeg, {testing::IccSegment(pieces[2], 3, 3),
                                                         testing::IccSegment(pieces[0], 1, 3),
                                                         testing::IccSegment(pieces[1], 2, 3)}));
    EXPECT_TRUE(SwappedBack(DrawSmall(one), plain));
    EXPECT_TRUE(SwappedBack(DrawSmall(three, ColorDestination::Srgb), plain));

    const std::wstring wallpaper = Path(L"wallpaper.bmp");
    ASSERT_TRUE(SaveAsWindowsBitmap(one, wallpaper));
    EXPECT_TRUE(SwappedBack(DrawSmall(wallpaper), plain));
}

TEST_F(PictureFileTest, UntaggedAndBadlyTaggedPicturesAreDrawnExactlyAsBefore) {
    const Bytes jpeg = testing::EncodeJpeg(kSize, kSize, Stored);
    const Bytes plain = DrawSmall(WriteFile(Path(L"plain.jpg"), jpeg));
    ASSERT_FALSE(plain.empty());
    Bytes decoded(plain.size());
    const auto reader = imaging::MemoryReader(jpeg);
    ASSERT_TRUE(imaging::DecodePicture(reader, *imaging::InspectPicture(reader), kSize, kSize,
                                       decoded.data(), kSize * 4));
    EXPECT_EQ(plain, decoded);
    Bytes damaged = kSwap;
    damaged[40] ^= 0xFF; // the platform, which nobody reads: still usable ...
    Bytes noSignature = kSwap;
    noSignature[36] = 'x'; // ... but not without its signature
    Bytes noCurves = kSwap;
    noCurves.resize(132 + 12 * 5); // the tags that make it a display profile cut off
    noCurves[0] = 0, noCurves[1] = 0, noCurves[2] = 0,
    noCurves[3] = static_cast<std::uint8_t>(noCurves.size());
    noCurves[131] = 1;
    const Bytes cases[] = {noSignature, noCurves};
    for (const Bytes& profile : cases) {
        const std::wstring path = WriteFile(
            Path(L"bad.jpg"), testing::WithSegments(jpeg, {testing::IccSegment(profile, 1, 1)}));
        EXPECT_EQ(DrawSmall(path), plain);
    }
    EXPECT_TRUE(SwappedBack(
        DrawSmall(WriteFile(Path(L"platform.jpg"),
                            testing::WithSegments(jpeg, {testing::IccSegment(damaged, 1, 1)}))),
        plain));
}

TEST_F(PictureFileTest, ConvertsRowsThatArePaddedAndLeavesThePaddingAlone) {
    Bytes pixels(kSize * (kSize * 4 + 8), 0xAB), plain;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            std::uint8_t* p = &pixels[y * (kSize * 4 + 8) + x * 4];
            Stored(x, y, p);
            p[3] = 255;
            plain.insert(plain.end(), p, p + 4);
        }
    SystemColorConversion(kSwap, ColorDestination::Srgb)
        .Apply(pixels.data(), kSize, kSize, kSize * 4 + 8);
    Bytes converted;
    for (int y = 0; y < kSize; ++y) {
        const std::uint8_t* row = &pixels[y * (kSize * 4 + 8)];
        converted.insert(converted.end(), row, row + kSize * 4);
        EXPECT_EQ(Bytes(row + kSize * 4, row + kSize * 4 + 8), Bytes(8, 0xAB));
    }
    EXPECT_TRUE(SwappedBack(converted, plain));
}

} // namespace
} // namespace orv::win32
