#include "common/paths.h"

#include <gtest/gtest.h>

#include "common/command_line.h"
#include "common/text.h"

namespace orv {
namespace {

TEST(Paths, ProgramFolderLookupPathArgumentsAndLabelLines) {
    using Rule = std::string (*)(std::string_view);
    const Rule folder = ContainingFolder,
               entry = [](std::string_view p) { return std::string(EntryPath(p)); };
    const Rule arguments = [](std::string_view p) { return std::string(ArgumentsOf(p)); };
    const Rule answer = [](std::string_view p) { return TextBeforeNul(p).value_or("(none)"); };
    const struct {
        Rule rule;
        std::string_view in, out;
    } cases[] = {
        // clang-format off
        {folder, "C:\\Saver\\Mirvo.scr", "C:\\Saver"}, {folder, "C:\\Mirvo.scr", "C:\\"}, {folder, "M.scr", ""},
        {entry, "C:\\Pics\\", "C:\\Pics"}, {entry, "C:\\", "C:\\"}, {entry, "é\\", "é\\"},
        {arguments, "\"C:\\My Saver\\M.scr\" /p 1", "/p 1"}, {arguments, "M.scr\t /s", "/s"},
        {arguments, "\"C:\\M.scr /c", ""}, {arguments, "\"M.scr\"/a", "/a"},
        {WithLineFeeds, "a\rb\r\n\r", "a\r\nb\r\n\r\n"},
        {answer, {"C:\\A.MP3 \0left", 14}, "C:\\A.MP3 "}, {answer, {"\0x", 2}, ""}, {answer, "none", "(none)"},
        // clang-format on
    };
    for (const auto& [rule, in, out] : cases)
        EXPECT_EQ(rule(in), out) << in;
    EXPECT_TRUE(HasWildcard("C:\\*.jpg") && HasWildcard("a?") && !HasWildcard("C:\\a.jpg"));
}

} // namespace
} // namespace orv
