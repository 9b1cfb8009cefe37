// Fuzz target for the command line: the switch and the window handle after
// it. A bad handle raises one of the three run-time errors, nothing else.
// Seeds: tests/fuzz/corpus/command_line/.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/command_line.h"
#include "common/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    orv::ClassifySwitch(text);
    try {
        orv::WindowHandleArgument(text);
    } catch (const orv::RuntimeError& e) {
        if (e.Number() != 5 && e.Number() != 6 && e.Number() != 13) __builtin_trap();
    }
    return 0;
}
