#include "startup/password.h"

#include <cstdio>

#include "common/numeric.h"
#include "common/text.h"

namespace orv::startup {
namespace {

using platform::RegistryType;

// The first n characters of a UTF-8 text.
std::string FirstChars(const std::string& text, std::size_t n) {
    const std::size_t total = CharCount(text);
    if (n >= total) return text;
    const std::string_view tail = LastChars(text, total - n);
    return text.substr(0, text.size() - tail.size());
}

} // namespace

std::string RegistryText(platform::Session& session, const std::string& keyPath,
                         const std::string& valueName) {
    const std::optional<platform::RegistryValue> value = session.ReadUserValue(keyPath, valueName);
    if (!value) return "Not Found";

    const bool isText = value->type == RegistryType::Text ||
                        value->type == RegistryType::ExpandableText ||
                        value->type == RegistryType::MultiText;
    const std::size_t size = isText ? CharCount(value->data) : value->data.size();
    std::string text = value->data;
    if (value->type == RegistryType::Number32) {
        double number = 0;
        double weight = 1;
        for (std::size_t i = 0; i < 4; ++i, weight *= 256)
            if (i < value->data.size())
                number += static_cast<unsigned char>(value->data[i]) * weight;
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%03.0f", number);
        text = buffer;
    }
    if (size == 0) return std::string();
    return FirstChars(text, size - 1);
}

std::string PasswordSwitch(platform::Session& session) {
    return RegistryText(session, "Control Panel\\Desktop", "ScreenSaveUsePassword");
}

bool PasswordAllowsClose(platform::Session& session, std::intptr_t window) {
    if (ReadNumber(PasswordSwitch(session)) != 1) return true;
    session.ShowCursor(true);
    const std::optional<std::int32_t> answer = session.VerifyPassword(window);
    // Without a password dialog of its own the platform locks the session
    // itself once the show has ended, so the close goes ahead.
    if (!answer) return true;
    if ((*answer & 0xFFFF) != 0) return true;
    session.ShowCursor(false);
    return false;
}

} // namespace orv::startup
