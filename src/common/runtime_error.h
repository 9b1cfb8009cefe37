// Run-time errors: one exception type carrying the classic error number and
// its description. The entry point and the few places that report errors in a
// message box catch it; everything else lets it pass.
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
RuntimeError InvalidProcedureCall(); // 5
RuntimeError Overflow();             // 6
RuntimeError TypeMismatch();         // 13
RuntimeError BadFileNameOrNumber();  // 52
RuntimeError FileNotFound();         // 53
RuntimeError PathNotFound();         // 76
RuntimeError DeviceIOError();        // 57
RuntimeError PermissionDenied();     // 70

} // namespace orv
