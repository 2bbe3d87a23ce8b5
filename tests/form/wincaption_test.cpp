// A skinned window's text or icon set at run time: the platform paints its
// own caption on both at once, not through WM_NCPAINT; the skin keeps it
// from doing so, so no default caption shows before the skin's.
#include <vector>

#include "formskin_fixture.h"

namespace srt {
namespace {

using namespace formtest;

// What the title bar holds right after the platform's own handling of
// WM_SETTEXT and WM_SETICON, seen from the procedure under the skin.
struct TCaptionProbe {
    bool armed = false;
    std::vector<POINT> points;  // window coordinates
    std::vector<std::vector<COLORREF>> seen;
};
TCaptionProbe g_probe;

std::vector<COLORREF> TitlePixels(HWND w) {
    std::vector<COLORREF> pixels;
    GdiFlush();
    HDC dc = GetWindowDC(w);
    for (POINT p : g_probe.points) pixels.push_back(GetPixel(dc, p.x, p.y));
    ReleaseDC(w, dc);
    return pixels;
}

LRESULT CALLBACK ProbeProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    const LRESULT r = DefWindowProcW(w, msg, wp, lp);
    if ((msg == WM_SETTEXT || msg == WM_SETICON) && g_probe.armed) g_probe.seen.push_back(TitlePixels(w));
    return r;
}

const wchar_t* ProbeClass() {
    static const wchar_t* name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ProbeProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CaptionProbeWindow";
        RegisterClassW(&wc);
        return L"CaptionProbeWindow";
    }();
    return name;
}

TEST_F(FormSkin, SettingTheTextOrTheIconPaintsNoPlatformCaption) {
    HWND w = Make(WS_OVERLAPPEDWINDOW, 400, 300, ProbeClass());
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const int y = skin->Metrics().TitleHeight / 2;
    g_probe = {};
    for (int x : {skin->Metrics().BorderLeft + 1, 200, 300}) g_probe.points.push_back({x, y});
    const std::vector<COLORREF> before = TitlePixels(w);

    g_probe.armed = true;
    SetWindowTextW(w, L"Skinned window");  // the same text: the skin's caption looks the same
    SendMessageW(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIconW(nullptr, MAKEINTRESOURCEW(32512) /* the application icon */)));
    g_probe.armed = false;
    ASSERT_EQ(g_probe.seen.size(), 2u);
    EXPECT_EQ(g_probe.seen[0], before);
    EXPECT_EQ(g_probe.seen[1], before);
    // The window stays shown, its style as it was.
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & WS_VISIBLE, WS_VISIBLE);
    wchar_t text[32] = {};
    GetWindowTextW(w, text, 32);
    EXPECT_STREQ(text, L"Skinned window");
}

}  // namespace
}  // namespace srt
