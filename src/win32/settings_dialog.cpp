#include "win32/settings_dialog.h"

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/settings_view.h"
#include "settings/settings_form.h"
#include "settings/settings_layout.h"
#include "win32/display.h"
#include "win32/fatal_error.h"
#include "win32/message_loop.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"
#include "win32/window_base.h"

namespace orv::win32 {
namespace {

namespace layout = settings;
using platform::SettingsControl;
using settings::SettingsForm;

constexpr DWORD kWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kWindowExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
constexpr int kProgramIcon = 1;

int IdOf(SettingsControl control) {
    return layout::Find(control).id;
}

std::optional<SettingsControl> ControlOfId(int id) {
    const layout::Control* c = layout::FindById(id);
    return c ? c->control : std::nullopt;
}

// The window's size for a client area of `client` pixels.
SIZE OuterSize(SIZE client) {
    RECT outer{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&outer, kWindowStyle, FALSE, kWindowExStyle);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

// The window class and styles of a control's look.
struct WindowKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};
WindowKind KindOf(const layout::ControlShape& shape) {
    const bool right = shape.rightAligned;
    switch (shape.look) {
    case layout::Look::GroupBox:
        return {L"Button", BS_GROUPBOX, 0};
    case layout::Look::Label:
        return {L"Static", static_cast<DWORD>(SS_NOPREFIX | (right ? SS_RIGHT : SS_LEFT)), 0};
    case layout::Look::Field:
        return {L"Edit", static_cast<DWORD>(ES_AUTOHSCROLL | (right ? ES_RIGHT : ES_LEFT)),
                WS_EX_CLIENTEDGE};
    case layout::Look::ThreeStateBox:
        return {L"Button", BS_3STATE, 0};
    case layout::Look::DefaultButton:
        return {L"Button", BS_DEFPUSHBUTTON, 0};
    default:
        return {L"Button", BS_PUSHBUTTON, 0};
    }
}

std::string ControlText(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
}

// What a message brings to a control that the form is asked about.
std::optional<settings::ControlInput> InputOf(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return settings::ControlInput::Click;
    case WM_GETDLGCODE:
        if (msg && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) && msg->wParam == VK_TAB)
            return settings::ControlInput::TabQuery;
        return std::nullopt;
    case WM_KEYDOWN:
        return wParam == VK_TAB ? std::optional(settings::ControlInput::Tab) : std::nullopt;
    case WM_CHAR:
        return wParam == VK_TAB ? std::optional(settings::ControlInput::TabCharacter)
                                : std::nullopt;
    default:
        return std::nullopt;
    }
}

class SettingsDialog final : public WindowBase, public platform::SettingsView {
  public:
    SettingsDialog(platform::Platform& platform, const saver::Settings& settings,
                   audio::MusicControl& music, platform::Pickers& pickers)
        : form_(platform, settings, *this, music, pickers) {}

    // Creates the dialog, which owns it from then on, and shows it.
    static void Show(std::unique_ptr<SettingsDialog> dialog);

    // platform::SettingsView
    void SetCaption(const std::string& text) override {
        SetWindowTextW(Handle(), Wide(text).c_str());
    }
    void SetText(SettingsControl field, const std::string& text) override {
        SetDlgItemTextW(Handle(), IdOf(field), Wide(text).c_str());
    }
    // A three-state box's states are numbered as the core's.
    static_assert(BST_UNCHECKED == 0 && BST_CHECKED == 1 && BST_INDETERMINATE == 2);
    void SetClockState(platform::CheckState state) override {
        CheckDlgButton(Handle(), IdOf(SettingsControl::ShowClock), static_cast<UINT>(state));
    }
    void SetTrackButtonsVisible(bool visible) override {
        for (SettingsControl c : {SettingsControl::Back, SettingsControl::Next})
            ShowWindow(GetDlgItem(Handle(), IdOf(c)), visible ? SW_SHOWNA : SW_HIDE);
    }
    void SelectAll(SettingsControl field) override {
        SendDlgItemMessageW(Handle(), IdOf(field), EM_SETSEL, 0, -1);
    }
    void Focus(SettingsControl control) override {
        SendMessageW(Handle(), WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(GetDlgItem(Handle(), IdOf(control))), TRUE);
    }
    void PutFocus(SettingsControl control) override {
        SetFocus(GetDlgItem(Handle(), IdOf(control)));
    }
    void Close() override {
        if (Handle()) DestroyWindow(Handle());
    }

  private:
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR data) noexcept;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnInit();
    void CreateControls();
    // Places the controls and sets their fonts for a monitor of `dpi` dots
    // per inch; the window's client size, in pixels, follows.
    SIZE LayOutControls(int dpi);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnCommand(int id, int code);
    std::optional<SettingsControl> ControlOf(HWND window) const {
        if (!window || GetParent(window) != Handle()) return std::nullopt;
        return ControlOfId(GetDlgCtrlID(window));
    }

    SettingsForm form_;
    unique_hfont font_, boldFont_;
};

