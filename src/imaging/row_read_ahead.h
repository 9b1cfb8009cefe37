// Reads a picture's rows ahead on a thread of its own, so that decoding the
// next rows overlaps scaling the last ones. The scaler asks for rows in
// order; they are copied out of the band read ahead, two bands of
// kReadAheadRows (the scaler's own band, never more than it) at a time.
// Used by ScaleImage for large pictures on machines with a second core; the
// source's prepareThread runs first on the reading thread.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "imaging/image_scale.h"

namespace orv::imaging {

inline constexpr int kReadAheadRows = 64;

// Whether reading ahead pays for a source of this size on this machine.
bool ReadAheadPays(int sourceWidth, int sourceHeight);
// The rows a read-ahead asks its source for at a time, for a scaler's band.
int ReadAheadRows(int bandRows);
// The bytes a read-ahead holds for rows of `rowBytes`.
std::size_t ReadAheadMemory(std::size_t rowBytes, int bandRows);

class RowReadAhead {
  public:
    // Starts reading `source` from its first row, never more than
    // `bandRows` rows at a time; throws std::system_error when no thread can
    // be had.
    RowReadAhead(const ScaleSource& source, int bandRows);
    // Stops the reading thread once the band it reads is done.
    ~RowReadAhead();
    RowReadAhead(const RowReadAhead&) = delete;
    RowReadAhead& operator=(const RowReadAhead&) = delete;

    // The source's readRows, for rows asked for in order (rows may be
    // skipped, never asked for again); false when the source failed.
    bool Read(int first, int count, std::uint8_t* dest, std::size_t stride);

  private:
    struct Band {
        std::vector<std::uint8_t> rows;
        int first = 0, count = 0;
        bool full = false, ok = true;
    };
    void Produce() noexcept;

    const ScaleSource& source_;
    const std::size_t rowBytes_;
    const int bandRows_;
    Band bands_[2];
    int consumed_ = 0; // the band the reader takes rows from next
    bool stop_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread thread_;
};

} // namespace orv::imaging
