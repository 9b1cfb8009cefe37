#include "startup/password.h"

#include <cstdio>

#include "common/numeric.h"
#include "common/text.h"
#include "saver/cls_pic_ss.h"

namespace orv {
namespace {

// The first n characters of a UTF-8 text.
std::string FirstChars(const std::string& text, std::size_t n) {
    const std::size_t total = CharCount(text);
    if (n >= total) return text;
    const std::string_view tail = LastChars(text, total - n);
    return text.substr(0, text.size() - tail.size());
}

} // namespace

std::string GetRegString(platform::Desktop& desktop, std::uint32_t root, const std::string& keyPath,
                         const std::string& valueName) {
    std::optional<platform::RegistryValue> value;
    try {
        value = desktop.QueryRegistryValue(root, keyPath, valueName);
    } catch (...) {
        // A failing read is a missing value.
    }
    if (!value) return "Not Found";

    const bool isText = value->type == platform::kRegSz || value->type == platform::kRegExpandSz ||
                        value->type == platform::kRegMultiSz;
    const std::size_t size = isText ? CharCount(value->data) : value->data.size();
    std::string text = value->data;
    if (value->type == platform::kRegDword) {
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

std::string IsPasswordSet(platform::Desktop& desktop) {
    return GetRegString(desktop, platform::kHkeyCurrentUser, "Control Panel\\Desktop",
                        "ScreenSaveUsePassword");
}

void SetScreenSaverRunning(platform::Desktop& desktop, bool running) {
    desktop.SetScreenSaverRunning(running);
}

void CheckPasswordOnClose(platform::Desktop& desktop, const clsPicSS& pss, std::intptr_t window,
                          bool& cancel) {
    if (pss.PreviewMode()) return;
    if (ReadNumber(IsPasswordSet(desktop)) != 1) return;
    desktop.ShowCursor(true);
    const std::optional<std::int32_t> answer = desktop.VerifyScreenSavePwd(window);
    // Without a password dialog of its own the platform locks the session
    // itself once the show has ended, so the close goes ahead.
    if (!answer) return;
    if ((*answer & 0xFFFF) == 0) {
        cancel = true;
        desktop.ShowCursor(false);
    }
}

} // namespace orv
