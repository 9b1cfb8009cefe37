// The count of our shows running on the system, which the running flag
// (running_flag.h) needs: a show counted in holds one of kShowSlots named
// slots, so others see it until it counts itself out or its process ends.
// Counting in and out is done one process at a time, so that of two shows
// ending together one sees the other gone; a count lock that cannot be had
// only costs exactness. The platform's session counts through this.
#pragma once
#include <optional>

#include "platform/session.h"

namespace orv::saver {

// More shows of ours than anyone runs at once; one beyond them is counted
// but holds no slot, so others do not see it.
inline constexpr int kShowSlots = 32;

class ShowCount {
  public:
    explicit ShowCount(platform::ShowSlots& slots) : slots_(slots) {}
    // As platform::Session::CountShow: how many others are counted, or
    // nothing when the call changed nothing.
    std::optional<int> Count(bool in);

  private:
    // The slots other than `own` that another show holds.
    int OtherShows(int own) const;

    platform::ShowSlots& slots_;
    bool counted_ = false;
    int slot_ = -1; // the slot this show holds, if any
};

} // namespace orv::saver
