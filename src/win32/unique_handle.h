// The Windows handles the program holds, each an alias of the one RAII
// template (common/unique_resource.h) with its clean-up rule, plus the guards
// that put back what a call changed (painting, device contexts, selected
// objects, COM). A handle type's "none" values (null, and
// INVALID_HANDLE_VALUE for files and searches) all count as empty.
#pragma once
#include <windows.h>

#include <objbase.h>

#include <cstdint>
#include <memory>

#include "common/unique_resource.h"

namespace orv::win32 {

// A window whose handle travels as a number (on the command line, or through
// the core's interfaces).
inline HWND WindowOf(std::intptr_t handle) {
    return reinterpret_cast<HWND>(handle);
}

template <auto CloseFn> struct FileTraits {
    using Handle = HANDLE;
    static bool Valid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { CloseFn(h); }
};

using unique_hkey = unique_any<NullTraits<HKEY, RegCloseKey>>;
using unique_find = unique_any<FileTraits<FindClose>>;
using unique_file = unique_any<FileTraits<CloseHandle>>;
using unique_handle = unique_any<NullTraits<HANDLE, CloseHandle>>;
using unique_hbitmap = unique_any<NullTraits<HBITMAP, DeleteObject>>;
using unique_hfont = unique_any<NullTraits<HFONT, DeleteObject>>;
using unique_hbrush = unique_any<NullTraits<HBRUSH, DeleteObject>>;
using unique_hdc = unique_any<NullTraits<HDC, DeleteDC>>;
using unique_hwnd = unique_any<NullTraits<HWND, DestroyWindow>>;

// A COM interface pointer released on scope exit.
struct ComReleaser {
    void operator()(IUnknown* p) const noexcept { p->Release(); }
};
template <typename T> using com_ptr = std::unique_ptr<T, ComReleaser>;

// Memory the shell or COM handed over, freed with CoTaskMemFree.
struct CoTaskMemFreer {
    void operator()(void* p) const noexcept { CoTaskMemFree(p); }
};
template <typename T> using unique_cotaskmem = std::unique_ptr<T, CoTaskMemFreer>;

// Restores the object that was selected into a DC before.
class SelectGuard {
  public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectGuard() { SelectObject(dc_, old_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// BeginPaint and EndPaint.
class PaintGuard {
  public:
    explicit PaintGuard(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintGuard() { EndPaint(hwnd_, &ps_); }
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;
    HDC Dc() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

  private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// A window's (or, for null, the screen's) device context, released again.
class WindowDc {
  public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// COM for the current thread, for the lifetime of the guard: a
// single-threaded apartment, or for a worker that pumps no messages the
// multithreaded one.
class ComApartment {
  public:
    explicit ComApartment(COINIT model = COINIT_APARTMENTTHREADED)
        : hr_(CoInitializeEx(nullptr, model)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    HRESULT hr_;
};

} // namespace orv::win32
