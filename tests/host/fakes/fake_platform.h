// Fakes of the platform services that record what the core asks of them.
#pragma once
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "common/runtime_error.h"
#include "platform/platform.h"

namespace orv::fakes {

class FakeStore : public platform::SettingsStore {
public:
    std::map<std::string, std::string> values; // "app\section\key" -> text
    std::vector<std::string> reads;            // keys in the order read
    std::vector<std::pair<std::string, std::string>> writes;
    std::string refuseKey; // a write of this key throws

    static std::string Address(const std::string& app, const std::string& section,
                               const std::string& key) {
        return app + "\\" + section + "\\" + key;
    }
    std::string Read(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& fallback) const override {
        const_cast<FakeStore*>(this)->reads.push_back(key);
        const auto it = values.find(Address(app, section, key));
        return it == values.end() ? fallback : it->second;
    }
    void Write(const std::string& app, const std::string& section, const std::string& key,
               const std::string& value) override {
        if (key == refuseKey) throw PermissionDenied();
        writes.emplace_back(key, value);
        values[Address(app, section, key)] = value;
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
    platform::Version version{0, 0, 41};
    std::vector<std::int32_t> passwordChanges;

    std::string ArgumentText() const override { return argumentText; }
    std::string ProgramFolder() const override { return programFolder; }
    std::string WindowsDirectory() const override { return windowsDirectory; }
    platform::Version ProgramVersion() const override { return version; }
    void ChangePassword(std::int32_t owner) override { passwordChanges.push_back(owner); }
};

struct ShownMessage {
    std::string text;
    int style;
    std::string title;
};

class FakeMessages : public platform::MessageBoxes {
public:
    std::vector<ShownMessage> shown;
    int Show(const std::string& text, int style, const std::string& title) override {
        shown.push_back({text, style, title});
        return 1;
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

class FakeDesktop : public platform::Desktop {
public:
    std::vector<std::string> calls;
    void ShowCursor(bool show) override { calls.push_back(show ? "ShowCursor(true)" : "ShowCursor(false)"); }
};

class FakeForms : public platform::Forms {
public:
    std::vector<std::string> opened;
    void ShowSlideshow() override { opened.push_back("slideshow"); }
    void ShowPreview(std::int32_t host) override { opened.push_back("preview " + std::to_string(host)); }
    void ShowSettings() override { opened.push_back("settings"); }
};

// Everything at once, wired into a Platform bundle.
struct FakePlatform {
    FakeStore store;
    FakeEnvironment environment;
    FakeMessages messages;
    FakeClock clock;
    FakeRandom random;
    FakeDesktop desktop;
    FakeForms forms;
    platform::Platform platform{store, environment, messages, clock, random, desktop, forms};
};

} // namespace orv::fakes
