// modScreenSaver: the entry procedure Main and the state it leaves behind for
// the rest of the program (the screen-saver object and the Windows folder).
#pragma once
#include <memory>
#include <string>

#include "platform/platform.h"
#include "saver/cls_pic_ss.h"

namespace orv {

struct modScreenSaver {
    std::unique_ptr<clsPicSS> objPicSS;
    std::string strWinDir;
};

// Fills the screen-saver object from the settings store, records the Windows
// folder and starts the mode that the command line asks for. Run-time errors
// (a stored number out of range, a bad handle after "/a") propagate.
void Main(platform::Platform& platform, modScreenSaver& module);

} // namespace orv
