#include "tests/screens/dpichecks.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "skin/data/skindata.h"

namespace srt::screens {

int ScreenDpi() {
    const char* dpi = std::getenv("SRT_TEST_DPI");
    return dpi && *dpi ? std::atoi(dpi) : 96;
}

std::string NameAtScreenDpi(const std::string& name) {
    const int dpi = ScreenDpi();
    return dpi == 96 ? name : name + "-" + std::to_string(dpi) + "dpi";
}

POINT CaptureOrigin(const std::vector<HWND>& windows) {
    POINT origin{LONG_MAX, LONG_MAX};
    for (HWND w : windows) {
        RECT r{};
        GetWindowRect(w, &r);
        origin = {std::min(origin.x, r.left), std::min(origin.y, r.top)};
    }
    return origin;
}

namespace {

// The code a caption button's action answers to WM_NCHITTEST; 0 for one
// without a code of its own.
LRESULT CodeOf(int action) {
    switch (action) {
    case 0: return HTCLOSE;
    case 1: case 22: return HTMAXBUTTON;
    case 2: case 23: return HTMINBUTTON;
    case 3: case 11: case 12: return HTSYSMENU;
    default: return 0;
    }
}

}  // namespace

bool AtRest(const TPaintedButton& button, const TImage& shot, POINT origin) {
    const int width = button.bounds.right - button.bounds.left, height = button.bounds.bottom - button.bounds.top;
    int same = 0, counted = 0;
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const std::uint32_t want = button.rest[static_cast<std::size_t>(row) * width + col];
            if (want == 0xFF000000) continue;
            ++counted;
            const int x = button.bounds.left - origin.x + col, y = button.bounds.top - origin.y + row;
            if (x >= 0 && y >= 0 && x < shot.width && y < shot.height) same += (shot.At(x, y) & 0xFFFFFF) == want;
        }
    }
    return counted > 0 && same * 10 >= counted * 9;
}

std::vector<TPaintedButton> PaintedCaptionButtons(HWND window, const TImage& shot, POINT origin,
                                                  const std::wstring& skinFile, int dpi) {
    std::vector<TPaintedButton> painted;
    std::ifstream in(std::string(skinFile.begin(), skinFile.end()), std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    TSkinData data(nullptr);
    if (!data.LoadFromBytes(std::move(bytes))) return painted;
    RECT w{};
    GetWindowRect(window, &w);
    for (const auto& record : data.ElementsAt(dpi).SysButtons) {
        const LRESULT code = record ? CodeOf(record->Action) : 0;
        if (!code || record->Image.Empty() || (record->Align != 0 && record->Align != 1)) continue;
        TPaintedButton b;
        b.action = record->Action;
        b.code = code;
        const int width = record->Image.Width() / std::max(record->FrameCount, 1), height = record->Image.Height();
        const int left = w.left + (record->Align == 1 ? (w.right - w.left) - record->Xcoord : record->Xcoord);
        b.bounds = {left, w.top + record->Ycoord, left + width, w.top + record->Ycoord + height};
        for (int row = 0; row < height; ++row)
            for (int col = 0; col < width; ++col) {
                const std::uint32_t pixel = record->Image.ScanLine(row)[col] & 0xFFFFFF;
                b.rest.push_back(pixel == 0xFF00FF ? 0xFF000000 : pixel);
            }
        if (AtRest(b, shot, origin)) painted.push_back(std::move(b));
    }
    return painted;
}

}  // namespace srt::screens
