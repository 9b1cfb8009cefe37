#include "common/transfer.h"

#include <algorithm>

namespace orv {

std::size_t TransferAll(std::uint64_t offset, std::uint8_t* bytes, std::size_t count,
                        const Transfer& transfer, const StopSignal& stop, std::uint32_t maxChunk) {
    std::size_t done = 0;
    while (done < count && !stop.Stopped()) {
        const auto chunk =
            static_cast<std::uint32_t>(std::min<std::size_t>(count - done, maxChunk));
        const std::size_t moved = transfer(offset + done, bytes + done, chunk);
        if (moved == 0) break;
        done += moved;
    }
    return done;
}

} // namespace orv
