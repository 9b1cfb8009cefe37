// Run-time errors: one exception type carrying the classic error number and
// its description, the factories for every error the program raises, and
// the text of the box that reports one.
//
// Error policy
// - Only the run-time errors the program reports are thrown, always as a
//   RuntimeError made by a factory below; std::bad_alloc may escape too.
// - Failures a caller handles come back as values: a picture that cannot be
//   read, a missing file, a cancelled picker, a refused settings write or a
//   file that cannot be opened for reading (std::optional<RuntimeError>) are
//   optional, bool or empty results. A platform error code becomes a
//   RuntimeError through FromSystemError, so the user reads what really
//   failed.
// - Memory exhaustion while one picture is decoded is that picture's failure;
//   anywhere else it is fatal like any other exception.
// - Exceptions are caught in these places only:
//   - where a message box is called for (the preview's host handle);
//   - at the edge of every thread of ours and of every background job (the
//     job runners, the serial job queue, the show's jobs, the threads a
//     preparation or a picture shares its work with), which report the
//     failure as the job's result;
//   - where a helper thread (or its buffers) cannot be had: the work goes on
//     without it;
//   - at the edge of one picture: the decoders' and the scaler's entry points
//     and the picture's (imaging::OpenPicture, Picture::RenderInto, the
//     Windows picture file), which report its failure as nothing or false;
//     a part of a picture that it can do without (its colour profile or
//     conversion) fails alone, and the picture is shown untagged;
//   - at the C callbacks of libjpeg, which no exception may cross;
//   - at the entry point, and at every Windows callback edge (the window
//     base's procedures, subclassed controls, enumeration callbacks), which
//     never let one unwind into the system.
// - What reaches the entry point or a callback edge is fatal: the fatal
//   handler (win32/fatal_error.h) stops our windows' timers and input, puts
//   the desktop back (the screen-saver running flag and the cursor), shows
//   the box (FatalBoxText) and ends the program with the error's number.
//   Anything that is not a RuntimeError is reported as error 51.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

namespace orv {

class RuntimeError : public std::runtime_error {
  public:
    RuntimeError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int Number() const noexcept { return number_; }
    std::string Description() const { return what(); }

  private:
    int number_;
};

// The errors this program raises, with their standard numbers and texts.
RuntimeError InvalidProcedureCall();                   // 5
RuntimeError Overflow();                               // 6
RuntimeError OutOfMemory();                            // 7
RuntimeError TypeMismatch();                           // 13
RuntimeError InternalError(const std::string& detail); // 51
RuntimeError BadFileNameOrNumber();                    // 52
RuntimeError FileNotFound();                           // 53
RuntimeError DeviceIOError();                          // 57
RuntimeError DiskFull();                               // 61
RuntimeError PermissionDenied();                       // 70
RuntimeError PathNotFound();                           // 76

// The run-time error for a platform error code (a Windows system error
// number): file and path not found, bad names, access denied, memory, a
// full disk and the registry's I/O failures by their own numbers; any other
// code as an internal error that names it.
RuntimeError FromSystemError(std::uint32_t code);

// The run-time error an exception stands for: itself, Out of memory for
// std::bad_alloc, any other as an internal error with its text. Called with
// the exception in flight (inside a catch).
RuntimeError CurrentRuntimeError();

// The text of the run-time error box: "Run-time error '<n>':", a blank line
// and the description.
std::string FatalBoxText(const RuntimeError& error);

} // namespace orv
