// Measures the picture change and the folder listing and prints figures; it
// asserts nothing. bench/run generates the inputs and drives it.
//   picture_bench picture FILE DRAWN.bmp [RUNS]  a change: open, fit to the
//       screen, render and blit; against a bare full-size WIC decode and the
//       GDI+ decode + stretched DrawImage path; working set after the change
//       and its peak. Saves what was drawn to DRAWN.bmp.
//   picture_bench pair FILE1 FILE2 [RUNS]  two monitors of the screen's size
//       with different pictures: each picture's preparation (open and render)
//       alone, then both in a row and both at once on two threads.
//   picture_bench list FOLDER\ [RUNS]  ListFiles against a bare find loop.
//   picture_bench scans FILE [RUNS]  a JPEG drawn by our decoder at 1024 x 768
//       with the show's budget: the time, and the bytes moved through
//       scratch files and read from the file in a decode.
#include <windows.h>

#include <objidl.h> // before gdiplus.h, which needs it under WIN32_LEAN_AND_MEAN

#include <gdiplus.h>
#include <psapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "imaging/picture_decoder.h"
#include "win32/file_reader.h"
#include "win32/file_system.h"
#include "win32/picture_file.h"
#include "win32/scratch_file.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

using namespace orv::win32;

namespace {

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart * 1000.0 / frequency;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty()      ? 0
           : v.size() % 2 ? v[v.size() / 2]
                          : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double TimeOnce(const std::function<void()>& work) {
    const double t0 = Now();
    work();
    return Now() - t0;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
    return pmc;
}

double Mb(SIZE_T bytes) {
    return bytes / (1024.0 * 1024.0);
}

// The picture's place on the screen: fitted with its proportions kept.
RECT Fit(SIZE picture, int sw, int sh) {
    const double aspect = static_cast<double>(picture.cy) / picture.cx;
    if (static_cast<double>(sh) / sw > aspect) {
        const int h = static_cast<int>(picture.cy * (static_cast<double>(sw) / picture.cx) + 0.5);
        const int top = (sh - h) / 2;
        return {0, top, sw, top + h};
    }
    const int w = static_cast<int>(picture.cx * (static_cast<double>(sh) / picture.cy) + 0.5);
    const int left = (sw - w) / 2;
    return {left, 0, left + w, sh};
}

// Copies a rectangle of the window back and writes it as a 32-bit BMP.
bool SaveDrawn(HWND window, const RECT& r, const std::wstring& path) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const unique_hbitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib) return false;
    {
        const WindowDc windowDc(window);
        const unique_hdc memory(CreateCompatibleDC(windowDc.get()));
        const SelectGuard select(memory.get(), dib.get());
        BitBlt(memory.get(), 0, 0, w, h, windowDc.get(), r.left, r.top, SRCCOPY);
    }
    GdiFlush();
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(w) * h * 4;
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
    out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(w) * h * 4);
    return static_cast<bool>(out);
}

// The plainest full decode: every pixel in the decoder's own format.
void WicFullDecode(const std::wstring& path) {
    IWICImagingFactory* f = nullptr;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(&f));
    const com_ptr<IWICImagingFactory> factory(f);
    IWICBitmapDecoder* d = nullptr;
    if (!factory || FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                              WICDecodeMetadataCacheOnDemand, &d)))
        return;
    const com_ptr<IWICBitmapDecoder> decoder(d);
    IWICBitmapFrameDecode* fr = nullptr;
    if (FAILED(decoder->GetFrame(0, &fr))) return;
    const com_ptr<IWICBitmapFrameDecode> frame(fr);
    UINT w = 0, h = 0;
    WICPixelFormatGUID format{};
    frame->GetSize(&w, &h);
    frame->GetPixelFormat(&format);
    UINT bpp = 32;
    if (IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) bpp = 24;
    if (IsEqualGUID(format, GUID_WICPixelFormat8bppIndexed) ||
        IsEqualGUID(format, GUID_WICPixelFormat8bppGray))
        bpp = 8;
    const UINT stride = (w * bpp / 8 + 3) & ~3u;
    const std::size_t size = static_cast<std::size_t>(stride) * h;
    const auto pixels = std::make_unique_for_overwrite<BYTE[]>(size);
    frame->CopyPixels(nullptr, stride, static_cast<UINT>(size), pixels.get());
}

