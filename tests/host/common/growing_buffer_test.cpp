#include "common/growing_buffer.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// Calls that tell the size they need (+1), cut the text off (0), fail (-1)
// or keep asking for more (-2), filling in `text`.
TEST(GrowingBuffer, GetsTheWholeTextWhateverTheStartingSize) {
    const std::string text(1000, 'x');
    const std::vector<std::tuple<int, int, std::string>> cases{
        {1, 260, text}, {1, 2000, text}, {0, 16, text}, {-1, 260, ""}, {-2, 260, ""}};
    for (const auto& [style, start, expected] : cases)
        EXPECT_EQ(FillGrowing<char>(start,
                                    [&, style = style](char* data, std::size_t size) {
                                        if (style < 0) return style == -1 ? 0 : size + 7;
                                        if (text.size() < size) return text.copy(data, size);
                                        return style == 1 ? text.size() + 1 : size;
                                    }),
                  expected)
            << style << " from " << start;
}

} // namespace
} // namespace orv
