// Jobs that run one after another on one worker thread, in the order they
// were posted, each reported by its id once it has run (also when it threw).
// The owner posts and takes the ids that are done; the worker thread calls
// Work, which runs the jobs until the queue is closed and empty. The thread
// itself, how it waits for work (a thread that must pump its messages
// meanwhile) and how the owner hears of finished jobs are the caller's: the
// wake hook and the notifier. Used by the media worker.
#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

namespace orv {

class SerialJobs {
  public:
    using Job = std::function<void()>;

    // `wake` is called, from any thread, whenever the worker may have
    // something to do (a job posted, the queue closed); it must not block.
    explicit SerialJobs(std::function<void()> wake);
    SerialJobs(const SerialJobs&) = delete;
    SerialJobs& operator=(const SerialJobs&) = delete;

    // Called on the worker thread when a job has run and no id was waiting
    // to be taken: one call for every batch of TakeDone. It must not block.
    void SetNotifier(std::function<void()> notify);
    // Queues the job; id 0 stands for "no answer wanted" and is never
    // reported.
    void Post(std::uint64_t id, Job job);
    // The ids of the jobs that have run since the last call, in order.
    std::vector<std::uint64_t> TakeDone();
    // Stops notifying, lets the worker end once the queue is empty, and
    // waits up to `timeout` for that; true when nothing was left running.
    bool Close(std::chrono::milliseconds timeout);

    // On the worker thread: runs the jobs until the queue is closed and
    // empty. `pump` runs before every look at the queue; `wait` waits until
    // the wake hook was called (it may return earlier).
    void Work(const std::function<void()>& pump, const std::function<void()>& wait);

  private:
    struct Queued {
        std::uint64_t id = 0;
        Job job;
    };
    std::function<void()> wake_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Queued> jobs_;
    std::vector<std::uint64_t> done_;
    std::function<void()> notify_;
    bool busy_ = false;
    bool closing_ = false;
};

} // namespace orv
