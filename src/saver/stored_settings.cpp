#include "saver/stored_settings.h"

#include <algorithm>
#include <array>
#include <string>

#include "common/app_title.h"
#include "common/numeric.h"

namespace orv::saver {

Settings LoadSettings(platform::SettingsStore& store, const platform::Environment& environment,
                      OutOfRange outOfRange) {
    const auto section = store.Open(kAppTitle, kSettingsSection, false);
    // A stored number, or its default when it does not fit and may be put right.
    const auto number = [&](const char* key, const char* fallback) {
        const double value = ReadNumber(section->Read(key, fallback));
        if (outOfRange == OutOfRange::UseDefault && !TryToInt16(value))
            return ToInt16(ReadNumber(fallback));
        return ToInt16(value);
    };
    Settings settings;
    settings.path = section->Read(kPicturesPathKey, environment.ProgramFolder());
    settings.time = number(kDisplayTimeKey, kDefaultDisplayTime);
    settings.showClock = number(kShowClockKey, kDefaultShowClock);
    settings.musicFile = section->Read(kMusicFileKey, "");
    settings.scalePercentage = number(kScalePercentageKey, kDefaultScalePercentage);
    return settings;
}

std::optional<RuntimeError> SaveSettings(platform::SettingsStore& store,
                                         const platform::Environment& environment,
                                         const Settings& settings) {
    struct Item {
        const char* key;
        std::string value;
        std::string fallback; // what start-up reads when the key is missing
    };
    const std::array<Item, 5> items{{
        {kPicturesPathKey, settings.path, environment.ProgramFolder()},
        {kDisplayTimeKey, std::to_string(settings.time), kDefaultDisplayTime},
        {kShowClockKey, std::to_string(settings.showClock), kDefaultShowClock},
        {kScalePercentageKey, std::to_string(settings.scalePercentage), kDefaultScalePercentage},
        {kMusicFileKey, settings.musicFile, ""},
    }};
    const auto section = store.Open(kAppTitle, kSettingsSection, true);
    // What the next start would read now, put back when a later write fails.
    std::array<std::string, 5> old;
    for (std::size_t i = 0; i < items.size(); ++i)
        old[i] = section->Read(items[i].key, items[i].fallback);

    for (std::size_t written = 0; written < items.size(); ++written) {
        auto refused = section->Write(items[written].key, items[written].value);
        if (!refused) continue;
        // Nothing more can be done when putting back fails too; the caller
        // tells the user of the first refusal.
        for (std::size_t i = 0; i < written; ++i)
            section->Write(items[i].key, old[i]);
        return refused;
    }
    return std::nullopt;
}

platform::RegistryType RegistryTypeOf(std::uint32_t number) {
    switch (number) {
    case 1:
        return platform::RegistryType::Text;
    case 2:
        return platform::RegistryType::ExpandableText;
    case 4:
        return platform::RegistryType::Number32;
    case 7:
        return platform::RegistryType::MultiText;
    default:
        return platform::RegistryType::Other;
    }
}

bool HoldsText(platform::RegistryType type) {
    return type == platform::RegistryType::Text || type == platform::RegistryType::ExpandableText ||
           type == platform::RegistryType::MultiText;
}

std::uint32_t Number32Of(std::string_view data) {
    std::uint32_t number = 0;
    for (std::size_t i = std::min<std::size_t>(data.size(), 4); i-- > 0;)
        number = number << 8 | static_cast<unsigned char>(data[i]);
    return number;
}

std::string StoredText(const std::optional<platform::RegistryValue>& value,
                       const std::string& fallback) {
    if (!value) return fallback;
    switch (value->type) {
    case platform::RegistryType::Text:
    case platform::RegistryType::ExpandableText:
        return value->data.substr(0, value->data.find('\0'));
    case platform::RegistryType::Number32:
        if (value->data.size() != 4) return fallback;
        return std::to_string(Number32Of(value->data));
    default:
        return fallback;
    }
}

} // namespace orv::saver
