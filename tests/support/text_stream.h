// A stream over text held in memory, handed out in pieces of at most
// `piece` bytes (so a line end can fall between two reads): the one
// in-memory stream of the tests, the fakes and the fuzz targets.
#pragma once
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace orv::support {

class TextStream : public platform::ByteStream {
  public:
    explicit TextStream(std::string text, std::size_t piece = 4096)
        : text_(std::move(text)), piece_(piece) {}
    std::size_t Read(char* dest, std::size_t count) override {
        const std::size_t n = std::min({count, piece_, text_.size() - at_});
        std::copy_n(text_.data() + at_, n, dest);
        at_ += n;
        return n;
    }

  private:
    std::string text_;
    std::size_t piece_;
    std::size_t at_ = 0;
};

} // namespace orv::support
