// The screen-saver password: reading the platform's password switch from the
// user's desktop settings, and the check that runs when the full-screen show
// is asked to close.
#pragma once
#include <cstdint>
#include <string>

#include "platform/session.h"

namespace orv::startup {

// One value of the current user's registry as text: a 32-bit number as a
// number of at least three digits, anything else as its characters; then cut
// to the reported size less one. "Not Found" when the value cannot be read.
std::string RegistryText(platform::Session& session, const std::string& keyPath,
                         const std::string& valueName);

// The password switch as text ("001", "1", "Not Found", ...).
std::string PasswordSwitch(platform::Session& session);

// The close check of a full-screen show: false when the user refuses the
// password. Always true when no password is asked for; a platform without a
// password dialog lets the close proceed. `window` owns the prompt.
bool PasswordAllowsClose(platform::Session& session, std::intptr_t window);

} // namespace orv::startup
