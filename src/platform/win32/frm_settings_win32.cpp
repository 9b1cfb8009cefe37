#include "platform/win32/frm_settings_win32.h"

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/runtime_error.h"
#include "platform/settings_view.h"
#include "platform/win32/display.h"
#include "platform/win32/pickers_win32.h"
#include "platform/win32/program_lifetime.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "settings/frm_settings.h"
#include "settings/settings_layout.h"

namespace orv::win32 {
namespace {

namespace layout = settings_layout;
using platform::SettingsField;

constexpr DWORD kWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kWindowExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
constexpr int kProgramIcon = 1;

std::optional<SettingsField> FieldOfId(int id) {
    switch (id) {
    case layout::kPicturesPath:
        return SettingsField::PicturesPath;
    case layout::kDisplayTime:
        return SettingsField::DisplayTime;
    case layout::kScalePercentage:
        return SettingsField::ScalePercentage;
    case layout::kMPEGFile:
        return SettingsField::MPEGFile;
    default:
        return std::nullopt;
    }
}

int IdOfField(SettingsField field) {
    switch (field) {
    case SettingsField::PicturesPath:
        return layout::kPicturesPath;
    case SettingsField::DisplayTime:
        return layout::kDisplayTime;
    case SettingsField::ScalePercentage:
        return layout::kScalePercentage;
    case SettingsField::MPEGFile:
        return layout::kMPEGFile;
    }
    return 0;
}

// Fields whose check may refuse to let the focus go.
bool IsCheckedField(int id) {
    return id == layout::kPicturesPath || id == layout::kScalePercentage || id == layout::kMPEGFile;
}

class SettingsDialog final : public platform::SettingsView {
  public:
    SettingsDialog(platform::Platform& platform, modScreenSaver& module, modAudio& audio)
        : music_(audio), form_(platform, module, *this, music_, pickers_) {}

    void Create();

    // platform::SettingsView
    void SetCaption(const std::string& text) override { SetWindowTextW(hwnd_, Wide(text).c_str()); }
    std::string Text(SettingsField field) const override {
        HWND control = GetDlgItem(hwnd_, IdOfField(field));
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        return Utf8(text);
    }
    void SetText(SettingsField field, const std::string& text) override {
        SetDlgItemTextW(hwnd_, IdOfField(field), Wide(text).c_str());
    }
    platform::CheckState ClockState() const override {
        switch (IsDlgButtonChecked(hwnd_, layout::kShowClock)) {
        case BST_CHECKED:
            return platform::CheckState::Checked;
        case BST_INDETERMINATE:
            return platform::CheckState::Grayed;
        default:
            return platform::CheckState::Unchecked;
        }
    }
    void SetClockState(platform::CheckState state) override {
        CheckDlgButton(hwnd_, layout::kShowClock,
                       state == platform::CheckState::Checked  ? BST_CHECKED
                       : state == platform::CheckState::Grayed ? BST_INDETERMINATE
                                                               : BST_UNCHECKED);
    }
    void SetTrackButtonsVisible(bool visible) override {
        ShowWindow(GetDlgItem(hwnd_, layout::kPrev), visible ? SW_SHOWNA : SW_HIDE);
        ShowWindow(GetDlgItem(hwnd_, layout::kNext), visible ? SW_SHOWNA : SW_HIDE);
    }
    void SelectAll(SettingsField field) override {
        SendDlgItemMessageW(hwnd_, IdOfField(field), EM_SETSEL, 0, -1);
    }
    void FocusField(SettingsField field) override {
        SendMessageW(hwnd_, WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(GetDlgItem(hwnd_, IdOfField(field))), TRUE);
    }
    void Unload() override {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    std::intptr_t WindowHandle() const override { return reinterpret_cast<std::intptr_t>(hwnd_); }

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR data) noexcept;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInit();
    void OnCommand(int id, int code, HWND control);
    // Runs the check of the focused field when the focus is about to move
    // to `target`; false when the field refuses to let it go.
    bool MayMoveFocusTo(HWND target);
    template <typename F> void Run(F&& handler);

