// libjpeg's system-dependent memory module, ours (built instead of the
// library's jmemnobs, which has none of this): memory from the C heap up to
// the decompressor's max_memory_to_use, and a backing store for the
// coefficient arrays that do not fit it, kept in scratch files. A
// decompressor's client_data points at a JpegClient; its backing store is
// the client's ScratchStore, and without one libjpeg fails as it does
// without a backing store. Used by the JPEG decoder only.
#pragma once
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "imaging/picture_types.h"

struct backing_store_struct;

namespace orv::imaging {

class CoefficientBands;
class ScratchStore;

// What a decompressor's client_data points at: where its coefficient arrays
// go when they do not fit its memory, or the bands that take their place
// (jpeg_bands.h).
struct JpegClient {
    ScratchStore* store = nullptr;
    CoefficientBands* bands = nullptr;
};

class ScratchStore {
  public:
    ScratchStore() = default;
    ScratchStore(const ScratchStore&) = delete;
    ScratchStore& operator=(const ScratchStore&) = delete;

    // Lets the store open files from `open`, at most `maxBytes` in all, and
    // read and write at most `maxTraffic` bytes through them: a file in
    // thousands of scans makes every scan pass through the whole store.
    void Allow(ScratchFiles open, std::uint64_t maxBytes, std::uint64_t maxTraffic);

    // For the module's libjpeg functions: false when the file cannot be
    // opened or moved through, or would go past what is allowed.
    bool Open(backing_store_struct* owner, std::uint64_t bytes) noexcept;
    bool Move(backing_store_struct* owner, bool write, void* buffer, std::uint64_t offset,
              std::uint64_t count) noexcept;
    void Close(backing_store_struct* owner) noexcept;

  private:
    ScratchFiles open_;
    std::uint64_t maxBytes_ = 0, maxTraffic_ = 0, bytes_ = 0, traffic_ = 0;
    std::vector<std::pair<backing_store_struct*, std::unique_ptr<ScratchFile>>> files_;
};

} // namespace orv::imaging
