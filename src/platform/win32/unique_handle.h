// One RAII template for every Windows handle and COM object the program
// holds, so the clean-up rule lives in one place. Move-only: a copy would
// release twice.
#pragma once
#include <objbase.h>
#include <windows.h>

#include <memory>
#include <type_traits>

namespace orv::win32 {

template <auto Close> struct HandleCloser {
    template <typename H> void operator()(H h) const noexcept { Close(h); }
};

template <typename H, auto Close>
using unique_any = std::unique_ptr<std::remove_pointer_t<H>, HandleCloser<Close>>;

inline void CloseKey(HKEY key) noexcept {
    RegCloseKey(key);
}
// Find and file handles signal failure with INVALID_HANDLE_VALUE, not null.
inline void CloseFind(HANDLE h) noexcept {
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
}
inline void CloseFile(HANDLE h) noexcept {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}
inline void DeleteGdiObject(HGDIOBJ o) noexcept {
    DeleteObject(o);
}
inline void DeleteMemoryDc(HDC dc) noexcept {
    DeleteDC(dc);
}
inline void DestroyWnd(HWND w) noexcept {
    DestroyWindow(w);
}
inline void FreeLib(HMODULE m) noexcept {
    FreeLibrary(m);
}

using unique_hkey = unique_any<HKEY, CloseKey>;
using unique_find = unique_any<HANDLE, CloseFind>;
using unique_file = unique_any<HANDLE, CloseFile>;
using unique_hbitmap = unique_any<HBITMAP, DeleteGdiObject>;
using unique_hfont = unique_any<HFONT, DeleteGdiObject>;
using unique_hbrush = unique_any<HBRUSH, DeleteGdiObject>;
using unique_hdc = unique_any<HDC, DeleteMemoryDc>;
using unique_hwnd = unique_any<HWND, DestroyWnd>;
using unique_hmodule = unique_any<HMODULE, FreeLib>;

// A COM interface pointer released on scope exit.
struct ComReleaser {
    void operator()(IUnknown* p) const noexcept { p->Release(); }
};
template <typename T> using com_ptr = std::unique_ptr<T, ComReleaser>;

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