    ModAudioMusic music_;
    Win32Pickers pickers_;
    frmSettings form_;
    HWND hwnd_ = nullptr;
    unique_hfont font_, boldFont_;
    int busy_ = 0; // > 0 while a handler runs (pickers and message boxes are modal inside)
};

// Dialogs that have been shown; kept until the program ends, so that no
// handler on the stack ever outlives its object.
std::vector<std::unique_ptr<SettingsDialog>>& Dialogs() {
    static std::vector<std::unique_ptr<SettingsDialog>> dialogs;
    return dialogs;
}

template <typename F> void SettingsDialog::Run(F&& handler) {
    ++busy_;
    try {
        handler();
    } catch (...) {
        ReportFatalCurrentException();
    }
    --busy_;
}

void SettingsDialog::Create() {
    // An empty in-memory template: the controls are created at load, where
    // the real twips per pixel are known.
    alignas(DWORD) WORD tmpl[32] = {};
    tmpl[0] = LOWORD(kWindowStyle);
    tmpl[1] = HIWORD(kWindowStyle);
    tmpl[2] = LOWORD(kWindowExStyle);
    tmpl[3] = HIWORD(kWindowExStyle);
    // cdit, x, y, cx, cy, menu and class stay 0; then the design-time title.
    const wchar_t title[] = L"Settings";
    for (std::size_t i = 0; i < std::size(title); ++i)
        tmpl[11 + i] = title[i];
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(tmpl),
                               nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
    if (!hwnd_) throw RuntimeError(7, "Out of memory");
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void SettingsDialog::OnInit() {
    const ScreenDpi dpi = GetScreenDpi();
    const double tppX = 1440.0 / dpi.x, tppY = 1440.0 / dpi.y;
    font_ = MakeUiFont(8.25, false, dpi.y);
    boldFont_ = MakeUiFont(8.25, true, dpi.y);
    const HINSTANCE instance = GetModuleHandleW(nullptr);

    HWND tooltip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance, nullptr);
    HWND frame = nullptr;
    // Created in Tab order: the dialog manager walks the controls in that order.
    for (const auto& c : layout::Controls()) {
        const wchar_t* cls = L"Button";
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (c.hiddenAtOpen ? 0 : WS_VISIBLE) |
                      (c.tabIndex >= 0 ? WS_TABSTOP : 0);
        DWORD exStyle = 0;
        switch (c.kind) {
        case layout::Kind::Frame:
            style |= BS_GROUPBOX;
            break;
        case layout::Kind::Label:
            cls = L"Static";
            style |= SS_NOPREFIX | (c.align == layout::Align::Right ? SS_RIGHT : SS_LEFT);
            break;
        case layout::Kind::TextField:
            cls = L"Edit";
            style |= ES_AUTOHSCROLL | (c.align == layout::Align::Right ? ES_RIGHT : ES_LEFT);
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case layout::Kind::CheckBox:
            style |= BS_3STATE;
            break;
        case layout::Kind::Button:
        case layout::Kind::SmallButton:
            style |= c.id == layout::kOk ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            break;
        }
        const auto r = layout::ToPixels(c, tppX, tppY);
        HWND control = CreateWindowExW(
            exStyle, cls, Wide(c.caption).c_str(), style, r.x, r.y, r.width, r.height, hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT,
                     reinterpret_cast<WPARAM>(c.kind == layout::Kind::SmallButton ? boldFont_.get()
                                                                                  : font_.get()),
                     FALSE);
        if (c.maxLength > 0)
            SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(c.maxLength), 0);
        if (c.kind == layout::Kind::Frame) frame = control;
        if (c.tabIndex >= 0 && c.id != layout::kCancel)
            SetWindowSubclass(control, ControlProc, 1, reinterpret_cast<DWORD_PTR>(this));
        if (*c.tooltip && tooltip) {
            std::wstring tip = Wide(c.tooltip);
            TTTOOLINFOW info{};
            info.cbSize = sizeof(info);
            info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            info.hwnd = hwnd_;
            info.uId = reinterpret_cast<UINT_PTR>(control);
            info.lpszText = tip.data();
            SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
    // The frame is drawn behind the controls it holds.
    if (frame)
        SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(hwnd_, DM_SETDEFID, layout::kOk, 0);

    const auto icon = [&](int metricX, int metricY) {
        return LoadImageW(instance, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON,
                          GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED);
    };
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon(SM_CXICON, SM_CYICON)));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(icon(SM_CXSMICON, SM_CYSMICON)));

    // Client area of the layout, centred on the screen.
    RECT outer{0, 0, layout::TwipsToPixels(layout::kClientWidth, tppX),
               layout::TwipsToPixels(layout::kClientHeight, tppY)};
    AdjustWindowRectEx(&outer, kWindowStyle, FALSE, kWindowExStyle);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    FormLoaded();
    Run([&] { form_.Form_Load(); });
    SetFocus(GetDlgItem(hwnd_, layout::kPicturesPath));
}

