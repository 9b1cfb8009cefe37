#include "common/paths.h"

#include <gtest/gtest.h>

#include "common/command_line.h"
#include "common/text.h"

namespace orv {
namespace {

struct PathCase {
    std::string_view in, out;
};

TEST(Paths, ProgramFolderKeepsOnlyADriveRootsBackslash) {
    for (const auto& [in, out] :
         std::initializer_list<PathCase>{{"C:\\Saver\\Mirvo.scr", "C:\\Saver"},
                                         {"C:\\Mirvo.scr", "C:\\"},
                                         {"\\\\host\\share\\m.scr", "\\\\host\\share"},
                                         {"Mirvo.scr", ""}})
        EXPECT_EQ(ContainingFolder(in), out) << in;
}

TEST(Paths, ATrailingBackslashNamesTheFolderExceptInADriveRoot) {
    for (const auto& [in, out] : std::initializer_list<PathCase>{{"C:\\Pics\\", "C:\\Pics"},
                                                                 {"C:\\", "C:\\"},
                                                                 {"C:\\Pics", "C:\\Pics"},
                                                                 {"é\\", "é\\"}})
        EXPECT_EQ(EntryPath(in), out) << in;
    EXPECT_TRUE(HasWildcard("C:\\Pics\\*.jpg"));
    EXPECT_TRUE(HasWildcard("C:\\a?"));
    EXPECT_FALSE(HasWildcard("C:\\Pics\\a.jpg"));
}

TEST(CommandLine, ArgumentsFollowTheProgramsNameAndItsBlanks) {
    for (const auto& [in, out] :
         std::initializer_list<PathCase>{{"\"C:\\My Saver\\Mirvo.scr\" /p 123", "/p 123"},
                                         {"C:\\Mirvo.scr\t /s", "/s"},
                                         {"Mirvo.scr", ""},
                                         {"\"C:\\Mirvo.scr /c", ""},
                                         {"\"C:\\Mirvo.scr\"/a", "/a"},
                                         {"", ""}})
        EXPECT_EQ(ArgumentsOf(in), out) << in;
}

TEST(Text, ALoneCarriageReturnBreaksALabelsLine) {
    for (const auto& [in, out] : std::initializer_list<PathCase>{{"a\rb", "a\r\nb"},
                                                                 {"a\r\nb\r", "a\r\nb\r\n"},
                                                                 {"a\nb", "a\nb"},
                                                                 {"\r\r", "\r\n\r\n"}})
        EXPECT_EQ(WithLineFeeds(in), out);
}

} // namespace
} // namespace orv
