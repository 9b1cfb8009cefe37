// One shape for every window of ours. The window owns its object: Create and
// CreateModeless hand it over (WM_NCCREATE or WM_INITDIALOG ties it to the
// window). After WM_NCDESTROY the object is deleted as soon as none of its handlers is
// on the stack; a failed creation deletes it only if the window never took it.
// Every message goes to OnMessage; what escapes takes the fatal path, and
// once that has begun no message reaches the object and its timers stop.
#pragma once
#include <windows.h>

#include <memory>

namespace orv::win32 {

class WindowBase {
  public:
    virtual ~WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    // The window, or null before it is tied and once it is gone.
    HWND Handle() const { return hwnd_; }

    // Registers a window class whose windows run through the base, once,
    // with the arrow cursor or none, and no background brush.
    static void RegisterClassOnce(const wchar_t* name, bool arrowCursor = false);
    // Creates a window of such a class, or (CreateModeless) a modeless dialog from a
    // template, owning `self`. Throws the system's reason when it fails.
    static HWND Create(std::unique_ptr<WindowBase> self, DWORD exStyle, const wchar_t* className,
                       const wchar_t* title, DWORD style, const RECT& area, HWND parent);
    static HWND CreateModeless(std::unique_ptr<WindowBase> self, const DLGTEMPLATE& dialog,
                               HWND owner);

  protected:
    WindowBase() = default;
    // One message. For a dialog: TRUE when handled, FALSE for the dialog
    // manager.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // What an unhandled message gives: the default window procedure, or
    // FALSE in a dialog.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    enum class Kind { Window, Dialog };
    struct CreateParams;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    static void Attach(HWND hwnd, WindowBase* self, Kind kind);
    static HWND Created(HWND hwnd, const CreateParams& params);
    static LRESULT Dispatch(WindowBase* self, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    HWND hwnd_ = nullptr;
    Kind kind_ = Kind::Window;
    int depth_ = 0;          // handlers of this object on the stack
    bool destroyed_ = false; // WM_NCDESTROY has come
};

} // namespace orv::win32
