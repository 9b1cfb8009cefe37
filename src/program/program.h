// The program's own parts over the system's services, built once by the
// entry point: the session that counts what the program changed (so that
// the fatal path can put it back), the services bundle the core uses, the
// music on its media worker and the show's background workers. They outlive
// the windows that use them.
#pragma once
#include <memory>

#include "audio/media_worker.h"
#include "audio/music_player.h"
#include "platform/platform.h"
#include "saver/tracked_session.h"
#include "slideshow/show_workers.h"

namespace orv::program {

// What the system gives: its services (with its own session), and what the
// music and the show's jobs need of it.
struct SystemParts {
    platform::Platform services;
    audio::MediaThread& mediaThread;
    std::unique_ptr<platform::MediaDevice> mediaDevice;
    slideshow::JobSystem& jobs;
};

struct Program {
    explicit Program(SystemParts system);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // At the program's end, with every window gone: the jobs still under way
    // are cancelled and get up to 2 s to end (a wallpaper job removes its
    // file), the music device half a second for its last commands (one that
    // does not answer is no reason to stay). True when every thread has
    // ended, so that the parts can go.
    bool Stop();

    saver::TrackedSession session;
    platform::Platform platform; // the system's services with the tracked session
    audio::MediaWorkerThread media;
    audio::MusicPlayer music;
    slideshow::ShowWorkers workers;
};

} // namespace orv::program