bool SettingsDialog::MayMoveFocusTo(HWND target) {
    HWND focus = GetFocus();
    if (!focus || focus == target || GetParent(focus) != hwnd_) return true;
    if (target == GetDlgItem(hwnd_, layout::kCancel)) return true;
    const int id = GetDlgCtrlID(focus);
    if (!IsCheckedField(id)) return true;
    bool accepted = true;
    Run([&] { accepted = form_.FocusMayLeave(*FieldOfId(id)); });
    if (!accepted && IsWindow(focus)) SetFocus(focus); // the message box may have moved it
    return accepted;
}

void SettingsDialog::OnCommand(int id, int code, HWND control) {
    if (const auto field = FieldOfId(id)) {
        if (code == EN_SETFOCUS) Run([&] { form_.GotFocus(*field); });
        return;
    }
    if (code != BN_CLICKED) return;
    if (id == layout::kCancel) { // Cancel, Esc: never checked
        Run([&] { form_.cmdCancel_Click(); });
        return;
    }
    // Enter and access keys can press a button while the focus is still in a
    // field: that field's check runs first, as for a click.
    HWND button = control ? control : GetDlgItem(hwnd_, id);
    if (!MayMoveFocusTo(button)) return;
    switch (id) {
    case layout::kShowClock: {
        // Grayed and unchecked go to checked, checked to unchecked.
        const bool checked = IsDlgButtonChecked(hwnd_, id) == BST_CHECKED;
        CheckDlgButton(hwnd_, id, checked ? BST_UNCHECKED : BST_CHECKED);
        break;
    }
    case layout::kOk:
        Run([&] { form_.cmdOk_Click(); });
        break;
    case layout::kSelectPath:
        Run([&] { form_.cmdSelectPath_Click(); });
        break;
    case layout::kSelectMPEGFile:
        Run([&] { form_.cmdSelectMPEGFile_Click(); });
        break;
    case layout::kPlay:
        Run([&] { form_.cmdPlay_Click(); });
        break;
    case layout::kStop:
        Run([&] { form_.cmdStop_Click(); });
        break;
    case layout::kPrev:
        Run([&] { form_.cmdPrev_Click(); });
        break;
    case layout::kNext:
        Run([&] { form_.cmdNext_Click(); });
        break;
    default:
        break;
    }
}

INT_PTR SettingsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_ACTIVATE:
        // Pickers and message boxes hand the activation back while a handler
        // runs; only a real activation makes fresh pickers.
        if (LOWORD(wParam) != WA_INACTIVE && busy_ == 0) Run([&] { form_.Form_Activate(); });
        return FALSE; // the dialog manager restores the focus
    case WM_CLOSE:
        Unload();
        return TRUE;
    case WM_DESTROY:
        Run([&] { form_.Form_Unload(); });
        hwnd_ = nullptr;
        FormUnloaded();
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK SettingsDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                            LPARAM lParam) noexcept {
    try {
        if (message == WM_INITDIALOG) {
            auto* self = reinterpret_cast<SettingsDialog*>(lParam);
            SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
            self->hwnd_ = hwnd;
            self->OnInit();
            return FALSE; // the focus is set already
        }
        auto* self = reinterpret_cast<SettingsDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        if (!self || !self->hwnd_) return FALSE;
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        ReportFatalCurrentException();
    }
}

LRESULT CALLBACK SettingsDialog::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<SettingsDialog*>(data);
    try {
        switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // A click that would take the focus from a refused field does nothing.
            if (!self->MayMoveFocusTo(hwnd)) return 0;
            break;
        case WM_GETDLGCODE: {
            // The checked fields take Tab themselves, so the check can run
            // before the focus moves.
            const auto* msg = reinterpret_cast<const MSG*>(lParam);
            if (IsCheckedField(GetDlgCtrlID(hwnd)) && msg &&
                (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) && msg->wParam == VK_TAB)
                return DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTTAB;
            break;
        }
        case WM_KEYDOWN:
            if (wParam == VK_TAB && IsCheckedField(GetDlgCtrlID(hwnd))) {
                HWND next = GetNextDlgTabItem(self->hwnd_, hwnd, GetKeyState(VK_SHIFT) < 0);
                if (next && next != hwnd && self->MayMoveFocusTo(next))
                    SendMessageW(self->hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == VK_TAB && IsCheckedField(GetDlgCtrlID(hwnd))) return 0;
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, ControlProc, 1);
            break;
        default:
            break;
        }
    } catch (...) {
        ReportFatalCurrentException();
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

void ShowSettingsDialog(platform::Platform& platform, modScreenSaver& module, modAudio& audio) {
    auto dialog = std::make_unique<SettingsDialog>(platform, module, audio);
    SettingsDialog& created = *dialog;
    Dialogs().push_back(std::move(dialog));
    created.Create();
}

} // namespace orv::win32
