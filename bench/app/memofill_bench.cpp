// How the platform memo's time to take a large text grows with its size, in
// a memo of the main window's styles, font and size, its painting off as the
// window fills it: one WM_SETTEXT, appends of 64K characters, and appends
// that grow with the text (the window's way, TBusy::FillMemo). Fixed-size
// appends are skipped above 1M characters: they grow quadratically. Prints
// each time as a multiple of WM_SETTEXT's for the same text. Run under Wine
// with a display (see bench/app/CMakeLists.txt).
// Usage: memofill_bench [MEGACHARS...]   (default 1 4 8 30)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double SetTextSeconds(HWND memo, const std::wstring& text) {
    SetWindowTextW(memo, L"");
    const auto start = Clock::now();
    SendMessageW(memo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return Since(start);
}

void Append(HWND memo, const std::wstring& text, std::size_t at, std::size_t end) {
    const std::wstring part = text.substr(at, end - at);
    SendMessageW(memo, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(part.c_str()));
}

// Appends of `chunk` characters, or of as many as the memo holds already
// when `growing` (at least `chunk`). Reports the number of appends and the
// seconds the last one took.
double AppendSeconds(HWND memo, const std::wstring& text, std::size_t chunk, bool growing, int& appends,
                     double& last) {
    SetWindowTextW(memo, L"");
    appends = 0;
    const auto start = Clock::now();
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t size = growing ? std::max(chunk, at) : chunk;
        const std::size_t end = std::min(text.size(), at + size);
        const auto one = Clock::now();
        Append(memo, text, at, end);
        last = Since(one);
        ++appends;
        at = end;
    }
    return Since(start);
}

std::wstring SubtitleText(std::size_t count) {
    std::wstring text;
    text.reserve(count + 64);
    for (int i = 1; text.size() < count; ++i)
        text += std::to_wstring(i) + L"\r\n00:00:01,000 --> 00:00:02,500\r\nThe tide comes in at dawn.\r\n\r\n";
    text.resize(count);
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::size_t> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(static_cast<std::size_t>(_wtoi(argv[i])) << 20);
    if (sizes.empty()) sizes = {std::size_t(1) << 20, std::size_t(4) << 20, std::size_t(8) << 20, std::size_t(30) << 20};

    HWND frame = CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 400, 480, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND memo = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                                8, 8, 377, 361, frame, nullptr, nullptr, nullptr);
    SendMessageW(memo, EM_SETLIMITTEXT, 0, 0);
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"宋体");
    SendMessageW(memo, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(memo, WM_SETREDRAW, FALSE, 0);

    std::printf("%8s %10s | %10s %6s %8s %7s | %10s %6s %8s %7s\n", "Mchars", "settext s", "64K s", "calls",
                "last s", "ratio", "growing s", "calls", "last s", "ratio");
    for (std::size_t n : sizes) {
        const std::wstring text = SubtitleText(n);
        const double whole = SetTextSeconds(memo, text);
        std::printf("%8zu %10.2f |", n >> 20, whole);
        std::fflush(stdout);
        int appends = 0;
        double last = 0;
        if (n <= (std::size_t(1) << 20)) {
            const double fixed = AppendSeconds(memo, text, 64 * 1024, false, appends, last);
            std::printf(" %10.2f %6d %8.3f %7.2f |", fixed, appends, last, fixed / whole);
        } else {
            std::printf(" %10s %6s %8s %7s |", "-", "", "", "");
        }
        std::fflush(stdout);
        const double growing = AppendSeconds(memo, text, 64 * 1024, true, appends, last);
        std::printf(" %10.2f %6d %8.3f %7.2f\n", growing, appends, last, growing / whole);
        std::fflush(stdout);
    }
    DestroyWindow(frame);
    DeleteObject(font);
    return 0;
}