void SettingsDialog::Show(std::unique_ptr<SettingsDialog> dialog) {
    // An empty in-memory template (no menu, the dialogs' class, the
    // design-time title): the controls are created at load, where the real
    // twips per pixel are known.
    const struct {
        alignas(DWORD) DLGTEMPLATE head;
        WORD menu, windowClass;
        wchar_t title[9];
    } tmpl{{kWindowStyle, kWindowExStyle, 0, 0, 0, 0, 0}, 0, 0, L"Settings"};
    const HWND hwnd = CreateModeless(std::move(dialog), tmpl.head, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
}

void SettingsDialog::CreateControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND tooltip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, instance, nullptr);
    HWND behind = nullptr;
    // Created in Tab order: the dialog manager walks the controls in that order.
    for (const auto& c : layout::Controls()) {
        const layout::ControlShape shape = layout::ShapeOf(c);
        const WindowKind kind = KindOf(shape);
        const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (shape.visible ? WS_VISIBLE : 0) |
                            (shape.tabStop ? WS_TABSTOP : 0) | kind.style;
        HWND control = CreateWindowExW(
            kind.exStyle, kind.className, Wide(c.caption).c_str(), style, 0, 0, 0, 0, Handle(),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        if (c.maxLength > 0)
            SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(c.maxLength), 0);
        if (shape.behind) behind = control;
        if (shape.asksForFocus)
            SetWindowSubclass(control, ControlProc, 1, reinterpret_cast<DWORD_PTR>(this));
        if (*c.tooltip && tooltip) {
            std::wstring tip = Wide(c.tooltip);
            TTTOOLINFOW info{};
            info.cbSize = sizeof(info);
            info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            info.hwnd = Handle();
            info.uId = reinterpret_cast<UINT_PTR>(control);
            info.lpszText = tip.data();
            SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
    if (behind)
        SetWindowPos(behind, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(Handle(), DM_SETDEFID, IdOf(SettingsControl::Ok), 0);
}

SIZE SettingsDialog::LayOutControls(int dpi) {
    const double tpp = TwipsPerPixel(dpi);
    unique_hfont font = MakeUiFont(8.25, false, dpi), boldFont = MakeUiFont(8.25, true, dpi);
    for (const auto& c : layout::Controls()) {
        HWND control = GetDlgItem(Handle(), c.id);
        const auto r = layout::ToPixels(c, tpp, tpp);
        SetWindowPos(control, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
        const HFONT used = layout::ShapeOf(c).boldFont ? boldFont.get() : font.get();
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(used), TRUE);
    }
    // Only now that no control holds them may the old fonts go.
    font_ = std::move(font);
    boldFont_ = std::move(boldFont);
    return {TwipsToPixels(layout::kClientWidth, tpp), TwipsToPixels(layout::kClientHeight, tpp)};
}

// Moved to a monitor of another scale: the controls and fonts are laid out
// for it, and the window takes the suggested place at the new client size.
void SettingsDialog::OnDpiChanged(int dpi, const RECT& suggested) {
    const SIZE outer = OuterSize(LayOutControls(dpi));
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, outer.cx, outer.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsDialog::OnInit() {
    CreateControls();
    const SIZE client = LayOutControls(WindowDpi(Handle()));

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto icon = [&](int metricX, int metricY) {
        return LoadImageW(instance, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON,
                          GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED);
    };
    SendMessageW(Handle(), WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(icon(SM_CXICON, SM_CYICON)));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(icon(SM_CXSMICON, SM_CYSMICON)));

    // Client area of the layout, centred on the screen.
    const SIZE outer = OuterSize(client);
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2, outer.cx, outer.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    WindowOpened();
    form_.Load(reinterpret_cast<std::intptr_t>(Handle()));
}

void SettingsDialog::OnCommand(int id, int code) {
    const auto control = ControlOfId(id);
    if (!control) return;
    if (code == EN_SETFOCUS) {
        form_.OnFieldFocused(*control);
        return;
    }
    if (code == EN_CHANGE) {
        form_.OnFieldChanged(*control, ControlText(GetDlgItem(Handle(), id)));
        return;
    }
    // Enter, Esc and access keys press a button while the focus may still be
    // in a field: the press is a move of the focus to the button.
    if (code == BN_CLICKED) form_.OnButtonPressed(*control, ControlOf(GetFocus()));
}

LRESULT SettingsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInit();
        return FALSE; // the focus is set already
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        Close();
        return TRUE;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_DESTROY:
        form_.OnUnload();
        WindowClosed();
        return TRUE;
    default:
        return Default(message, wParam, lParam);
    }
}

LRESULT CALLBACK SettingsDialog::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<SettingsDialog*>(data);
    if (FatalErrorShowing()) return DefSubclassProc(hwnd, message, wParam, lParam);
    try {
        if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, ControlProc, 1);
        const auto input = InputOf(message, wParam, lParam);
        const auto control = self->ControlOf(hwnd);
        if (input && control) {
            const HWND next =
                *input == settings::ControlInput::Tab
                    ? GetNextDlgTabItem(self->Handle(), hwnd, GetKeyState(VK_SHIFT) < 0)
                    : nullptr;
            switch (self->form_.OnControlInput(*control, *input, self->ControlOf(GetFocus()),
                                               self->ControlOf(next))) {
            case settings::ControlReply::Drop:
                return 0;
            case settings::ControlReply::WantTab:
                return DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTTAB;
            default:
                break;
            }
        }
    } catch (...) {
        ReportFatalCurrentException();
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

void ShowSettingsDialog(platform::Platform& platform, const saver::Settings& settings,
                        audio::MusicControl& music, platform::Pickers& pickers) {
    SettingsDialog::Show(std::make_unique<SettingsDialog>(platform, settings, music, pickers));
}

} // namespace orv::win32
