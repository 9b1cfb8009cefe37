// Runs background jobs, each on a thread of its own, and hands their results
// back to the thread that owns the runner. A job's result goes into a slot
// made before its thread starts and shared with it; a finished thread calls
// the notifier (a window posts itself a message that carries nothing), and
// the owner takes every finished result, joining its thread. The runner owns
// its threads: Stop cancels every job and waits a bounded time for them, off
// the user-interface thread (at the program's end); the destructor joins
// what is left.
#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace orv {

// `Job` and `Result` have an `id` (std::uint64_t); a Result made with
// nothing but its job's id stands for a failed job.
template <class Job, class Result> class JobRunner {
  public:
    // `work` runs on the job's thread; what it throws is reported as a
    // result with nothing but the job's identity.
    using Work = std::function<Result(const Job&, const std::atomic<bool>& cancelled)>;

    explicit JobRunner(Work work) : work_(std::move(work)), shared_(std::make_shared<Shared>()) {}
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;
    ~JobRunner() {
        Stop(std::chrono::steady_clock::time_point::min());
        for (Running& r : running_)
            r.thread.join();
    }

    // Called on a job's thread when it has finished; it must not block.
    void SetNotifier(std::function<void()> notify) {
        const std::lock_guard lock(shared_->mutex);
        shared_->notify = std::move(notify);
    }

    // Starts the job; when no thread can be had, it fails at once (its
    // result is waiting and the notifier called).
    void Start(Job job) {
        auto slot = std::make_shared<Slot>();
        slot->result.id = job.id;
        running_.push_back({job.id, slot, {}});
        try {
            running_.back().thread =
                std::thread([work = work_, shared = shared_, slot, job = std::move(job)] {
                    Finish(*shared, *slot, Run(work, job, *slot));
                });
        } catch (...) {
            Finish(*shared_, *slot, std::move(slot->result));
        }
    }

    void Cancel(std::uint64_t id) {
        for (Running& r : running_)
            if (r.id == id) r.slot->cancelled = true;
    }

    // Every result finished since the last call, in the order the jobs
    // started.
    std::vector<Result> TakeFinished() {
        std::vector<Result> results;
        for (auto it = running_.begin(); it != running_.end();) {
            if (!Finished(*it)) {
                ++it;
                continue;
            }
            if (it->thread.joinable()) it->thread.join();
            results.push_back(std::move(it->slot->result));
            it = running_.erase(it);
        }
        return results;
    }

    // Stops notifying, cancels every job and waits until `deadline` for
    // their threads to finish; true when none is left running.
    bool Stop(std::chrono::steady_clock::time_point deadline) {
        {
            const std::lock_guard lock(shared_->mutex);
            shared_->notify = nullptr;
        }
        for (Running& r : running_)
            r.slot->cancelled = true;
        std::unique_lock lock(shared_->mutex);
        return shared_->done.wait_until(lock, deadline, [this] {
            for (const Running& r : running_)
                if (!r.slot->finished) return false;
            return true;
        });
    }

  private:
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::function<void()> notify;
    };
    struct Slot {
        std::atomic<bool> cancelled{false};
        bool finished = false; // under the shared mutex
        Result result;
    };
    struct Running {
        std::uint64_t id = 0;
        std::shared_ptr<Slot> slot;
        std::thread thread;
    };

    bool Finished(const Running& r) const {
        const std::lock_guard lock(shared_->mutex);
        return r.slot->finished;
    }
    // The edge of a job's thread: nothing escapes it.
    static Result Run(const Work& work, const Job& job, Slot& slot) noexcept {
        try {
            return work(job, slot.cancelled);
        } catch (...) {
            Result failed{};
            failed.id = job.id;
            return failed;
        }
    }
    static void Finish(Shared& shared, Slot& slot, Result result) noexcept {
        const std::lock_guard lock(shared.mutex);
        slot.result = std::move(result);
        slot.finished = true;
        shared.done.notify_all();
        if (shared.notify) shared.notify();
    }

    Work work_;
    std::shared_ptr<Shared> shared_;
    std::vector<Running> running_;
};

} // namespace orv
