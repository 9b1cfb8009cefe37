#include "common/runtime_error.h"

namespace orv {

RuntimeError InvalidProcedureCall() {
    return {5, "Invalid procedure call or argument"};
}
RuntimeError Overflow() {
    return {6, "Overflow"};
}
RuntimeError TypeMismatch() {
    return {13, "Type mismatch"};
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
RuntimeError PathNotFound() {
    return {76, "Path not found"};
}
RuntimeError PermissionDenied() {
    return {70, "Permission denied"};
}

} // namespace orv
