// Test driver: finds top-level windows by title, reads texts and rectangles,
// presses buttons and closes windows of another process. Every command
// prints its answer on stdout as UTF-8 and exits 0 on success, 1 when the
// window was not found in time, 2 on a usage error.
//
//   driver wait TITLE [SECONDS]          handle of a visible top-level window
//   driver gone TITLE [SECONDS]          exits 0 once no such window exists
//   driver text TITLE                    the window's text (CR and LF as \r, \n)
//   driver msgbox TITLE [SECONDS]        the message text of a message box
//   driver icon TITLE                    the message box's icon kind (info, warning,
//                                        error, question, none)
//   driver click TITLE BUTTON            presses the child button with that caption
//   driver close TITLE                   asks the window to close
//   driver rect TITLE                    client area in screen pixels: x y width height
//   driver children TITLE                one line per child: class id visible x y w h "text"
//   driver focus TITLE                   control id and class of the focused control
//   driver settext TITLE ID TEXT         sets a child control's text
//   driver clickid TITLE ID              presses the child button with that control id
//   driver itemtext TITLE ID             the text of the child control with that id
//   driver host WIDTH HEIGHT SECONDS [unaware]  a host window for previews (DPI
//                                        unaware if asked): prints its handle, lives
//                                        SECONDS, then destroys itself
//   driver activate SECONDS              the same for a window of "another program" that
//                                        takes the foreground
//   driver send TITLE MESSAGE COUNT      sends the message (a number) COUNT times
//   driver pagedown TITLE X Y COUNT      presses Page Down COUNT times, each once the
//                                        screen's pixel at X, Y changed after the one
//                                        before; prints the milliseconds of each (-1
//                                        when it did not change within 3 s)
//   driver closekey TITLE X Y            types a character into the window and prints the
//                                        milliseconds until the screen's pixel at X, Y
//                                        changed (-1 when not within 5 s)
//   driver displaypower TITLE STATE      tells the window the displays went off (0) or on
//                                        (1), as the system's power notification does
//   driver foreground                    class and title of the foreground window
//   driver desktop                       the desktop window's handle
//   driver saverrunning                  1 while the screen-saver running flag is set, else 0
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring TextOf(HWND w) {
    wchar_t buffer[8192] = {};
    SendMessageTimeoutW(w, WM_GETTEXT, 8192, (LPARAM)buffer, SMTO_ABORTIFHUNG, 2000, nullptr);
    return buffer;
}

