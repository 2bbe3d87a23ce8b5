// Time of one full repaint of a skinned frame: a window of the main window's
// size with a menu bar, skinned by the program's default skin, repainted by
// RedrawWindow(RDW_FRAME) and by WM_NCPAINT. Baselines from the same run:
// the platform's own frame paint of the same window unskinned, and one
// BitBlt of the window's size onto its window DC. The skinned frame is timed
// again after the window is told its DPI is 192 (WM_DPICHANGED, at twice the
// size): the skin's records at 200 % (goal: under 2 ms a repaint).
// Usage: form_bench [runs] [skin name]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "skin/form/winskinform.h"

using namespace srt;

namespace {

double Seconds() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (value(kernel) + value(user)) * 1e-7;
}

struct TTiming {
    double median = 0;  // ms of wall time
    double cpu = 0;     // ms of this process's processor time, on average
};

// One call's time, after a warm-up call. The processor time is less
// disturbed by other work on a shared machine than the wall time.
TTiming Measure(int runs, const std::function<void()>& work) {
    work();
    std::vector<double> times;
    const double cpuStart = ProcessCpuSeconds();
    for (int i = 0; i < runs; ++i) {
        const double start = Seconds();
        work();
        times.push_back((Seconds() - start) * 1e3);
    }
    const double cpu = (ProcessCpuSeconds() - cpuStart) * 1e3 / runs;
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return {times[runs / 2], cpu};
}

HMENU MakeMenu() {
    HMENU bar = CreateMenu();
    const wchar_t* titles[] = {L"&File", L"&Edit", L"&Shift", L"&View", L"&Help"};
    for (const wchar_t* title : titles) {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(popup, MF_STRING, 100, L"&Open...");
        AppendMenuW(popup, MF_STRING, 101, L"&Save");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
    }
    return bar;
}

HWND MakeWindow(const wchar_t* title) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FormBenchWindow";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc);
    RECT r{0, 0, 396, 470};  // the main window's client size
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, TRUE);
    HWND w = CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, 40, 40, r.right - r.left,
                             r.bottom - r.top, nullptr, MakeMenu(), wc.hInstance, nullptr);
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    UpdateWindow(w);
    Pump();
    return w;
}

void RedrawFrame(HWND w) { RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW); }

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(std::atoi(argv[1]), 5) : 200;
    const std::string skinName = argc > 2 ? argv[2] : "default";
    std::ifstream in(std::string(SRT_SKIN_DIR) + "/" + skinName + ".skn", std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ::TSkinData data{nullptr};
    if (!data.LoadFromBytes(std::move(bytes))) {
        std::fprintf(stderr, "form_bench: cannot load skin '%s'\n", skinName.c_str());
        return 1;
    }

    HWND plain = MakeWindow(L"Unskinned");
    RECT pr{};
    GetWindowRect(plain, &pr);
    const TTiming platform = Measure(runs, [&] { RedrawFrame(plain); });
    const TTiming blit = Measure(runs, [&] {
        HDC dc = GetWindowDC(plain);
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, pr.right - pr.left, pr.bottom - pr.top);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(dc, 0, 0, pr.right - pr.left, pr.bottom - pr.top, memory, 0, 0, SRCCOPY);
        GdiFlush();
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(plain, dc);
    });
    DestroyWindow(plain);
    Pump();

    TSkinManage manager;
    manager.AddSkinData(&data);
    manager.SetActive(true);
    UseFormSkins(manager);
    HWND w = MakeWindow(L"Subtitle re-timing - sample.srt");
    if (!manager.SkinWindow(reinterpret_cast<std::uintptr_t>(w))) {
        std::fprintf(stderr, "form_bench: the window was not skinned\n");
        return 1;
    }
    Pump();
    RECT wr{};
    GetWindowRect(w, &wr);
    const TTiming redraw = Measure(runs, [&] { RedrawFrame(w); });
    const TTiming ncpaint = Measure(runs, [&] {
        SendMessageW(w, WM_NCPAINT, 1, 0);
        GdiFlush();
    });
    // Every repaint after a change of the active look composes the edges anew.
    bool active = true;
    const TTiming recompose = Measure(runs, [&] {
        active = !active;
        SendMessageW(w, WM_NCACTIVATE, active, 0);
        GdiFlush();
    });
    SendMessageW(w, WM_NCACTIVATE, TRUE, 0);

    constexpr int kHighDpi = 192;
    RECT suggested{wr.left, wr.top, wr.left + 2 * (wr.right - wr.left), wr.top + 2 * (wr.bottom - wr.top)};
    SendMessageW(w, kWmDpiChanged, MAKEWPARAM(kHighDpi, kHighDpi), reinterpret_cast<LPARAM>(&suggested));
    SetWindowPos(w, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    RECT hr{};
    GetWindowRect(w, &hr);
    const TTiming redrawHigh = Measure(runs, [&] { RedrawFrame(w); });
    const TTiming recomposeHigh = Measure(runs, [&] {
        active = !active;
        SendMessageW(w, WM_NCACTIVATE, active, 0);
        GdiFlush();
    });
    DestroyWindow(w);
    Pump();

    std::printf("window %ld x %ld, skin %s, %d runs: median wall time, mean processor time\n",
                wr.right - wr.left, wr.bottom - wr.top, skinName.c_str(), runs);
    const auto row = [](const char* name, const TTiming& t) {
        std::printf("%-42s %8.3f ms %8.3f ms cpu\n", name, t.median, t.cpu);
    };
    row("skinned frame, RedrawWindow(RDW_FRAME)", redraw);
    row("skinned frame, WM_NCPAINT", ncpaint);
    row("skinned frame, active look switched", recompose);
    row("baseline: platform frame, RedrawWindow", platform);
    row("baseline: one BitBlt of the window size", blit);
    std::printf("at %d DPI, window %ld x %ld:\n", kHighDpi, hr.right - hr.left, hr.bottom - hr.top);
    row("skinned frame at 192 DPI, RedrawWindow", redrawHigh);
    row("skinned frame at 192 DPI, look switched", recomposeHigh);
    std::printf("ratio 192 DPI / 96 DPI frame repaint       %8.2f    %8.2f cpu\n", redrawHigh.median / redraw.median,
                redrawHigh.cpu / redraw.cpu);
    std::printf("ratio skinned / platform frame             %8.2f    %8.2f cpu\n", redraw.median / platform.median,
                redraw.cpu / platform.cpu);
    std::printf("ratio skinned / one window-size BitBlt     %8.2f    %8.2f cpu\n", redraw.median / blit.median,
                redraw.cpu / blit.cpu);
    return 0;
}
