#include "common/errors.h"

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
RuntimeError PermissionDenied() {
    return {70, "Permission denied"};
}
RuntimeError PathNotFound() {
    return {76, "Path not found"};
}

} // namespace orv
