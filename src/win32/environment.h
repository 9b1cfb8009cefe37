// The program's command line, folder and version, and the Windows folder.
#pragma once
#include "platform/environment.h"

namespace orv::win32 {

class Win32Environment : public platform::Environment {
  public:
    std::string ArgumentText() const override;
    std::string ProgramFolder() const override;
    std::string WindowsDirectory() const override;
    platform::Version ProgramVersion() const override;
};

// Full path of the running program file.
std::wstring ProgramFile();

} // namespace orv::win32
