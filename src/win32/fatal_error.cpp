#include "win32/fatal_error.h"

#include <windows.h>

#include <exception>
#include <string>

#include "common/app_title.h"
#include "win32/session.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {
Win32Session* sessionToRestore = nullptr;
}

void SetSessionToRestore(Win32Session* session) noexcept {
    sessionToRestore = session;
}

void ShowRunTimeError(const RuntimeError& error) noexcept {
    try {
        const std::string text =
            "Run-time error '" + std::to_string(error.Number()) + "':\r\r" + error.Description();
        MessageBoxW(nullptr, Wide(text).c_str(), Wide(kAppTitle).c_str(),
                    MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    } catch (...) {
        MessageBoxW(nullptr, L"Run-time error", L"Orvandel", MB_OK | MB_ICONERROR);
    }
}

void ReportFatal(const RuntimeError& error) noexcept {
    if (sessionToRestore) sessionToRestore->Restore();
    ShowRunTimeError(error);
    ExitProcess(static_cast<UINT>(error.Number()));
}

void ReportFatalCurrentException() noexcept {
    try {
        throw;
    } catch (const RuntimeError& error) {
        ReportFatal(error);
    } catch (const std::exception& error) {
        ReportFatal(InternalError(error.what()));
    } catch (...) {
        ReportFatal(InternalError(""));
    }
}

} // namespace orv::win32
