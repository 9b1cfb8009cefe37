// Run-time errors: one exception type carrying the classic error number and
// its description, and the factories for every error the program raises.
//
// Error policy
// - Only the run-time errors that the program reports are thrown, always as a
//   RuntimeError made by a factory below. A std::bad_alloc may escape too.
// - Failures a caller handles come back as values: a picture that cannot be
//   read, a missing file, a cancelled picker, a refused write are optional,
//   bool or empty results. Platform services throw only where they say so.
// - Exceptions are caught in three kinds of place only: where a message box
//   is called for (the preview's host handle, a playlist that cannot be
//   read, settings that cannot be saved, a number that does not fit a
//   field), at the entry point, and at every Windows callback edge (window
//   and dialog procedures, timers, notifications), which never let one
//   unwind into the system.
// - What reaches the entry point or a callback edge is fatal: the fatal
//   handler (win32/fatal_error.h) puts the desktop back (the screen-saver
//   running flag and the cursor), shows the run-time error box and ends the
//   program with the error's number. Anything that is not a RuntimeError is
//   reported as error 51.
#pragma once
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
RuntimeError PermissionDenied();                       // 70
RuntimeError PathNotFound();                           // 76

} // namespace orv
