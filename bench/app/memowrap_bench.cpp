// How long the platform memo takes to show one long line, against the same
// number of characters as subtitle-sized lines, in a memo of the main
// window's styles, font and size; and whether filling it in chunks (the
// window's way for large files) costs more than one WM_SETTEXT. Stops
// growing a line once it takes over two seconds. Run under Wine with a
// display (see bench/app/CMakeLists.txt).
// Usage: memowrap_bench
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

double SetTextSeconds(HWND memo, const std::wstring& text) {
    SetWindowTextW(memo, L"");
    const auto start = std::chrono::steady_clock::now();
    SendMessageW(memo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    UpdateWindow(memo);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double ChunkedSeconds(HWND memo, const std::wstring& text, std::size_t chunk) {
    SetWindowTextW(memo, L"");
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t at = 0; at < text.size(); at += chunk) {
        const std::wstring part = text.substr(at, chunk);
        SendMessageW(memo, EM_SETSEL, static_cast<WPARAM>(-1), -1);
        SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(part.c_str()));
    }
    UpdateWindow(memo);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// `count` characters as 29-character time lines.
std::wstring SubtitleLines(std::size_t count) {
    std::wstring text;
    while (text.size() < count) text += L"00:00:01,000 --> 00:00:02,500\r\n";
    text.resize(count);
    return text;
}

}  // namespace

int wmain() {
    HWND frame = CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 400, 480, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND memo = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                                8, 8, 377, 361, frame, nullptr, nullptr, nullptr);
    SendMessageW(memo, EM_SETLIMITTEXT, 0, 0);
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"宋体");
    SendMessageW(memo, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    std::printf("one line of N characters against N characters of time lines (WM_SETTEXT, wrapped memo)\n");
    std::printf("%10s %12s %12s %12s %8s\n", "N", "letters s", "words s", "lines s", "ratio");
    for (std::size_t n = 1024; n <= (std::size_t(1) << 20); n *= 2) {
        const double lines = SetTextSeconds(memo, SubtitleLines(n));
        const double letters = SetTextSeconds(memo, std::wstring(n, L'x'));
        std::wstring words;
        while (words.size() < n) words += L"lorem ipsum ";
        words.resize(n);
        const double spaced = SetTextSeconds(memo, words);
        std::printf("%10zu %12.4f %12.4f %12.4f %8.1f\n", n, letters, spaced, lines,
                    letters / (lines > 1e-6 ? lines : 1e-6));
        std::fflush(stdout);
        if (letters > 2.0 || spaced > 2.0) break;
    }

    std::printf("\nfilling with time lines: chunks of 64K characters against one WM_SETTEXT\n");
    std::printf("%10s %12s %12s %8s\n", "chars", "settext s", "chunked s", "ratio");
    for (std::size_t n : {std::size_t(1) << 20, std::size_t(4) << 20}) {
        const std::wstring text = SubtitleLines(n);
        const double whole = SetTextSeconds(memo, text);
        const double chunked = ChunkedSeconds(memo, text, 64 * 1024);
        std::printf("%10zu %12.3f %12.3f %8.2f\n", n, whole, chunked, chunked / whole);
        std::fflush(stdout);
    }
    DestroyWindow(frame);
    DeleteObject(font);
    return 0;
}
