// Text from a call that fills a buffer and tells what it needed, in the
// manner of the system's functions: `fill(data, size)` returns the count of
// characters it wrote when they fit (less than `size`; 0 on failure), and
// otherwise a count of at least `size` (the size it needs, or `size` itself
// when it cannot tell). The buffer then grows to that, at least doubling, for
// a few tries: a text that keeps outgrowing it ends as nothing. Used by the
// Windows layer for paths of any length.
#pragma once
#include <algorithm>
#include <cstddef>
#include <string>

namespace orv {

template <class Char, class Fill>
std::basic_string<Char> FillGrowing(std::size_t size, const Fill& fill) {
    std::basic_string<Char> text(std::max<std::size_t>(size, 1), Char{});
    for (int tries = 0; tries < 8; ++tries) {
        const std::size_t n = fill(text.data(), text.size());
        if (n < text.size()) {
            text.resize(n);
            return text;
        }
        text.resize(std::max(n + 1, text.size() * 2));
    }
    return {};
}

} // namespace orv
