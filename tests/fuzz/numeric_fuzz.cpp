// Fuzz target for the number reading rule (stored and typed settings) and
// the 16-bit conversion: no text may crash them, and a value that converts
// is in range. Seeds: tests/fuzz/corpus/numeric/.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/errors.h"
#include "common/numeric.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double read = orv::ReadNumber(text);
    if (const auto value = orv::TryToInt16(read))
        if (*value != orv::RoundHalfEven(read)) __builtin_trap();
    if (const auto parsed = orv::ParseNumber(text)) {
        try {
            orv::ToInt32(text);
        } catch (const orv::RuntimeError& e) {
            if (e.Number() != 6) __builtin_trap(); // only an overflow
        }
    }
    return 0;
}
