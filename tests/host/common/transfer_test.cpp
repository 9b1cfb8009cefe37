#include "common/transfer.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

TEST(TransferAll, MovesInChunksAtAnyOffsetUntilDoneFailedOrStopped) {
    constexpr std::uint64_t kAt = std::uint64_t{5} << 30; // past what 32 bits hold
    const struct {
        const char* name;
        std::size_t count;
        std::vector<std::size_t> moves; // what each transfer moves; 0 after the last
        int stopAfter;                  // transfers before the stop is set; -1 never
        std::size_t done;
        std::vector<std::uint64_t> offsets;
    } cases[] = {
        {"in chunks of four", 10, {4, 4, 2}, -1, 10, {kAt, kAt + 4, kAt + 8}},
        {"short transfers go on", 6, {1, 4, 1}, -1, 6, {kAt, kAt + 1, kAt + 5}},
        {"a transfer of nothing ends it", 10, {4}, -1, 4, {kAt, kAt + 4}},
        {"stopped before", 10, {4}, 0, 0, {}},
        {"stopped on the way", 10, {4, 4}, 1, 4, {kAt}},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> buffer(16);
        std::vector<std::uint64_t> offsets;
        std::atomic<bool> stop{c.stopAfter == 0};
        const Transfer transfer = [&](std::uint64_t at, std::uint8_t* bytes, std::uint32_t n) {
            EXPECT_EQ(bytes, buffer.data() + (at - kAt)) << c.name;
            EXPECT_LE(n, 4u) << c.name;
            offsets.push_back(at);
            if (static_cast<int>(offsets.size()) == c.stopAfter) stop = true;
            return offsets.size() <= c.moves.size()
                       ? std::min<std::size_t>(c.moves[offsets.size() - 1], n)
                       : 0;
        };
        EXPECT_EQ(TransferAll(kAt, buffer.data(), c.count, transfer, {&stop}, 4), c.done) << c.name;
        EXPECT_EQ(offsets, c.offsets) << c.name;
        // A deadline that has come stops it as the flag does.
        EXPECT_EQ(TransferAll(kAt, buffer.data(), c.count, transfer,
                              {nullptr, std::chrono::steady_clock::now()}),
                  0u);
    }
}

} // namespace
} // namespace orv
