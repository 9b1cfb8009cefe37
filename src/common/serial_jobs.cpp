#include "common/serial_jobs.h"

#include <utility>

namespace orv {

SerialJobs::SerialJobs(std::function<void()> wake) : wake_(std::move(wake)) {}

void SerialJobs::SetNotifier(std::function<void()> notify) {
    const std::lock_guard lock(mutex_);
    notify_ = std::move(notify);
}

void SerialJobs::Post(std::uint64_t id, Job job) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back({id, std::move(job)});
    }
    wake_();
}

std::vector<std::uint64_t> SerialJobs::TakeDone() {
    std::vector<std::uint64_t> done;
    const std::lock_guard lock(mutex_);
    done.swap(done_);
    return done;
}

bool SerialJobs::Close(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    notify_ = nullptr;
    closing_ = true;
    wake_();
    return changed_.wait_for(lock, timeout, [&] { return jobs_.empty() && !busy_; });
}

void SerialJobs::Work(const std::function<void()>& pump, const std::function<void()>& wait) {
    for (;;) {
        pump();
        Queued next;
        {
            std::unique_lock lock(mutex_);
            if (jobs_.empty()) {
                if (closing_) return;
                lock.unlock();
                wait();
                continue;
            }
            next = std::move(jobs_.front());
            jobs_.pop_front();
            busy_ = true;
        }
        try {
            next.job();
        } catch (...) {
            // A job that fails has run all the same; its result says so.
        }
        next.job = nullptr; // what the job owns goes on this thread
        const std::lock_guard lock(mutex_);
        busy_ = false;
        if (next.id) {
            done_.push_back(next.id);
            if (notify_ && done_.size() == 1) notify_();
        }
        changed_.notify_all();
    }
}

} // namespace orv
