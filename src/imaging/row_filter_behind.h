// Runs a row filter (the colour conversion) over the scaler's output rows on
// a thread of its own, behind the scaler: each row is filtered once it is
// written, while the scaler writes the next. The rows still waiting when
// the scaler is done are shared between both threads. Used by ScaleImage
// for large outputs on machines with a second core; the filter must allow
// calls from two threads at once for different rows.
#pragma once
#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "imaging/picture_types.h"

namespace orv::imaging {

// Whether filtering behind the scaler pays for this source and output:
// where the output has at least half the source's pixels, scaling and
// filtering take longer than decoding, and a second core shares the work. A
// smaller output is better filtered on the scaling thread, while it waits
// for the decoder's next rows (a third busy thread on two cores would only
// slow the decoder).
bool FilterBehindPays(int sourceWidth, int sourceHeight, int width, int height);

class RowFilterBehind {
  public:
    // Starts the thread for up to `rows` rows of `width` pixels; throws
    // std::system_error when no thread can be started, std::bad_alloc.
    RowFilterBehind(const RowFilter& filter, int width, int rows);
    // Finishes first.
    ~RowFilterBehind();
    RowFilterBehind(const RowFilterBehind&) = delete;
    RowFilterBehind& operator=(const RowFilterBehind&) = delete;

    // A row the scaler has written; at most `rows` of them.
    void Written(std::uint8_t* row);
    // Filters the rows still waiting on this thread and the other one, and
    // ends that thread. False when the filter threw.
    bool Finish() noexcept;

  private:
    void Work() noexcept;
    // Filters the next written row not yet taken; false when none waits.
    bool FilterNext() noexcept;

    const RowFilter& filter_;
    const int width_;
    std::vector<std::uint8_t*> rows_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t written_ = 0, taken_ = 0;
    bool finishing_ = false, failed_ = false, waiting_ = false;
    std::thread thread_;
};

} // namespace orv::imaging