LRESULT CALLBACK WindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcW(w, m, wp, lp);
}

int BenchPicture(const std::wstring& path, const std::wstring& drawnPath, int runs) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"OrvandelPictureBench";
    RegisterClassW(&wc);
    const unique_hwnd window(CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"picture bench",
                                             WS_POPUP | WS_VISIBLE, 0, 0, sw, sh, nullptr, nullptr,
                                             wc.hInstance, nullptr));
    PumpMessages();
    const SIZE_T baseline = Memory().WorkingSetSize;

    // The show's change: the old picture goes first, then the new one is
    // opened, rendered at its screen size and drawn.
    ScaledBitmap current;
    RECT place{};
    SIZE natural{};
    std::vector<double> openTimes, renderTimes;
    const auto change = [&] {
        current = {};
        const double t0 = Now();
        const auto picture = PictureFile::Open(path);
        if (!picture) return;
        const orv::platform::PictureSize size = picture->NaturalSize();
        natural = {static_cast<LONG>(size.width), static_cast<LONG>(size.height)};
        place = Fit(natural, sw, sh);
        const double t1 = Now();
        current = picture->Draw(place.right - place.left, place.bottom - place.top);
        openTimes.push_back(t1 - t0);
        renderTimes.push_back(Now() - t1);
        if (!current) return;
        {
            const WindowDc windowDc(window.get());
            const unique_hdc memory(CreateCompatibleDC(windowDc.get()));
            const SelectGuard select(memory.get(), current.bitmap.get());
            BitBlt(windowDc.get(), place.left, place.top, current.width, current.height,
                   memory.get(), 0, 0, SRCCOPY);
        }
        GdiFlush();
    };
    const auto classicChange = [&] {
        Gdiplus::Bitmap bitmap(path.c_str());
        {
            const WindowDc windowDc(window.get());
            Gdiplus::Graphics graphics(windowDc.get());
            graphics.DrawImage(&bitmap, static_cast<INT>(place.left), static_cast<INT>(place.top),
                               static_cast<INT>(place.right - place.left),
                               static_cast<INT>(place.bottom - place.top));
        }
        GdiFlush();
    };

    // Our changes alone first, for the memory figures and the drawn picture.
    std::vector<double> ours;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(TimeOnce(change));
        PumpMessages();
    }
    if (!current) {
        std::printf("picture %ls: could not be opened or rendered\n", path.c_str());
        return 1;
    }
    Sleep(200);
    PumpMessages();
    const PROCESS_MEMORY_COUNTERS settled = Memory();
    SaveDrawn(window.get(), place, drawnPath);

    // Then the three paths in turn, so a busy moment of the machine falls on
    // all of them alike.
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartupInput startup;
    Gdiplus::GdiplusStartup(&gdiplusToken, &startup, nullptr);
    std::vector<double> wic, classic;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(TimeOnce(change));
        wic.push_back(TimeOnce([&] { WicFullDecode(path); }));
        classic.push_back(TimeOnce(classicChange));
        PumpMessages();
    }
    Gdiplus::GdiplusShutdown(gdiplusToken);

    const double o = Median(ours), w = Median(wic), c = Median(classic);
    std::printf("picture %ls\n", path.c_str());
    std::printf("  natural %ldx%ld, drawn %ldx%ld on a %dx%d screen, %d runs (ours %d)\n",
                natural.cx, natural.cy, place.right - place.left, place.bottom - place.top, sw, sh,
                runs, 2 * runs);
    std::printf("  change (open+render+blit) median %8.1f ms\n", o);
    std::printf("    of which open %.1f ms, render %.1f ms (medians)\n", Median(openTimes),
                Median(renderTimes));
    std::printf("  bare WIC full decode      median %8.1f ms   ratio %.2f (target <= 1.15)\n", w,
                o / w);
    std::printf("  GDI+ decode + DrawImage   median %8.1f ms   ratio %.2f (target <= 0.75)\n", c,
                o / c);
    std::printf("  working set: before %.1f MB, after the change settled %.1f MB (held by the "
                "change %.1f MB), "
                "peak during our changes %.1f MB\n",
                Mb(baseline), Mb(settled.WorkingSetSize), Mb(settled.WorkingSetSize) - Mb(baseline),
                Mb(settled.PeakWorkingSetSize));
    std::printf("  settled-bytes %zu\n", static_cast<std::size_t>(settled.WorkingSetSize));
    return 0;
}

