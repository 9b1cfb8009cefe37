// The services the core uses, handed around as one bundle. The Windows layer
// fills it with real implementations, the host tests with fakes.
#pragma once
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/session.h"
#include "platform/settings_store.h"
#include "platform/wallpaper.h"

namespace orv::platform {

struct Platform {
    SettingsStore& store;
    Environment& environment;
    MessageBoxes& messages;
    Clock& clock;
    Random& random;
    Session& session;
    Wallpaper& wallpaper;
    FileSystem& files;
};

} // namespace orv::platform
