#include "imaging/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "imaging/bmp_writer.h"
#include "support/exif_block.h"
#include "support/jpeg_encode.h"

namespace orv::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A file, and the system decoder's frames of it: grey pixels of a value that
// grows with each frame opened, so a test sees which frame drew.
struct FakeInput : PictureInput {
    std::vector<std::uint8_t> file;
    PixelSize frameSize; // none: the system cannot open the file
    struct Counts {
        int opens = 0, rowsRead = 0;
    };
    std::shared_ptr<Counts> counts = std::make_shared<Counts>(); // outlives the input
    ByteReader Bytes() const override { return MemoryReader(file); }
    std::unique_ptr<SystemFrame>
    OpenFrame(std::optional<std::vector<std::uint8_t>> bytes) override {
        EXPECT_EQ(bytes, std::optional(file)) << "a small file is read whole";
        struct Frame : SystemFrame {
            FakeInput* input;
            std::uint8_t grey;
            PixelSize Size() const override { return input->frameSize; }
            std::vector<std::uint8_t> Profile() override { return {7}; }
            std::optional<ScaleSource> Rows() override {
                ScaleSource source{Size().width, Size().height, 3, false, {}};
                source.readRows = [this](int, int count, std::uint8_t* rows, std::size_t stride) {
                    ++input->counts->rowsRead;
                    std::fill_n(rows, stride * count, grey);
                    return true;
                };
                return source;
            }
        };
        const int opened = ++counts->opens;
        if (frameSize.width == 0) return nullptr;
        auto frame = std::make_unique<Frame>();
        frame->input = this;
        frame->grey = static_cast<std::uint8_t>(opened * 16);
        return frame;
    }
};

TEST(Picture, EachFileGoesToItsDecoderAndWhatNoBoxFitsIsRefused) {
    Bytes bmp;
    const std::vector<std::uint8_t> px(6 * 4 * 4, 200);
    WriteBmp(
        [&](const std::uint8_t* b, std::size_t n) { return bmp.insert(bmp.end(), b, b + n), true; },
        px.data(), 6, 4, 24);
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
    const Bytes turned = testing::WithSegment(
        testing::EncodeJpeg(8, 2, [](int, int, std::uint8_t* p) { std::fill_n(p, 4, 9); },
                            {JCS_CMYK}),
        0xE1, testing::ExifOrientationBlock(6));
    const struct {
        const char* name;
        std::vector<std::uint8_t> file;
        PixelSize frame, natural; // natural 0 x 0: refused
        int opens;
    } cases[] = {
        {"our BMP decoder", bmp, {9, 9}, {6, 4}, 0},
        {"the system's decoder", gif, {5, 3}, {5, 3}, 1},
        {"turned by its orientation", turned, {8, 2}, {2, 8}, 1},
        {"the system cannot open it", gif, {}, {}, 1},
        {"no box fits it", gif, {100000, 100000}, {}, 1},
        {"an empty file", {}, {5, 3}, {}, 0},
    };
    for (const auto& c : cases) {
        auto input = std::make_unique<FakeInput>();
        const auto seen = input->counts;
        input->file = c.file;
        input->frameSize = c.frame;
        const auto picture = OpenPicture(std::move(input), {}, {});
        EXPECT_EQ(seen->opens, c.opens) << c.name;
        EXPECT_EQ(seen->rowsRead, 0) << c.name << ": nothing decoded on opening";
        ASSERT_EQ(picture != nullptr, c.natural.width > 0) << c.name;
        if (!picture) continue;
        EXPECT_EQ(picture->NaturalSize().width, c.natural.width) << c.name;
        EXPECT_EQ(picture->NaturalSize().height, c.natural.height) << c.name;
    }
}

TEST(Picture, TheSystemsFrameDrawsOnceThenTheFileIsOpenedAnewAndColoursConverted) {
    auto input = std::make_unique<FakeInput>();
    const auto seen = input->counts;
    input->file = {'G', 'I', 'F', '8', '9', 'a'};
    input->frameSize = {4, 2};
    bool convertible = true;
    std::vector<std::uint8_t> profile;
    const auto convert = [&](std::span<const std::uint8_t> p, std::uint8_t*, int, int,
                             std::size_t) {
        profile.assign(p.begin(), p.end());
        return convertible;
    };
    const auto picture = OpenPicture(std::move(input), convert, {});
    ASSERT_TRUE(picture);
    std::vector<std::uint8_t> out(4 * 2 * 4);
    for (const std::uint8_t grey : {16, 32}) {
        ASSERT_TRUE(picture->RenderInto(4, 2, out.data(), 16));
        EXPECT_EQ(out[0], grey);
        EXPECT_EQ(out[3], 255);
        EXPECT_EQ(profile, std::vector<std::uint8_t>{7});
    }
    convertible = false;
    EXPECT_FALSE(picture->RenderInto(4, 2, out.data(), 16));
    EXPECT_EQ(seen->opens, 3);
}

TEST(Picture, AScratchFileTakesTheNextFreeNameAndEightTakenNamesAreEnough) {
    struct File : ScratchFile {
        bool Read(std::uint64_t, void*, std::size_t) noexcept override { return true; }
        bool Write(std::uint64_t, const void*, std::size_t) noexcept override { return true; }
    };
    for (const int taken : {0, 3, 8, -1}) { // -1: the folder cannot be written
        std::set<std::string> names;
        const auto file = MakeScratchFile("C:\\T\\", 42, [&](const std::string& path) {
            EXPECT_EQ(path.rfind("C:\\T\\Orvandel-42-", 0), 0u) << path;
            EXPECT_EQ(path.substr(path.size() - 4), ".tmp");
            names.insert(path);
            if (taken < 0) return NewScratchFile{};
            return static_cast<int>(names.size()) > taken ? NewScratchFile{std::make_unique<File>()}
                                                          : NewScratchFile{nullptr, true};
        });
        EXPECT_EQ(file != nullptr, taken >= 0 && taken < 8) << taken;
        EXPECT_EQ(names.size(), taken < 0 ? 1u : std::min(taken + 1, 8)) << taken;
    }
}

} // namespace
} // namespace orv::imaging
