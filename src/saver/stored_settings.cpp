#include "saver/stored_settings.h"

#include <array>
#include <string>

#include "common/app_title.h"
#include "common/numeric.h"

namespace orv::saver {

void LoadSettings(const platform::SettingsStore& store, const platform::Environment& environment,
                  ScreenSaver& saver, OutOfRange outOfRange) {
    const auto read = [&](const char* key, const std::string& fallback) {
        return store.Read(kAppTitle, kSettingsSection, key, fallback);
    };
    // A stored number, or its default when it does not fit and may be put right.
    const auto number = [&](const char* key, const char* fallback) {
        const double value = ReadNumber(read(key, fallback));
        if (outOfRange == OutOfRange::UseDefault && !TryToInt16(value)) return ReadNumber(fallback);
        return value;
    };
    saver.SetPath(read(kPicturesPathKey, environment.ProgramFolder()));
    saver.SetTime(number(kDisplayTimeKey, kDefaultDisplayTime));
    saver.SetShowClock(number(kShowClockKey, kDefaultShowClock));
    saver.SetMusicFile(read(kMusicFileKey, ""));
    saver.SetScalePercentage(number(kScalePercentageKey, kDefaultScalePercentage));
}

std::optional<RuntimeError> SaveSettings(platform::SettingsStore& store,
                                         const platform::Environment& environment,
                                         const ScreenSaver& saver) {
    struct Item {
        const char* key;
        std::string value;
        std::string fallback; // what start-up reads when the key is missing
    };
    const std::array<Item, 5> items{{
        {kPicturesPathKey, saver.Path(), environment.ProgramFolder()},
        {kDisplayTimeKey, FormatInteger(saver.Time()), kDefaultDisplayTime},
        {kShowClockKey, FormatInteger(saver.ShowClock()), kDefaultShowClock},
        {kScalePercentageKey, FormatInteger(saver.ScalePercentage()), kDefaultScalePercentage},
        {kMusicFileKey, saver.MusicFile(), ""},
    }};
    // What the next start would read now, put back when a later write fails.
    std::array<std::string, 5> old;
    for (std::size_t i = 0; i < items.size(); ++i)
        old[i] = store.Read(kAppTitle, kSettingsSection, items[i].key, items[i].fallback);

    std::size_t written = 0;
    try {
        for (; written < items.size(); ++written)
            store.Write(kAppTitle, kSettingsSection, items[written].key, items[written].value);
        return std::nullopt;
    } catch (const RuntimeError& error) {
        for (std::size_t i = 0; i < written; ++i) {
            try {
                store.Write(kAppTitle, kSettingsSection, items[i].key, old[i]);
            } catch (const RuntimeError&) {
                // Nothing more can be done; the caller tells the user.
            }
        }
        return error;
    }
}

} // namespace orv::saver
