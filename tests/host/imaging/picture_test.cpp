#include "imaging/picture.h"

#include <gtest/gtest.h>

namespace orv::imaging {
namespace {

using Buffer = std::vector<std::uint8_t>;

// A file, and the system decoder's frames of it: grey of 16 times the number
// of frames opened so far, so a test sees whether one was opened anew.
struct FakeInput : PictureInput {
    Buffer file{'G', 'I', 'F', '8', '9', 'a'};
    PixelSize frame;
    int opens = 0;
    ByteReader Bytes() const override { return MemoryReader(file); }
    std::unique_ptr<SystemFrame> OpenFrame(std::optional<Buffer> bytes) override {
        EXPECT_EQ(bytes, std::optional(file)) << "a small file is read whole";
        struct Frame : SystemFrame {
            explicit Frame(FakeInput* i) : input(i) {}
            FakeInput* input;
            PixelSize Size() const override { return input->frame; }
            Buffer Profile() override { return {7}; }
            std::optional<ScaleSource> Rows() override {
                const auto grey = static_cast<std::uint8_t>(input->opens * 16);
                return ScaleSource{Size().width,
                                   Size().height,
                                   3,
                                   false,
                                   [grey](int, int n, std::uint8_t* rows, std::size_t stride) {
                                       return std::fill_n(rows, stride * n, grey), true;
                                   },
                                   {}};
            }
        };
        ++opens;
        return std::make_unique<Frame>(this);
    }
};

TEST(Picture, TheFirstFrameDrawsOnceThenTheFileIsOpenedAnewAndEachRowsColoursAreConverted) {
    const auto input = [](PixelSize frame) {
        auto made = std::make_unique<FakeInput>();
        made->frame = frame;
        return made;
    };
    EXPECT_FALSE(OpenPicture(input({100000, 100000}), {}, {})) << "no box fits it";
    // The conversion turns every blue to 200, where it converts at all.
    bool convertible = false;
    Buffer profile, out(4 * 2 * 4), blue200 = ColorGridSamples();
    for (std::size_t i = 0; i < blue200.size(); i += 4)
        blue200[i] = 200;
    const auto picture = OpenPicture(input({4, 2}),
                                     [&](std::span<const std::uint8_t> p) {
                                         profile.assign(p.begin(), p.end());
                                         return convertible ? ColorGrid(blue200) : ColorGrid();
                                     },
                                     {});
    ASSERT_TRUE(picture);
    for (const std::uint8_t grey : {16, 32}) {
        ASSERT_TRUE(picture->RenderInto(4, 2, out.data(), 16));
        EXPECT_EQ(out[0], grey);
        EXPECT_EQ(out[1], grey);
        EXPECT_EQ(profile, Buffer{7});
    }
    convertible = true;
    ASSERT_TRUE(picture->RenderInto(4, 2, out.data(), 16));
    EXPECT_EQ(out[0], 200);
    EXPECT_EQ(out[1], 48);
}

} // namespace
} // namespace orv::imaging
