#include "platform/file_lookups.h"

#include "common/paths.h"

namespace orv {
namespace {

using platform::LookupFilter;

// Hidden and system entries are never ordinary; folders only where the
// filter takes them.
bool Admits(EntryAttributes entry, LookupFilter filter) {
    if (entry.hidden || entry.system) return false;
    return filter == LookupFilter::FoldersAndFiles || !entry.folder;
}

} // namespace

std::vector<std::string> FileLookups::ListFiles(const std::string& folder) {
    std::vector<std::string> names;
    Search(folder + "*.*", true, [&names](const std::string& name, EntryAttributes entry) {
        if (Admits(entry, LookupFilter::FilesOnly)) names.push_back(name);
        return true;
    });
    return names;
}

bool FileLookups::NormalFileExists(const std::string& path) {
    if (path.empty() || HasWildcard(path)) return false;
    const std::optional<EntryAttributes> entry = AttributesOf(path);
    return entry && Admits(*entry, LookupFilter::FilesOnly);
}

bool FileLookups::PlainDiskFileExists(const std::string& path) {
    // The picture readers' own check: the file opens and is a disk file.
    return NormalFileExists(path) && OpensAsDiskFile(path);
}

bool FileLookups::Lookup(const std::string& pattern, LookupFilter filter) {
    if (pattern.empty()) return false;
    if (!HasWildcard(pattern)) {
        const std::optional<EntryAttributes> entry = AttributesOf(std::string(EntryPath(pattern)));
        return entry && Admits(*entry, filter);
    }
    bool admitted = false;
    Search(pattern, false, [&admitted, filter](const std::string&, EntryAttributes entry) {
        admitted = Admits(entry, filter);
        return !admitted;
    });
    return admitted;
}

std::size_t OffsetStream::Read(char* dest, std::size_t count) {
    const std::size_t n = read_(at_, reinterpret_cast<std::uint8_t*>(dest), count);
    at_ += n;
    return n;
}

} // namespace orv
