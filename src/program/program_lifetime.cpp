#include "program/program_lifetime.h"

#include <algorithm>
#include <utility>

namespace orv::program {

void ProgramLifetime::SetWatch(std::function<void()> check, Clock::time_point now) {
    check_ = std::move(check);
    due_ = now + kWatchPeriod;
}

std::optional<std::chrono::milliseconds> ProgramLifetime::WaitLimit(Clock::time_point now) const {
    if (!check_) return std::nullopt;
    return std::max(std::chrono::ceil<std::chrono::milliseconds>(due_ - now),
                    std::chrono::milliseconds(0));
}

void ProgramLifetime::AfterWait(bool signalled, Clock::time_point now) {
    if (!check_ || (!signalled && now < due_)) return;
    due_ = now + kWatchPeriod;
    const auto check = check_; // the check may clear the watch
    check();
}

} // namespace orv::program
