#include "imaging/row_filter_behind.h"

namespace orv::imaging {
namespace {

// The rows the thread is woken for at a time.
constexpr std::size_t kBatchRows = 32;

} // namespace

bool FilterBehindPays(int sourceWidth, int sourceHeight, int width, int height) {
    return std::thread::hardware_concurrency() >= 2 &&
           2.0 * width * height >= static_cast<double>(sourceWidth) * sourceHeight;
}

RowFilterBehind::RowFilterBehind(const RowFilter& filter, int width, int rows)
    : filter_(filter), width_(width), rows_(static_cast<std::size_t>(std::max(rows, 0))) {
    thread_ = std::thread(&RowFilterBehind::Work, this);
}

RowFilterBehind::~RowFilterBehind() {
    Finish();
}

void RowFilterBehind::Written(std::uint8_t* row) {
    bool wake = false;
    {
        const std::lock_guard hold(mutex_);
        if (written_ >= rows_.size()) return;
        rows_[written_++] = row;
        // A wake-up is a call into the system: only for a thread asleep,
        // and only once a batch of rows waits for it.
        wake = waiting_ && written_ - taken_ >= kBatchRows;
    }
    if (wake) changed_.notify_one();
}

bool RowFilterBehind::FilterNext() noexcept {
    std::uint8_t* row = nullptr;
    {
        const std::lock_guard hold(mutex_);
        if (taken_ >= written_) return false;
        row = rows_[taken_++];
    }
    try {
        filter_(row, width_, 4);
    } catch (...) {
        const std::lock_guard hold(mutex_);
        failed_ = true;
    }
    return true;
}

void RowFilterBehind::Work() noexcept {
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            waiting_ = true;
            changed_.wait(lock, [this] { return written_ - taken_ >= kBatchRows || finishing_; });
            waiting_ = false;
        }
        if (!FilterNext()) {
            const std::lock_guard hold(mutex_);
            if (finishing_) return;
        }
    }
}

bool RowFilterBehind::Finish() noexcept {
    if (!thread_.joinable()) return !failed_;
    {
        const std::lock_guard hold(mutex_);
        finishing_ = true;
    }
    changed_.notify_all();
    while (FilterNext()) {
    }
    thread_.join();
    return !failed_;
}

} // namespace orv::imaging
