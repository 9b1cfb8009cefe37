// The system's screen-saver running flag is one for the whole session, and
// several shows of ours can run at once (a second one started while the
// first shows, one per desktop). A show counts itself in as it raises the
// flag; the flag is lowered only by a show that counted itself in, and only
// when no other is still counted. Called by the slideshow form as the show
// starts and ends, and by the fatal path.
#pragma once
#include "platform/session.h"

namespace orv::saver {

void RaiseRunningFlag(platform::Session& session);
void LowerRunningFlag(platform::Session& session);

} // namespace orv::saver
