#include <gtest/gtest.h>

#include "common/errors.h"

#include <new>
#include <stdexcept>

namespace orv {
namespace {

TEST(FromSystemError, NamesWhatReallyFailed) {
    const std::pair<std::uint32_t, int> cases[] = {
        {2, 53}, {3, 76}, {5, 70}, {8, 7}, {14, 7}, {112, 61}, {123, 52}, {1013, 57}, {1234, 51},
    };
    for (const auto& [code, number] : cases)
        EXPECT_EQ(FromSystemError(code).Number(), number) << "system error " << code;
    EXPECT_EQ(FromSystemError(1234).Description(), "Internal error: system error 1234");
}

TEST(FatalBoxText, GivesTheNumberThenTheDescription) {
    EXPECT_EQ(FatalBoxText(Overflow()), "Run-time error '6':\r\rOverflow");
    EXPECT_EQ(FatalBoxText(InternalError("")), "Run-time error '51':\r\rInternal error");
}

TEST(CurrentRuntimeError, TellsWhatTheExceptionInFlightStandsFor) {
    const std::pair<void (*)(), std::string> cases[] = {
        {[] { throw Overflow(); }, "Run-time error '6':\r\rOverflow"},
        {[] { throw std::bad_alloc(); }, "Run-time error '7':\r\rOut of memory"},
        {[] { throw std::runtime_error("lost"); }, "Run-time error '51':\r\rInternal error: lost"},
    };
    for (const auto& [raise, text] : cases) {
        try {
            raise();
        } catch (...) {
            EXPECT_EQ(FatalBoxText(CurrentRuntimeError()), text);
        }
    }
}

} // namespace
} // namespace orv
