// What the program learns about itself and the system at start-up.
#pragma once
#include <string>

namespace orv::platform {

struct Version {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

class Environment {
  public:
    virtual ~Environment() = default;
    // The command line after the program's own file name, as one text.
    virtual std::string ArgumentText() const = 0;
    // Folder of the program file, no trailing backslash unless a drive root.
    virtual std::string ProgramFolder() const = 0;
    // The Windows directory; empty when the platform cannot tell.
    virtual std::string WindowsDirectory() const = 0;
    // The program's own version information.
    virtual Version ProgramVersion() const = 0;
};

} // namespace orv::platform
