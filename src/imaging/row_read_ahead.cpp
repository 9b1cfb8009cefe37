#include "imaging/row_read_ahead.h"

#include <algorithm>
#include <cstring>

namespace orv::imaging {

bool ReadAheadPays(int sourceWidth, int sourceHeight) {
    // Below a megapixel the thread costs about what it saves.
    return std::thread::hardware_concurrency() >= 2 &&
           static_cast<double>(sourceWidth) * sourceHeight >= 1e6;
}

int ReadAheadRows(int bandRows) {
    return std::clamp(bandRows, 1, kReadAheadRows);
}

std::size_t ReadAheadMemory(std::size_t rowBytes, int bandRows) {
    return 2 * rowBytes * static_cast<std::size_t>(ReadAheadRows(bandRows));
}

RowReadAhead::RowReadAhead(const ScaleSource& source, int bandRows)
    : source_(source), rowBytes_(static_cast<std::size_t>(source.width) * source.bytesPerPixel),
      bandRows_(ReadAheadRows(bandRows)) {
    for (Band& band : bands_)
        band.rows.resize(rowBytes_ * bandRows_);
    thread_ = std::thread([this] { Produce(); });
}

RowReadAhead::~RowReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void RowReadAhead::Produce() noexcept {
    // A thread that cannot be prepared reads nothing: its first band fails.
    std::shared_ptr<void> prepared;
    bool ready = true;
    try {
        if (source_.prepareThread) prepared = source_.prepareThread();
    } catch (...) {
        ready = false;
    }
    for (int next = 0, index = 0; next < source_.height; next += bandRows_, ++index) {
        Band& band = bands_[index % 2];
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stop_ || !band.full; });
            if (stop_) return;
        }
        const int count = std::min(bandRows_, source_.height - next);
        bool ok = false;
        try {
            ok = ready && source_.readRows(next, count, band.rows.data(), rowBytes_);
        } catch (...) {
            ok = false;
        }
        {
            const std::lock_guard lock(mutex_);
            band.first = next, band.count = count, band.ok = ok, band.full = true;
        }
        changed_.notify_all();
        if (!ok) return;
    }
}

bool RowReadAhead::Read(int first, int count, std::uint8_t* dest, std::size_t stride) {
    for (int row = first; row < first + count;) {
        Band& band = bands_[consumed_ % 2];
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return band.full; });
        }
        if (!band.ok || row < band.first) return false;
        if (row >= band.first + band.count) {
            // Every row of this band is behind: the reader may refill it.
            {
                const std::lock_guard lock(mutex_);
                band.full = false;
            }
            changed_.notify_all();
            ++consumed_;
            continue;
        }
        const int n = std::min(first + count, band.first + band.count) - row;
        for (int i = 0; i < n; ++i)
            std::memcpy(dest + static_cast<std::size_t>(row - first + i) * stride,
                        band.rows.data() +
                            static_cast<std::size_t>(row - band.first + i) * rowBytes_,
                        rowBytes_);
        row += n;
    }
    return true;
}

} // namespace orv::imaging
