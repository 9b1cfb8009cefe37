#include "common/file_lookups.h"

#include <gtest/gtest.h>

#include <map>

namespace orv {
namespace {

using platform::LookupFilter;

// Entries by full path; a search gives every entry of the pattern's folder,
// in name order, as if its last part matched them all.
struct FakeLookups : FileLookups {
    std::map<std::string, EntryAttributes> entries{{"C:\\p\\a.jpg", {}},
                                                   {"C:\\p\\b.jpg", {false, true, false}},
                                                   {"C:\\p\\c.jpg", {false, false, true}},
                                                   {"C:\\p\\sub", {true, false, false}},
                                                   {"C:\\p\\z.jpg", {}},
                                                   {"C:\\p", {true, false, false}},
                                                   {"C:\\q\\hidden", {true, true, false}},
                                                   {"C:\\q\\x", {}}};
    std::vector<std::string> searched; // pattern, and "+" for a listing
    int visited = 0;
    std::optional<EntryAttributes> AttributesOf(const std::string& path) override {
        const auto it = entries.find(path);
        return it == entries.end() ? std::nullopt : std::optional(it->second);
    }
    void Search(const std::string& pattern, bool listing, const Found& found) override {
        searched.push_back(pattern + (listing ? "+" : ""));
        const std::string folder = pattern.substr(0, pattern.rfind('\\') + 1);
        for (const auto& [path, entry] : entries)
            if (path.rfind(folder, 0) == 0 && path.size() > folder.size() && (++visited, true) &&
                !found(path.substr(folder.size()), entry))
                return;
    }
    bool OpensAsDiskFile(const std::string& path) override { return path != "C:\\p\\z.jpg"; }
    std::unique_ptr<platform::ByteStream> OpenForReading(const std::string&) override {
        return nullptr;
    }
    std::string AnsiToUtf8(std::string_view text) override { return std::string(text); }
};

TEST(FileLookups, ListingsAndLookUpsLeaveOutHiddenSystemAndFoldersAsAsked) {
    FakeLookups files;
    EXPECT_EQ(files.ListFiles("C:\\p\\"), (std::vector<std::string>{"a.jpg", "z.jpg"}));
    EXPECT_EQ(files.searched, std::vector<std::string>{"C:\\p\\*.*+"});
    const struct {
        std::string path;
        bool normal, plain, files, foldersAndFiles;
    } cases[] = {
        {"C:\\p\\a.jpg", true, true, true, true},     {"C:\\p\\z.jpg", true, false, true, true},
        {"C:\\p\\b.jpg", false, false, false, false}, {"C:\\p\\c.jpg", false, false, false, false},
        {"C:\\p\\sub", false, false, false, true},    {"C:\\p\\", false, false, false, true},
        {"C:\\p\\*.jpg", false, false, true, true},   {"C:\\q\\?", false, false, true, true},
        {"C:\\none", false, false, false, false},     {"", false, false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(files.NormalFileExists(c.path), c.normal) << c.path;
        EXPECT_EQ(files.PlainDiskFileExists(c.path), c.plain) << c.path;
        EXPECT_EQ(files.Lookup(c.path, LookupFilter::FilesOnly), c.files) << c.path;
        EXPECT_EQ(files.Lookup(c.path, LookupFilter::FoldersAndFiles), c.foldersAndFiles) << c.path;
    }
    files.visited = 0;
    EXPECT_TRUE(files.Lookup("C:\\p\\*", LookupFilter::FilesOnly));
    EXPECT_EQ(files.visited, 1) << "the search stops at the first entry admitted";
}

} // namespace
} // namespace orv
