// Desktop-wide services on Windows.
#pragma once
#include "platform/desktop.h"

namespace orv::win32 {

class Win32Desktop : public platform::Desktop {
public:
    void ShowCursor(bool show) override;
};

} // namespace orv::win32
