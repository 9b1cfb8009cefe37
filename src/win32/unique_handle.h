// One RAII template for every Windows handle the program holds, so the
// clean-up rule lives in one place, plus the guards that put back what a
// call changed (painting, device contexts, selected objects, COM). Move-only:
// a copy would release twice. A handle type's "none" values (null, and
// INVALID_HANDLE_VALUE for files and searches) all count as empty.
#pragma once
#include <windows.h>

#include <objbase.h>

#include <memory>
#include <utility>

namespace orv::win32 {

// Traits: `Handle`, `Valid(h)` and `Close(h)`. The close function is the
// system's own (its result is of no use at clean-up).
template <typename Traits> class unique_any {
  public:
    using Handle = typename Traits::Handle;
    unique_any() = default;
    explicit unique_any(Handle h) noexcept : h_(Traits::Valid(h) ? h : Handle{}) {}
    unique_any(unique_any&& other) noexcept : h_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    ~unique_any() { reset(); }

    Handle get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Handle{}; }
    Handle release() noexcept { return std::exchange(h_, Handle{}); }
    void reset(Handle h = Handle{}) noexcept {
        const Handle old = std::exchange(h_, Traits::Valid(h) ? h : Handle{});
        if (old != Handle{}) Traits::Close(old);
    }

  private:
    Handle h_{};
};

template <typename H, auto CloseFn> struct NullTraits {
    using Handle = H;
    static bool Valid(H h) noexcept { return h != H{}; }
    static void Close(H h) noexcept { CloseFn(h); }
};

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
using unique_hmodule = unique_any<NullTraits<HMODULE, FreeLibrary>>;

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

// COM for the current thread, for the lifetime of the guard.
class ComApartment {
  public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    HRESULT hr_;
};

} // namespace orv::win32
