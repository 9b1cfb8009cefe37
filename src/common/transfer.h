// Reading or writing a file at any offset in pieces the system takes: a
// single system read or write moves at most kMaxTransfer bytes (its count is
// 32 bits), and may move fewer. Used by the Windows file reader and the
// decoders' scratch files.
#pragma once
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace orv {

inline constexpr std::uint32_t kMaxTransfer = std::uint32_t{1} << 30;

// One system read or write of `count` bytes at `offset`: how many it moved,
// 0 when it failed or moved none.
using Transfer =
    std::function<std::size_t(std::uint64_t offset, std::uint8_t* bytes, std::uint32_t count)>;

// When a background job's reading is to stop: once it is cancelled or its
// deadline has come. The flag must outlive the signal.
struct StopSignal {
    const std::atomic<bool>* cancelled = nullptr;
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
    bool Stopped() const {
        return (cancelled && cancelled->load()) || std::chrono::steady_clock::now() >= deadline;
    }
};

// Moves `count` bytes at `offset` through `transfer`, at most `maxChunk` at
// a time, until all are moved, a transfer moves nothing or `stop` says stop
// (looked at before each). Returns how many bytes were moved.
std::size_t TransferAll(std::uint64_t offset, std::uint8_t* bytes, std::size_t count,
                        const Transfer& transfer, const StopSignal& stop = {},
                        std::uint32_t maxChunk = kMaxTransfer);

} // namespace orv
