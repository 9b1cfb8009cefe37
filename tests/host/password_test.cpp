#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_platform.h"
#include "saver/cls_pic_ss.h"
#include "startup/password.h"

namespace orv {
namespace {

using platform::kRegDword;
using platform::kRegSz;

std::string Dword(std::uint32_t v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                       static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
}

struct SwitchCase {
    const char* name;
    std::uint32_t type;
    std::string data; // empty name = value missing
    bool present;
    std::string text;
    bool asks;
};

class PasswordSwitch : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(PasswordSwitch, TextAndWhetherTheCloseAsks) {
    const SwitchCase& c = GetParam();
    fakes::FakePlatform fake;
    if (c.present) fake.desktop.SetPasswordSwitch(c.type, c.data);
    EXPECT_EQ(IsPasswordSet(fake.desktop), c.text);

    clsPicSS pss(fake.platform);
    fake.desktop.passwordAnswers = {1};
    bool cancel = false;
    CheckPasswordOnClose(fake.desktop, pss, 77, cancel);
    EXPECT_FALSE(cancel);
    const bool asked = !fake.desktop.calls.empty();
    EXPECT_EQ(asked, c.asks);
    if (c.asks) {
        EXPECT_EQ(fake.desktop.calls,
                  (std::vector<std::string>{"ShowCursor(true)", "VerifyScreenSavePwd(77)"}));
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
        SwitchCase{"binary_bytes", 3, "1x", true, "1", true},
        SwitchCase{"missing", 0, "", false, "Not Found", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PasswordCheck, RefusedPasswordKeepsTheShowAndHidesTheCursorAgain) {
    fakes::FakePlatform fake;
    fake.desktop.SetPasswordSwitch(kRegDword, Dword(1));
    clsPicSS pss(fake.platform);
    // Only the low 16 bits count: 0x10000 is a refusal.
    fake.desktop.passwordAnswers = {0, 0x10000, 5};
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool cancel = false;
        CheckPasswordOnClose(fake.desktop, pss, 9, cancel);
        EXPECT_TRUE(cancel) << attempt;
    }
    bool cancel = false;
    CheckPasswordOnClose(fake.desktop, pss, 9, cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(
        fake.desktop.calls,
        (std::vector<std::string>{"ShowCursor(true)", "VerifyScreenSavePwd(9)", "ShowCursor(false)",
                                  "ShowCursor(true)", "VerifyScreenSavePwd(9)", "ShowCursor(false)",
                                  "ShowCursor(true)", "VerifyScreenSavePwd(9)"}));
}

TEST(PasswordCheck, WithoutAPasswordDialogTheCloseProceeds) {
    fakes::FakePlatform fake;
    fake.desktop.SetPasswordSwitch(kRegSz, std::string("1\0", 2));
    clsPicSS pss(fake.platform);
    fake.desktop.passwordAnswers = {std::nullopt};
    bool cancel = false;
    CheckPasswordOnClose(fake.desktop, pss, 9, cancel);
    EXPECT_FALSE(cancel);
}

TEST(PasswordCheck, PreviewNeverAsks) {
    fakes::FakePlatform fake;
    fake.desktop.SetPasswordSwitch(kRegDword, Dword(1));
    fake.environment.argumentText = "/p 1234";
    clsPicSS pss(fake.platform);
    pss.Execute(pssPreview);
    fake.desktop.passwordAnswers = {0};
    bool cancel = false;
    CheckPasswordOnClose(fake.desktop, pss, 9, cancel);
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(fake.desktop.calls.empty());
}

TEST(PasswordCheck, RunningFlagGoesToThePlatform) {
    fakes::FakePlatform fake;
    SetScreenSaverRunning(fake.desktop, true);
    SetScreenSaverRunning(fake.desktop, false);
    EXPECT_EQ(fake.desktop.calls, (std::vector<std::string>{"SetScreenSaverRunning(true)",
                                                            "SetScreenSaverRunning(false)"}));
}

} // namespace
} // namespace orv
