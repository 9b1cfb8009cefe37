// The program's command line, folder, version, the Windows folder, and the
// platform's screen-saver password change.
#pragma once
#include "platform/environment.h"

namespace orv::win32 {

class Win32Environment : public platform::Environment {
  public:
    std::string ArgumentText() const override;
    std::string ProgramFolder() const override;
    std::string WindowsDirectory() const override;
    platform::Version ProgramVersion() const override;
    void ChangePassword(std::int32_t owner) override;
};

// Full path of the running program file.
std::wstring ProgramFile();

} // namespace orv::win32