// One monitor's preparation of a picture: open it and render it fitted to
// the screen. False when it cannot be opened or rendered.
bool Prepare(const std::wstring& path, int sw, int sh) {
    const auto picture = PictureFile::Open(path);
    if (!picture) return false;
    const orv::platform::PictureSize size = picture->NaturalSize();
    const RECT place = Fit({static_cast<LONG>(size.width), static_cast<LONG>(size.height)}, sw, sh);
    return static_cast<bool>(picture->Draw(place.right - place.left, place.bottom - place.top));
}

int BenchPair(const std::wstring& first, const std::wstring& second, int runs) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    if (!Prepare(first, sw, sh) || !Prepare(second, sw, sh)) {
        std::printf("pair %ls, %ls: could not be opened or rendered\n", first.c_str(),
                    second.c_str());
        return 1;
    }
    // The four ways in turn, so a busy moment of the machine falls on all alike.
    std::vector<double> one, two, row, parallel;
    for (int i = 0; i < runs; ++i) {
        one.push_back(TimeOnce([&] { Prepare(first, sw, sh); }));
        two.push_back(TimeOnce([&] { Prepare(second, sw, sh); }));
        row.push_back(TimeOnce([&] {
            Prepare(first, sw, sh);
            Prepare(second, sw, sh);
        }));
        parallel.push_back(TimeOnce([&] {
            std::thread other([&] {
                const ComApartment com;
                Prepare(second, sw, sh);
            });
            Prepare(first, sw, sh);
            other.join();
        }));
    }
    const double a = Median(one), b = Median(two), slower = std::max(a, b);
    std::printf("pair %ls + %ls on two %dx%d monitors, %d runs\n", first.c_str(), second.c_str(),
                sw, sh, runs);
    std::printf("  one monitor (open+render) medians %.1f ms and %.1f ms\n", a, b);
    std::printf("  both in a row  median %8.1f ms   ratio to the slower one %.2f\n", Median(row),
                Median(row) / slower);
    std::printf("  both at once   median %8.1f ms   ratio to the slower one %.2f (target <= 1.3)\n",
                Median(parallel), Median(parallel) / slower);
    return 0;
}

int BenchList(const std::wstring& folder, int runs) {
    Win32FileSystem files;
    const std::string utf8 = Utf8(folder);
    std::size_t ourCount = 0, bareCount = 0;
    std::vector<double> ours, bare;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(TimeOnce([&] { ourCount = files.ListFiles(utf8).size(); }));
        bare.push_back(TimeOnce([&] {
            bareCount = 0;
            WIN32_FIND_DATAW data;
            const unique_find find(FindFirstFileExW((folder + L"*.*").c_str(), FindExInfoBasic,
                                                    &data, FindExSearchNameMatch, nullptr,
                                                    FIND_FIRST_EX_LARGE_FETCH));
            if (!find) return;
            do {
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++bareCount;
            } while (FindNextFileW(find.get(), &data));
        }));
    }
    const double o = Median(ours), b = Median(bare);
    std::printf("list %ls: %zu files (bare loop %zu), %d runs\n", folder.c_str(), ourCount,
                bareCount, runs);
    std::printf("  ListFiles median %8.1f ms, bare FindFirstFileEx loop median %8.1f ms, ratio "
                "%.2f (target <= 1.2)\n",
                o, b, o / b);
    return 0;
}

