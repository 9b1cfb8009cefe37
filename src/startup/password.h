// The screen-saver password: reading the platform's password switch from the
// registry, telling the platform that a screen saver runs, and the check that
// runs when the full-screen show is asked to close.
#pragma once
#include <cstdint>
#include <string>

#include "platform/desktop.h"

namespace orv {

class clsPicSS;

// One registry value as text: a REG_DWORD as a number of at least three
// digits, anything else as its characters; then cut to the reported size
// less one. "Not Found" when the value cannot be read.
std::string GetRegString(platform::Desktop& desktop, std::uint32_t root, const std::string& keyPath,
                         const std::string& valueName);

// The password switch as text ("001", "1", "Not Found", ...).
std::string IsPasswordSet(platform::Desktop& desktop);

void SetScreenSaverRunning(platform::Desktop& desktop, bool running);

// The close check of the slideshow window: may set `cancel` when the user
// refuses the password. Nothing happens in preview mode or when no password
// is asked for; a platform without a password dialog lets the close proceed.
void CheckPasswordOnClose(platform::Desktop& desktop, const clsPicSS& pss, std::intptr_t window,
                          bool& cancel);

} // namespace orv
