#include "startup/password.h"

#include <cstdio>

#include "common/numeric.h"
#include "common/text.h"
#include "saver/stored_settings.h"

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

    const std::size_t size =
        saver::HoldsText(value->type) ? CharCount(value->data) : value->data.size();
    std::string text = value->data;
    if (value->type == RegistryType::Number32) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%03u",
                      static_cast<unsigned>(saver::Number32Of(value->data)));
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