std::string Escaped(const std::wstring& w) {
    std::string out;
    for (char c : Utf8(w)) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

struct Search {
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK FindTop(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    if (IsWindowVisible(w) && TextOf(w) == s->title) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND Find(const std::wstring& title) {
    Search s{title};
    EnumWindows(FindTop, (LPARAM)&s);
    return s.found;
}

HWND WaitFor(const std::wstring& title, double seconds) {
    const ULONGLONG end = GetTickCount64() + (ULONGLONG)(seconds * 1000);
    for (;;) {
        if (HWND w = Find(title)) return w;
        if (GetTickCount64() > end) return nullptr;
        Sleep(50);
    }
}

struct ChildSearch {
    std::wstring text;
    HWND found = nullptr;
};

BOOL CALLBACK FindChild(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<ChildSearch*>(p);
    if (TextOf(w) == s->text) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK PrintChild(HWND w, LPARAM top) {
    wchar_t cls[256] = {};
    GetClassNameW(w, cls, 256);
    RECT r{};
    GetWindowRect(w, &r);
    POINT origin{0, 0};
    ClientToScreen((HWND)top, &origin);
    std::printf("%s %d %d %ld %ld %ld %ld \"%s\"\n", Utf8(cls).c_str(), GetDlgCtrlID(w),
                IsWindowVisible(w) ? 1 : 0, r.left - origin.x, r.top - origin.y, r.right - r.left,
                r.bottom - r.top, Escaped(TextOf(w)).c_str());
    return TRUE;
}

BOOL CALLBACK FindMessageText(HWND w, LPARAM p) {
    if (GetDlgCtrlID(w) == 0xFFFF) {
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        if (lstrcmpiW(cls, L"Static") == 0 && !TextOf(w).empty()) {
            *reinterpret_cast<HWND*>(p) = w;
            return FALSE;
        }
    }
    return TRUE;
}

// Icon handles are per process, so the icon on screen is compared, pixel by
// pixel, with each stock icon drawn on the same background.
std::vector<COLORREF> Grab(HDC dc, int size) {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    return pixels;
}

const char* IconKind(HWND control) {
    const int size = 32;
    RECT wr{};
    GetWindowRect(control, &wr);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = SelectObject(dc, bmp);
    BitBlt(dc, 0, 0, size, size, screen, wr.left, wr.top, SRCCOPY);
    const std::vector<COLORREF> shown = Grab(dc, size);
    const struct {
        LPCWSTR id;
        const char* name;
    } kinds[] = {{IDI_ASTERISK, "info"},
                 {IDI_EXCLAMATION, "warning"},
                 {IDI_HAND, "error"},
                 {IDI_QUESTION, "question"}};
    const char* best = "none";
    std::size_t bestSame = shown.size() * 9 / 10; // at least 90 % alike
    for (const auto& k : kinds) {
        HBRUSH background = CreateSolidBrush(shown[0]);
        RECT r{0, 0, size, size};
        FillRect(dc, &r, background);
        DeleteObject(background);
        DrawIconEx(dc, 0, 0, LoadIconW(nullptr, k.id), size, size, 0, nullptr, DI_NORMAL);
        const std::vector<COLORREF> drawn = Grab(dc, size);
        std::size_t same = 0;
        for (std::size_t i = 0; i < drawn.size(); ++i)
            same += drawn[i] == shown[i];
        if (same > bestSame) bestSame = same, best = k.name;
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return best;
}

LRESULT CALLBACK HostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_TIMER) {
        DestroyWindow(w);
        return 0;
    }
    if (m == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

// A window of our own with the given title and client size: prints its
// handle, lives SECONDS, then destroys itself. "unaware" makes it DPI unaware,
// "foreground" makes it take the foreground as another program's would.
int OwnWindow(const wchar_t* title, int width, int height, double seconds,
              const std::wstring& mode) {
    using SetAwarenessFn = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
    const auto set = reinterpret_cast<SetAwarenessFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
    if (mode == L"unaware" && set) set(DPI_AWARENESS_CONTEXT_UNAWARE);
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"OrvandelTestHost";
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    RegisterClassW(&wc);
    RECT r{0, 0, width, height};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    HWND w =
        CreateWindowW(L"OrvandelTestHost", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                      r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    if (mode == L"foreground") SetForegroundWindow(w);
    std::printf("%lld\n", (long long)(INT_PTR)w);
    std::fflush(stdout);
    SetTimer(w, 1, (UINT)(seconds * 1000), nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}

// Posts MESSAGE with WPARAM to the window and returns the milliseconds until
// the screen's pixel at X, Y changed, or -1 when it did not within LIMIT ms.
double PixelChangeAfter(HWND w, UINT message, WPARAM wp, int x, int y, double limit) {
    HDC screen = GetDC(nullptr);
    LARGE_INTEGER frequency{}, start{}, now{};
    QueryPerformanceFrequency(&frequency);
    const COLORREF before = GetPixel(screen, x, y);
    QueryPerformanceCounter(&start);
    PostMessageW(w, message, wp, 1);
    double ms = -1;
    for (;;) {
        QueryPerformanceCounter(&now);
        const double elapsed = (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
        if (GetPixel(screen, x, y) != before) {
            ms = elapsed;
            break;
        }
        if (elapsed > limit) break;
    }
    ReleaseDC(nullptr, screen);
    return ms;
}

int Usage() {
    std::fprintf(stderr, "usage: driver COMMAND ARGS (see the source)\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    const std::wstring cmd = argv[1];
    const auto arg = [&](int i) { return i < argc ? std::wstring(argv[i]) : std::wstring(); };
    const double wait = argc > 3 ? _wtof(argv[3]) : 5.0;

    if (cmd == L"host" && argc >= 5)
        return OwnWindow(L"Preview host", _wtoi(argv[2]), _wtoi(argv[3]), _wtof(argv[4]), arg(5));
    if (cmd == L"activate" && argc >= 3)
        return OwnWindow(L"Another program", 300, 200, _wtof(argv[2]), L"foreground");
    if (cmd == L"desktop") {
        std::printf("%lld\n",
                    static_cast<long long>(reinterpret_cast<INT_PTR>(GetDesktopWindow())));
        return 0;
    }
    if (cmd == L"saverrunning") {
        BOOL running = FALSE;
        SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
        std::printf("%d\n", running ? 1 : 0);
        return 0;
    }
    if (cmd == L"foreground") {
        HWND f = GetForegroundWindow();
        if (!f) return 1;
        wchar_t cls[256] = {};
        GetClassNameW(f, cls, 256);
        std::printf("%s \"%s\"\n", Utf8(cls).c_str(), Escaped(TextOf(f)).c_str());
        std::fflush(stdout);
        return 0;
    }
    if (cmd == L"gone") {
        const ULONGLONG end = GetTickCount64() + (ULONGLONG)(wait * 1000);
        while (Find(arg(2)))
            if (GetTickCount64() > end)
                return 1;
            else
                Sleep(50);
        return 0;
    }
    HWND w = WaitFor(arg(2), cmd == L"wait" || cmd == L"msgbox" ? wait : 5.0);
    if (!w) {
        std::fprintf(stderr, "no window titled \"%s\"\n", Utf8(arg(2)).c_str());
        return 1;
    }
    if (cmd == L"wait") {
        std::printf("%lld\n", (long long)(INT_PTR)w);
    } else if (cmd == L"text") {
        std::printf("%s\n", Escaped(TextOf(w)).c_str());
    } else if (cmd == L"msgbox") {
        HWND text = nullptr;
        EnumChildWindows(w, FindMessageText, (LPARAM)&text);
        if (!text) return 1;
        std::printf("%s\n", Escaped(TextOf(text)).c_str());
    } else if (cmd == L"icon") {
        // The icon control of a message box: id 20 on Windows, 1088 under Wine.
        HWND icon = GetDlgItem(w, 20);
        if (!icon) icon = GetDlgItem(w, 1088);
        const char* name = icon ? IconKind(icon) : "none";
        std::printf("%s\n", name);
    } else if (cmd == L"click" && argc >= 4) {
        ChildSearch s{arg(3)};
        EnumChildWindows(w, FindChild, (LPARAM)&s);
        if (!s.found) return 1;
        PostMessageW(s.found, BM_CLICK, 0, 0);
    } else if (cmd == L"close") {
        PostMessageW(w, WM_CLOSE, 0, 0);
    } else if (cmd == L"rect") {
        RECT r{};
        GetClientRect(w, &r);
        POINT p{0, 0};
        ClientToScreen(w, &p);
        std::printf("%ld %ld %ld %ld\n", p.x, p.y, r.right, r.bottom);
    } else if (cmd == L"children") {
        EnumChildWindows(w, PrintChild, (LPARAM)w);
    } else if (cmd == L"focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info) || !info.hwndFocus)
            return 1;
        wchar_t cls[256] = {};
        GetClassNameW(info.hwndFocus, cls, 256);
        std::printf("%d %s\n", GetDlgCtrlID(info.hwndFocus), Utf8(cls).c_str());
    } else if (cmd == L"clickid" && argc >= 4) {
        HWND child = GetDlgItem(w, _wtoi(argv[3]));
        if (!child) return 1;
        PostMessageW(child, BM_CLICK, 0, 0);
    } else if (cmd == L"itemtext" && argc >= 4) {
        HWND child = GetDlgItem(w, _wtoi(argv[3]));
        if (!child) return 1;
        std::printf("%s\n", Escaped(TextOf(child)).c_str());
    } else if (cmd == L"send" && argc >= 5) {
        // send TITLE MESSAGE COUNT: the message (a number), sent COUNT times
        // and each answered before the next.
        for (int i = 0; i < _wtoi(argv[4]); ++i)
            SendMessageW(w, static_cast<UINT>(_wtoi(argv[3])), 32, MAKELPARAM(1024, 768));
    } else if (cmd == L"pagedown" && argc >= 6) {
        for (int i = 0; i < _wtoi(argv[5]); ++i)
            std::printf("%.1f\n", PixelChangeAfter(w, WM_KEYDOWN, VK_NEXT, _wtoi(argv[3]),
                                                   _wtoi(argv[4]), 3000));
    } else if (cmd == L"closekey" && argc >= 5) {
        std::printf("%.1f\n",
                    PixelChangeAfter(w, WM_CHAR, 'x', _wtoi(argv[3]), _wtoi(argv[4]), 5000));
    } else if (cmd == L"displaypower" && argc >= 4) {
        // The display-state notice, in the receiving process as the system's is.
        struct {
            GUID setting;
            DWORD length, state;
        } notice{{0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}},
                 sizeof(DWORD),
                 static_cast<DWORD>(_wtoi(argv[3]))};
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
        void* remote = process ? VirtualAllocEx(process, nullptr, sizeof notice,
                                                MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)
                               : nullptr;
        if (!remote || !WriteProcessMemory(process, remote, &notice, sizeof notice, nullptr))
            return 1;
        SendMessageW(w, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, (LPARAM)remote);
        CloseHandle(process);
    } else if (cmd == L"settext" && argc >= 5) {
        HWND child = GetDlgItem(w, _wtoi(argv[3]));
        if (!child) return 1;
        SendMessageW(child, WM_SETTEXT, 0, (LPARAM)argv[4]);
    } else {
        return Usage();
    }
    std::fflush(stdout);
    return 0;
}
