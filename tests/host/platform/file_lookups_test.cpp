#include "platform/file_lookups.h"

#include <gtest/gtest.h>

#include <map>

namespace orv {
namespace {

using platform::LookupFilter;

// Entries by path (folder, hidden, system); a search gives every entry of
// the pattern's folder, as if its last part matched them all.
struct FakeLookups : FileLookups {
    std::map<std::string, EntryAttributes> entries{
        {"C:\\p", {true}},           {"C:\\p\\a", {}},
        {"C:\\p\\h", {false, true}}, {"C:\\p\\s", {false, false, true}},
        {"C:\\p\\sub", {true}},      {"C:\\p\\b", {}}};
    std::vector<std::string> searched; // the patterns, "+" after a listing's
    std::optional<EntryAttributes> AttributesOf(const std::string& path) override {
        const auto it = entries.find(path);
        return it == entries.end() ? std::nullopt : std::optional(it->second);
    }
    void Search(const std::string& pattern, bool listing, const Found& found) override {
        searched.push_back(pattern + (listing ? "+" : ""));
        const std::string folder = pattern.substr(0, pattern.rfind('\\') + 1);
        for (const auto& [path, entry] : entries)
            if (path.starts_with(folder) && path != folder + "*" &&
                !found(path.substr(folder.size()), entry))
                return;
    }
    bool OpensAsDiskFile(const std::string& path) override { return path != "C:\\p\\b"; }
    platform::OpenedFile OpenForReading(const std::string&) override { return {}; }
    std::string AnsiToUtf8(std::string_view text) override { return std::string(text); }
};

TEST(FileLookups, ListingsAndLookUpsLeaveOutHiddenSystemAndFoldersAsAsked) {
    FakeLookups files;
    EXPECT_EQ(files.ListFiles("C:\\p\\"), (std::vector<std::string>{"a", "b"}));
    const struct {
        std::string path;
        bool normal, plain, files, foldersAndFiles;
    } cases[] = {
        {"C:\\p\\a", true, true, true, true},      {"C:\\p\\b", true, false, true, true},
        {"C:\\p\\h", false, false, false, false},  {"C:\\p\\s", false, false, false, false},
        {"C:\\p\\sub", false, false, false, true}, {"C:\\p\\", false, false, false, true},
        {"C:\\p\\*", false, false, true, true},    {"", false, false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(files.NormalFileExists(c.path), c.normal) << c.path;
        EXPECT_EQ(files.PlainDiskFileExists(c.path), c.plain) << c.path;
        EXPECT_EQ(files.Lookup(c.path, LookupFilter::FilesOnly), c.files) << c.path;
        EXPECT_EQ(files.Lookup(c.path, LookupFilter::FoldersAndFiles), c.foldersAndFiles) << c.path;
    }
    EXPECT_EQ(files.searched, (std::vector<std::string>{"C:\\p\\*.*+", "C:\\p\\*", "C:\\p\\*"}));
}

} // namespace
} // namespace orv
