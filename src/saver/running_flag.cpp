#include "saver/running_flag.h"

#include "saver/tracked_session.h"

namespace orv::saver {

void RaiseRunningFlag(platform::Session& session) {
    if (session.CountShow(true)) session.SetScreenSaverRunning(true);
}

void LowerRunningFlag(platform::Session& session) {
    const std::optional<int> others = session.CountShow(false);
    if (others && *others <= 0) session.SetScreenSaverRunning(false);
}

void TrackedSession::Restore() noexcept {
    for (; hidden_ > 0; --hidden_)
        system_.ShowCursor(true);
    LowerRunningFlag(*this);
}

} // namespace orv::saver
