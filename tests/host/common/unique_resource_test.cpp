#include "common/unique_resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

std::vector<int> closed;

// Handles where both 0 and -1 mean "none", as for Windows files.
struct FileLike {
    using Handle = int;
    static bool Valid(int h) noexcept { return h != 0 && h != -1; }
    static void Close(int h) noexcept { closed.push_back(h); }
};
using unique_file = unique_any<FileLike>;
void CloseNull(int h) {
    closed.push_back(-h);
}

TEST(UniqueResource, ClosesEveryValidHandleExactlyOnceAndNoneValuesNever) {
    closed.clear();
    {
        unique_file none(-1);
        EXPECT_FALSE(none) << "an invalid value is empty";
        unique_file a(1), b(2);
        b = std::move(a); // 2 closed, 1 moves over
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), 1);
        b.reset(-1); // 1 closed; -1 is kept as empty
        EXPECT_FALSE(b);
        b.reset(3);
        unique_file c(std::move(b));
        const int kept = unique_file(4).release();
        EXPECT_EQ(kept, 4);
        unique_any<NullTraits<int, CloseNull>> zeroOnly(5);
    } // 5 (as -5), then 3
    EXPECT_EQ(closed, (std::vector<int>{2, 1, -5, 3}));
}

} // namespace
} // namespace orv
