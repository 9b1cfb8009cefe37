#include "saver/running_flag.h"

namespace orv::saver {

void RaiseRunningFlag(platform::Session& session) {
    if (session.CountShow(true)) session.SetScreenSaverRunning(true);
}

void LowerRunningFlag(platform::Session& session) {
    const std::optional<int> others = session.CountShow(false);
    if (others && *others <= 0) session.SetScreenSaverRunning(false);
}

} // namespace orv::saver
