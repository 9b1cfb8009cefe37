#include "program/program.h"

#include <chrono>
#include <utility>

namespace orv::program {

Program::Program(SystemParts system)
    : session(system.services.session),
      platform{system.services.store,     system.services.environment, system.services.messages,
               system.services.clock,     system.services.random,      session,
               system.services.wallpaper, system.services.files},
      media(system.mediaThread, std::move(system.mediaDevice), system.services.files,
            [this](std::uintptr_t status) { music.OnMciNotify(status); }),
      music(platform, media, media), workers(system.jobs) {}

bool Program::Stop() {
    const bool jobs = workers.Stop(std::chrono::steady_clock::now() + std::chrono::seconds(2));
    return media.Stop(std::chrono::milliseconds(500)) && jobs;
}

} // namespace orv::program
