// Fakes of the platform services that record what the core asks of them.
#pragma once
#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/errors.h"
#include "orvandel_version.h"
#include "platform/platform.h"
#include "startup/program_windows.h"
#include "support/text_stream.h"

namespace orv::fakes {

class FakeStore : public platform::SettingsStore {
  public:
    std::map<std::string, std::string> values; // "app\section\key" -> text
    std::vector<std::string> reads;            // keys in the order read
    std::vector<std::pair<std::string, std::string>> writes;
    std::string refuseKey; // a write of this key is refused
    int opens = 0;         // sections opened

    static std::string Address(const std::string& app, const std::string& section,
                               const std::string& key) {
        return app + "\\" + section + "\\" + key;
    }
    std::unique_ptr<platform::SettingsSection> Open(const std::string& app,
                                                    const std::string& section, bool) override {
        ++opens;
        struct Section : platform::SettingsSection {
            FakeStore* store;
            std::string prefix;
            std::string Read(const std::string& key, const std::string& fallback) const override {
                store->reads.push_back(key);
                const auto it = store->values.find(prefix + key);
                return it == store->values.end() ? fallback : it->second;
            }
            std::optional<RuntimeError> Write(const std::string& key,
                                              const std::string& value) override {
                if (key == store->refuseKey) return PermissionDenied();
                store->writes.emplace_back(key, value);
                store->values[prefix + key] = value;
                return std::nullopt;
            }
        };
        auto opened = std::make_unique<Section>();
        opened->store = this;
        opened->prefix = Address(app, section, "");
        return opened;
    }
    void Set(const std::string& key, const std::string& value) {
        values[Address("Orvandel", "Settings", key)] = value;
    }
};

class FakeEnvironment : public platform::Environment {
  public:
    std::string argumentText;
    std::string programFolder = "C:\\Program Files\\Orvandel";
    std::string windowsDirectory = "C:\\windows";
    platform::Version version{ORVANDEL_VERSION_MAJOR, ORVANDEL_VERSION_MINOR,
                              ORVANDEL_VERSION_PATCH};

    std::string ArgumentText() const override { return argumentText; }
    std::string ProgramFolder() const override { return programFolder; }
    std::string WindowsDirectory() const override { return windowsDirectory; }
    platform::Version ProgramVersion() const override { return version; }
};

// A message box; by default an information box titled as the program.
struct ShownMessage {
    std::string text;
    platform::MessageIcon icon = platform::MessageIcon::Information;
    std::string title = "Orvandel";
    bool operator==(const ShownMessage&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const ShownMessage& m) {
        return out << m.title << ": " << m.text << " (icon " << static_cast<int>(m.icon) << ")";
    }
};
using ShownMessages = std::vector<ShownMessage>;

class FakeMessages : public platform::MessageBoxes {
  public:
    ShownMessages shown;
    void Show(const std::string& text, platform::MessageIcon icon,
              const std::string& title) override {
        shown.push_back({text, icon, title});
    }
};

class FakeClock : public platform::Clock {
  public:
    platform::LocalTime now{2026, 12, 8, 17, 5, 9};
    platform::LocalTime Now() const override { return now; }
};

class FakeRandom : public platform::Random {
  public:
    std::vector<double> draws; // returned in turn, the last one repeating
    std::size_t next = 0;
    int seeds = 0;
    void Seed() override { ++seeds; }
    double Next() override {
        if (draws.empty()) return 0.0;
        const double v = draws[std::min(next, draws.size() - 1)];
        ++next;
        return v;
    }
};

class FakeSession : public platform::Session {
  public:
    std::vector<std::string> calls;
    // Values of the user's registry by "key\\value"; missing ones cannot be read.
    std::map<std::string, platform::RegistryValue> registry;
    // The password dialog's answers in turn; nothing = no such dialog.
    std::vector<std::optional<std::int32_t>> passwordAnswers;
    std::vector<std::int32_t> passwordChanges;