// A scratch file whose traffic is added up.
class CountedScratch final : public orv::imaging::ScratchFile {
  public:
    CountedScratch(std::unique_ptr<orv::imaging::ScratchFile> file, std::uint64_t& moved)
        : file_(std::move(file)), moved_(moved) {}
    bool Read(std::uint64_t offset, void* dest, std::size_t count) noexcept override {
        moved_ += count;
        return file_->Read(offset, dest, count);
    }
    bool Write(std::uint64_t offset, const void* source, std::size_t count) noexcept override {
        moved_ += count;
        return file_->Write(offset, source, count);
    }

  private:
    std::unique_ptr<orv::imaging::ScratchFile> file_;
    std::uint64_t& moved_;
};

int BenchScans(const std::wstring& path, int runs) {
    const std::unique_ptr<FileReader> file = FileReader::Open(path);
    if (!file) return 1;
    std::uint64_t read = 0, moved = 0;
    const orv::imaging::ByteReader counted{
        file->Size(), [&](std::uint64_t offset, std::uint8_t* dest, std::size_t count) {
            const std::size_t n = file->Read(offset, dest, count);
            read += n;
            return n;
        }};
    const auto info = orv::imaging::InspectPicture(counted);
    if (!info || info->decoder != orv::imaging::Decoder::Jpeg) return 1;
    const RECT box = Fit({info->upright.width, info->upright.height}, 1024, 768);
    const int w = box.right - box.left, h = box.bottom - box.top;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w) * h * 4);
    orv::imaging::DecodeBudget budget = PictureBudget();
    budget.scratch = [&moved]() -> std::unique_ptr<orv::imaging::ScratchFile> {
        std::unique_ptr<orv::imaging::ScratchFile> scratch = OpenScratchFile();
        if (!scratch) return nullptr;
        return std::make_unique<CountedScratch>(std::move(scratch), moved);
    };
    std::vector<double> times;
    bool drawn = true;
    read = 0;
    for (int i = 0; i < runs; ++i)
        times.push_back(TimeOnce([&] {
            drawn = orv::imaging::DecodePicture(counted, *info, w, h, pixels.data(),
                                                static_cast<std::size_t>(w) * 4, budget) &&
                    drawn;
        }));
    const double n = std::max(runs, 1);
    std::printf("%s: %dx%d drawn %dx%d %s, median %.0f ms\n", Utf8(path).c_str(),
                info->upright.width, info->upright.height, w, h, drawn ? "whole" : "REFUSED",
                Median(times));
    std::printf("  scratch-bytes %.0f a decode (%.1f MB); file read %.1f MB a decode (%.2f x its "
                "%.1f MB)\n",
                moved / n, Mb(static_cast<SIZE_T>(moved / n)), Mb(static_cast<SIZE_T>(read / n)),
                read / n / file->Size(), Mb(file->Size()));
    return drawn ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const ComApartment com;
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"picture" && argc >= 4)
        return BenchPicture(argv[2], argv[3], argc > 4 ? _wtoi(argv[4]) : 5);
    if (mode == L"pair" && argc >= 4)
        return BenchPair(argv[2], argv[3], argc > 4 ? _wtoi(argv[4]) : 5);
    if (mode == L"scans" && argc >= 3) return BenchScans(argv[2], argc > 3 ? _wtoi(argv[3]) : 3);
    if (mode == L"list" && argc >= 3) return BenchList(argv[2], argc > 3 ? _wtoi(argv[3]) : 5);
    std::fprintf(stderr,
                 "usage: picture_bench picture FILE DRAWN.bmp [RUNS] | pair FILE1 FILE2 [RUNS] | "
                 "list FOLDER\\ [RUNS]\n");
    return 2;
}
