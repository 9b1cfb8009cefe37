// How long the program lives: as long as one of its windows is open (each
// window registers while it lives, and the last one to go ends the message
// loop). The loop also keeps one watch for a window that must notice what
// sends it no message (the preview's host going with its process): its
// check runs every half second, and at once when the watch's signal comes.
#pragma once
#include <chrono>
#include <functional>
#include <optional>

namespace orv::program {

class ProgramLifetime {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kWatchPeriod{500};

    void WindowOpened() { ++openWindows_; }
    // True when it was the last window: the loop is to end.
    bool WindowClosed() { return --openWindows_ == 0; }
    bool AnyWindowOpen() const { return openWindows_ > 0; }

    void SetWatch(std::function<void()> check, Clock::time_point now);
    void ClearWatch() { check_ = nullptr; }
    // How long the loop may wait for a message before the check is due;
    // nothing (for ever) while no watch is set.
    std::optional<std::chrono::milliseconds> WaitLimit(Clock::time_point now) const;
    // After each wait: runs the check when the signal came or it is due.
    void AfterWait(bool signalled, Clock::time_point now);

  private:
    int openWindows_ = 0;
    std::function<void()> check_;
    Clock::time_point due_;
};

} // namespace orv::program
