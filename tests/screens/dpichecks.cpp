#include "tests/screens/dpichecks.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "skin/data/skindata.h"
#include "tests/support/program.h"

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

namespace {

std::string ClassName(HWND h) {
    char name[64];
    GetClassNameA(h, name, sizeof name);
    return name;
}

// The shipped skin `skin` ("": the stored one, which is Daylight's).
std::wstring SkinFile(const std::string& skin) {
    const std::string file = skin.empty() ? "default" : skin;
    return srt::testing::ThisFolder() + L"..\\skins\\" + std::wstring(file.begin(), file.end()) + L".skn";
}

}  // namespace

// Moves `windows` together, as little as needed, so that they lie on the
// screen: the screen reads black where a capture reaches past it (scaled
// windows are large).
void OntoTheScreen(const std::vector<HWND>& windows) {
    RECT all{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (HWND w : windows) {
        RECT r{};
        GetWindowRect(w, &r);
        all = {std::min(all.left, r.left), std::min(all.top, r.top), std::max(all.right, r.right),
               std::max(all.bottom, r.bottom)};
    }
    const LONG dx = std::max(-all.left, std::min(0L, GetSystemMetrics(SM_CXSCREEN) - all.right));
    const LONG dy = std::max(-all.top, std::min(0L, GetSystemMetrics(SM_CYSCREEN) - all.bottom));
    if (!dx && !dy) return;
    for (HWND w : windows) {
        RECT r{};
        GetWindowRect(w, &r);
        if (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) continue;
        SetWindowPos(w, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The caption buttons of `windows` painted in `shot` where their scaled
// records place them. At each one's centre WM_NCHITTEST answers its code or
// the caption's (the form skin takes its buttons' clicks through the
// caption's mouse messages). `showsButtons` shows at least one.
void ExpectButtonsAnswer(const std::string& shown, const std::vector<HWND>& windows, const TImage& shot,
                         const std::string& skin, HWND showsButtons) {
    const std::string name = NameAtScreenDpi(shown);
    const POINT origin = CaptureOrigin(windows);
    for (HWND w : windows) {
        const auto buttons =
            PaintedCaptionButtons(w, shot, origin, SkinFile(skin), ScreenDpi());
        EXPECT_TRUE(!buttons.empty() || w != showsButtons) << name << ": no caption button where the skin puts it";
        for (const auto& b : buttons) {
            SCOPED_TRACE(name + ", " + ClassName(w) + ", the button of action " + std::to_string(b.action));
            const POINT centre{(b.bounds.left + b.bounds.right) / 2, (b.bounds.top + b.bounds.bottom) / 2};
            DWORD_PTR code = 0;
            SendMessageTimeoutW(w, WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y), SMTO_ABORTIFHUNG, 5000, &code);
            EXPECT_TRUE(static_cast<LRESULT>(code) == b.code || code == HTCAPTION) << "answers " << code;
        }
    }
}

}  // namespace srt::screens
