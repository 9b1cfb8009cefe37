#include "common/errors.h"

#include <exception>
#include <new>

namespace orv {

RuntimeError InvalidProcedureCall() {
    return {5, "Invalid procedure call or argument"};
}
RuntimeError Overflow() {
    return {6, "Overflow"};
}
RuntimeError OutOfMemory() {
    return {7, "Out of memory"};
}
RuntimeError TypeMismatch() {
    return {13, "Type mismatch"};
}
RuntimeError InternalError(const std::string& detail) {
    return {51, detail.empty() ? "Internal error" : "Internal error: " + detail};
}
RuntimeError BadFileNameOrNumber() {
    return {52, "Bad file name or number"};
}
RuntimeError FileNotFound() {
    return {53, "File not found"};
}
RuntimeError DeviceIOError() {
    return {57, "Device I/O error"};
}
RuntimeError DiskFull() {
    return {61, "Disk full"};
}
RuntimeError PermissionDenied() {
    return {70, "Permission denied"};
}
RuntimeError PathNotFound() {
    return {76, "Path not found"};
}

RuntimeError FromSystemError(std::uint32_t code) {
    switch (code) {
    case 2: // ERROR_FILE_NOT_FOUND
        return FileNotFound();
    case 3: // ERROR_PATH_NOT_FOUND
        return PathNotFound();
    case 5:  // ERROR_ACCESS_DENIED
    case 32: // ERROR_SHARING_VIOLATION
    case 33: // ERROR_LOCK_VIOLATION
        return PermissionDenied();
    case 8:    // ERROR_NOT_ENOUGH_MEMORY
    case 14:   // ERROR_OUTOFMEMORY
    case 1450: // ERROR_NO_SYSTEM_RESOURCES
    case 1816: // ERROR_NOT_ENOUGH_QUOTA
        return OutOfMemory();
    case 112: // ERROR_DISK_FULL
        return DiskFull();
    case 123: // ERROR_INVALID_NAME
    case 161: // ERROR_BAD_PATHNAME
    case 206: // ERROR_FILENAME_EXCED_RANGE
        return BadFileNameOrNumber();
    case 1009: // ERROR_BADDB
    case 1010: // ERROR_BADKEY
    case 1011: // ERROR_CANTOPEN
    case 1012: // ERROR_CANTREAD
    case 1013: // ERROR_CANTWRITE
    case 1016: // ERROR_REGISTRY_IO_FAILED
    case 1117: // ERROR_IO_DEVICE
        return DeviceIOError();
    default:
        return InternalError("system error " + std::to_string(code));
    }
}

RuntimeError CurrentRuntimeError() {
    try {
        throw;
    } catch (const RuntimeError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    } catch (const std::exception& error) {
        return InternalError(error.what());
    } catch (...) {
        return InternalError("");
    }
}

std::string FatalBoxText(const RuntimeError& error) {
    return "Run-time error '" + std::to_string(error.Number()) + "':\r\r" + error.Description();
}

} // namespace orv