    void ShowCursor(bool show) override {
        calls.push_back(show ? "ShowCursor(true)" : "ShowCursor(false)");
    }
    void SetScreenSaverRunning(bool running) override {
        calls.push_back(running ? "SetScreenSaverRunning(true)" : "SetScreenSaverRunning(false)");
    }
    int otherShows = 0; // of ours, counted on the system; and whether this one is
    bool counted = false;
    std::optional<int> CountShow(bool in) override {
        return std::exchange(counted, in) == in ? std::nullopt : std::optional(otherShows);
    }
    std::optional<platform::RegistryValue> ReadUserValue(const std::string& keyPath,
                                                         const std::string& valueName) override {
        const auto it = registry.find(keyPath + "\\" + valueName);
        if (it == registry.end()) return std::nullopt;
        return it->second;
    }
    std::optional<std::int32_t> VerifyPassword(std::intptr_t owner) override {
        calls.push_back("VerifyPassword(" + std::to_string(owner) + ")");
        if (passwordAnswers.empty()) return std::nullopt;
        const auto answer = passwordAnswers.front();
        passwordAnswers.erase(passwordAnswers.begin());
        return answer;
    }
    void ChangePassword(std::int32_t owner) override { passwordChanges.push_back(owner); }
    // Sets the password switch as the registry would hold it.
    void SetPasswordSwitch(platform::RegistryType type, const std::string& data) {
        registry["Control Panel\\Desktop\\ScreenSaveUsePassword"] = {type, data};
    }
};

class FakeWallpaper : public platform::Wallpaper {
  public:
    std::vector<std::string> calls;
    std::string userFolder = "C:\\Users\\me\\AppData\\Local\\Orvandel";
    void Set(const std::string& bmpPath) override {
        calls.push_back("SetWallpaper(" + bmpPath + ")");
    }
    std::string UserFolder() override { return userFolder; }
};

class FakeWindows : public startup::ProgramWindows {
  public:
    std::vector<std::string> opened;
    saver::Settings settings; // what the last window was given
    // Windows that exist; the others do not.
    std::map<std::int32_t, startup::HostWindow> hosts{{77, {true, false, false}},
                                                      {1234, {true, false, false}}};
    void ShowSlideshow(const saver::Settings& s) override { Open("slideshow", s); }
    startup::HostWindow DescribeHost(std::int32_t host) override {
        const auto it = hosts.find(host);
        return it == hosts.end() ? startup::HostWindow{} : it->second;
    }
    void ShowPreview(std::int32_t host, const saver::Settings& s) override {
        Open("preview " + std::to_string(host), s);
    }
    void ShowSettings(const saver::Settings& s) override { Open("settings", s); }

  private:
    void Open(std::string what, const saver::Settings& s) {
        opened.push_back(std::move(what));
        settings = s;
    }
};

// An in-memory file system. Paths are Windows paths; a folder's entries are
// listed in the order they were added.
class FakeFileSystem : public platform::FileSystem {
  public:
    struct Entry {
        std::string path;
        bool folder = false;
        bool hidden = false;
        bool system = false;
        std::string text; // contents, already as UTF-8
    };
    std::vector<Entry> entries;
    std::vector<std::string> unreadable; // OpenForReading fails for these

    void AddFile(const std::string& path, const std::string& text = "") {
        entries.push_back({path, false, false, false, text});
    }
    void AddFolder(const std::string& path) { entries.push_back({path, true, false, false, ""}); }

    const Entry* Find(const std::string& path) const {
        for (const auto& e : entries)
            if (Lower(e.path) == Lower(path)) return &e;
        return nullptr;
    }
    std::vector<std::string> ListFiles(const std::string& folder) override {
        std::vector<std::string> names;
        for (const auto& e : entries) {
            if (e.folder || e.hidden || e.system) continue;
            if (Lower(e.path.substr(0, folder.size())) != Lower(folder)) continue;
            const std::string name = e.path.substr(folder.size());
            if (!name.empty() && name.find('\\') == std::string::npos) names.push_back(name);
        }
        return names;
    }
    bool NormalFileExists(const std::string& path) override {
        const Entry* e = Find(path);
        return e && !e->folder && !e->hidden && !e->system;
    }
    std::string notOnDisk; // a file that is not on a disk (a pipe, say)
    bool PlainDiskFileExists(const std::string& path) override {
        return Lower(path) != Lower(notOnDisk) && NormalFileExists(path);
    }
    bool Lookup(const std::string& pattern, platform::LookupFilter filter) override {
        std::string p = pattern;
        if (p.size() > 3 && p.back() == '\\') p.pop_back();
        const Entry* e = Find(p);
        if (!e || e->hidden || e->system) return false;
        return filter == platform::LookupFilter::FoldersAndFiles || !e->folder;
    }
    platform::OpenedFile OpenForReading(const std::string& path) override {
        for (const auto& u : unreadable)
            if (Lower(u) == Lower(path))
                return {nullptr, RuntimeError(75, "Path/File access error")};
        const Entry* e = Find(path);
        if (!e || e->folder) return {nullptr, FileNotFound()};
        return {std::make_unique<support::TextStream>(e->text, piece), std::nullopt};
    }
    // The fake's texts are UTF-8 already; a marker shows the conversion ran.
    std::string AnsiToUtf8(std::string_view text) override { return std::string(text); }

    // The files' texts are read in pieces of at most this many bytes.
    static inline std::size_t piece = 7;

  private:
    static std::string Lower(std::string s) {
        for (char& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    }
};

// Everything at once, wired into a Platform bundle.
struct FakePlatform {
    FakeStore store;
    FakeEnvironment environment;
    FakeMessages messages;
    FakeClock clock;
    FakeRandom random;
    FakeSession session;
    FakeWallpaper wallpaper;
    FakeWindows windows;
    FakeFileSystem files;
    platform::Platform platform{store,  environment, messages,  clock,
                                random, session,     wallpaper, files};

    // The same bundle with another file system, for tests that need their own.
    platform::Platform With(platform::FileSystem& otherFiles) {
        return {store, environment, messages, clock, random, session, wallpaper, otherFiles};
    }
};

} // namespace orv::fakes
