#include "component/gdi.h"

#include <utility>

#include "drawtest.h"

using drawtest::GdiObjectCount;

TEST(GdiCount, SeesObjectsComeAndGo) {
    const int before = GdiObjectCount();
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GdiObjectCount(), before + 2);
    DeleteDC(dc);
    DeleteObject(brush);
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(GdiObject, DeletesReleasesAndMoves) {
    const int before = GdiObjectCount();
    {
        GdiBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
        GdiPen pen(CreatePen(PS_SOLID, 1, 0));
        EXPECT_TRUE(brush);
        EXPECT_EQ(GdiObjectCount(), before + 2);
        GdiBrush moved(std::move(brush));
        EXPECT_FALSE(brush);
        EXPECT_EQ(GetObjectType(moved.Get()), static_cast<DWORD>(OBJ_BRUSH));
        moved.Reset(CreateSolidBrush(RGB(4, 5, 6)));  // the first brush goes
        EXPECT_EQ(GdiObjectCount(), before + 2);
        moved = GdiBrush();
        EXPECT_EQ(GdiObjectCount(), before + 1);
    }
    EXPECT_EQ(GdiObjectCount(), before);

    GdiRegion region(CreateRectRgn(0, 0, 4, 4));
    HRGN raw = region.Release();
    EXPECT_FALSE(region);
    EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_REGION));
    DeleteObject(raw);
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(GdiSelect, PutsThePreviousObjectBack) {
    const int before = GdiObjectCount();
    {
        MemoryDC dc;
        ASSERT_TRUE(dc);
        HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_BRUSH);
        GdiBrush brush(CreateSolidBrush(RGB(9, 9, 9)));
        {
            GdiSelect select(dc.Get(), brush);
            EXPECT_TRUE(select.Selected());
            EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush.Get());
        }
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), original);
        GdiSelect none(nullptr, brush);
        EXPECT_FALSE(none.Selected());
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(SavedDC, RestoresColoursAndModes) {
    MemoryDC dc;
    SetTextColor(dc.Get(), RGB(1, 1, 1));
    SetStretchBltMode(dc.Get(), BLACKONWHITE);
    {
        SavedDC saved(dc.Get());
        SetTextColor(dc.Get(), RGB(7, 7, 7));
        SetStretchBltMode(dc.Get(), COLORONCOLOR);
    }
    EXPECT_EQ(GetTextColor(dc.Get()), RGB(1, 1, 1));
    EXPECT_EQ(GetStretchBltMode(dc.Get()), BLACKONWHITE);
}

namespace {

struct TPaintProbe {
    bool painted = false;
    RECT rect{};
};

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PAINT) {
        auto* probe = reinterpret_cast<TPaintProbe*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        PaintDC paint(window);
        if (probe && paint) {
            probe->painted = true;
            probe->rect = paint.Rect();
        }
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

TEST(WindowDCs, ClientWindowAndPaintDCsAreReleased) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "GdiTestProbe";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "GdiTestProbe", "probe", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    TPaintProbe probe;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&probe));
    // The window's first DCs come from a cache that keeps them after release.
    ReleaseDC(window, GetDC(window));
    ReleaseDC(window, GetWindowDC(window));
    const int before = GdiObjectCount();
    for (int round = 0; round < 3; ++round) {
        ClientDC client(window);
        WindowDC whole(window);
        EXPECT_TRUE(client);
        EXPECT_TRUE(whole);
        WindowDC moved(std::move(whole));
        EXPECT_FALSE(whole);
        EXPECT_TRUE(moved);
    }
    EXPECT_EQ(GdiObjectCount(), before);

    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    probe = {};
    RECT dirty{10, 10, 20, 20};
    InvalidateRect(window, &dirty, FALSE);
    UpdateWindow(window);
    EXPECT_TRUE(probe.painted);
    EXPECT_EQ(probe.rect.left, 10);
    EXPECT_EQ(probe.rect.bottom, 20);
    RECT left{};
    EXPECT_FALSE(GetUpdateRect(window, &left, FALSE));  // EndPaint validated it
    DestroyWindow(window);
    UnregisterClassA("GdiTestProbe", wc.hInstance);
}
