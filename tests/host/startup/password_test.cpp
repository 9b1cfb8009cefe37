#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "fakes/fake_platform.h"
#include "startup/password.h"

namespace orv {
namespace {

using platform::RegistryType;
constexpr RegistryType kRegDword = RegistryType::Number32, kRegSz = RegistryType::Text;

std::string Dword(std::uint32_t v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                       static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
}

struct SwitchCase {
    const char* name;
    RegistryType type;
    std::string data; // empty name = value missing
    bool present;
    std::string text;
    bool asks;
};

// A case prints as its name in test output.
void PrintTo(const SwitchCase& c, std::ostream* out) {
    *out << c.name;
}

class PasswordSwitch : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(PasswordSwitch, TextAndWhetherTheCloseAsks) {
    const SwitchCase& c = GetParam();
    fakes::FakePlatform fake;
    if (c.present) fake.session.SetPasswordSwitch(c.type, c.data);
    EXPECT_EQ(startup::PasswordSwitch(fake.session), c.text);

    fake.session.passwordAnswers = {1};
    bool cancel = !startup::PasswordAllowsClose(fake.session, 77);
    EXPECT_FALSE(cancel);
    const bool asked = !fake.session.calls.empty();
    EXPECT_EQ(asked, c.asks);
    if (c.asks) {
        EXPECT_EQ(fake.session.calls,
                  (std::vector<std::string>{"ShowCursor(true)", "VerifyPassword(77)"}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Registry, PasswordSwitch,
    ::testing::Values(
        SwitchCase{"dword_1", kRegDword, Dword(1), true, "001", true},
        SwitchCase{"dword_0", kRegDword, Dword(0), true, "000", false},
        SwitchCase{"dword_1001_cut_to_100", kRegDword, Dword(1001), true, "100", false},
        SwitchCase{"dword_large", kRegDword, Dword(0xFFFFFFFFu), true, "429", false},
        SwitchCase{"string_1", kRegSz, std::string("1\0", 2), true, "1", true},
        SwitchCase{"string_001", kRegSz, std::string("001\0", 4), true, "001", true},
        SwitchCase{"string_0", kRegSz, std::string("0\0", 2), true, "0", false},
        SwitchCase{"string_empty", kRegSz, std::string("\0", 1), true, "", false},
        SwitchCase{"string_1_point_0", kRegSz, std::string("1.0\0", 4), true, "1.0", true},
        SwitchCase{"string_without_nul_loses_last", kRegSz, "12", true, "1", true},
        SwitchCase{"binary_bytes", RegistryType::Other, "1x", true, "1", true},
        SwitchCase{"missing", RegistryType::Other, "", false, "Not Found", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PasswordCheck, RefusedPasswordKeepsTheShowAndHidesTheCursorAgain) {
    fakes::FakePlatform fake;
    fake.session.SetPasswordSwitch(kRegDword, Dword(1));
    // Only the low 16 bits count: 0x10000 is a refusal.
    fake.session.passwordAnswers = {0, 0x10000, 5};
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool cancel = !startup::PasswordAllowsClose(fake.session, 9);
        EXPECT_TRUE(cancel) << attempt;
    }
    bool cancel = !startup::PasswordAllowsClose(fake.session, 9);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(fake.session.calls, (std::vector<std::string>{
                                      "ShowCursor(true)", "VerifyPassword(9)", "ShowCursor(false)",
                                      "ShowCursor(true)", "VerifyPassword(9)", "ShowCursor(false)",
                                      "ShowCursor(true)", "VerifyPassword(9)"}));
}

TEST(PasswordCheck, WithoutAPasswordDialogTheCloseProceeds) {
    fakes::FakePlatform fake;
    fake.session.SetPasswordSwitch(kRegSz, std::string("1\0", 2));
    fake.session.passwordAnswers = {std::nullopt};
    bool cancel = !startup::PasswordAllowsClose(fake.session, 9);
    EXPECT_FALSE(cancel);
}

} // namespace
} // namespace orv
