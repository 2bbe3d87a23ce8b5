// A skinned window told a new DPI (WM_DPICHANGED): its frame, caption
// buttons and hit tests read the skin's records at that DPI.
#include "formskin_fixture.h"

#include <algorithm>

#include "component/dpi.h"
#include "skin/menu/winskinmenu.h"

namespace srt::formtest {
namespace {

void ChangeDpi(HWND w, int dpi, int width, int height) {
    RECT r{};
    GetWindowRect(w, &r);
    RECT suggested{r.left, r.top, r.left + width, r.top + height};
    SendMessageW(w, kWmDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    SetWindowPos(w, nullptr, suggested.left, suggested.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
}

LRESULT HitAt(HWND w, int x, int y) {
    RECT wr{};
    GetWindowRect(w, &wr);
    return SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y));
}

class FormAtDpi : public FormSkin, public ::testing::WithParamInterface<int> {};

TEST_P(FormAtDpi, FrameButtonsAndHitTestsAtTheWindowsDpi) {
    const int dpi = GetParam();
    HWND w = Make();
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    const TFrameMetrics at96 = skin->Metrics();
    ASSERT_GT(at96.TitleHeight, 0);
    std::vector<TSkinRect> bounds96;
    for (std::size_t i = 0; i < skin->Buttons().Count(); ++i) bounds96.push_back(skin->Buttons()[i].FBounds);

    const int width = ScaleToDpi(400, dpi), height = ScaleToDpi(300, dpi);
    ChangeDpi(w, dpi, width, height);
    ASSERT_EQ(skin->Dpi(), dpi);
    const TFrameMetrics m = skin->Metrics();
    EXPECT_EQ(m.TitleHeight, ScaleToDpi(at96.TitleHeight, dpi));
    EXPECT_EQ(m.BorderLeft, ScaleToDpi(at96.BorderLeft, dpi));
    EXPECT_EQ(m.BorderRight, ScaleToDpi(at96.BorderRight, dpi));
    EXPECT_EQ(m.BorderBottom, ScaleToDpi(at96.BorderBottom, dpi));
    EXPECT_EQ(skin->Layout().Width, width);
    RECT client{};
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, width - m.BorderLeft - m.BorderRight);
    EXPECT_EQ(client.bottom, height - m.TitleHeight - m.BorderBottom - skin->MenuHeight());

    // Each visible button sits where its scaled record puts it, and the
    // hit test finds it there and not beside it.
    int checked = 0;
    for (std::size_t i = 0; i < skin->Buttons().Count(); ++i) {
        const TWinSysButton& b = skin->Buttons()[i];
        if (!b.FVisible || b.FRecord->Image.Empty() || b.FRecord->Action < 0) continue;
        SCOPED_TRACE(i);
        EXPECT_EQ(b.FBounds.Width(), ScaleToDpi(bounds96[i].Width(), dpi));
        EXPECT_EQ(b.FBounds.Top, ScaleToDpi(bounds96[i].Top, dpi));
        const int cx = (b.FBounds.Left + b.FBounds.Right) / 2, cy = (b.FBounds.Top + b.FBounds.Bottom) / 2;
        EXPECT_EQ(skin->Buttons().Hit(cx, cy), &b);
        EXPECT_NE(skin->Buttons().Hit(cx, b.FBounds.Bottom), &b);
        ++checked;
    }
    EXPECT_GE(checked, 3);
    // Where the procedure below finds nothing, the scaled layout answers:
    // the title row is caption, the client is not the frame's.
    g_hitNowhere = true;
    EXPECT_EQ(HitAt(w, width / 3, m.TitleHeight - 2), HTCAPTION);
    EXPECT_EQ(HitAt(w, width / 2, m.TitleHeight + skin->MenuHeight() + 10), HTNOWHERE);
    g_hitNowhere = false;

    // The painted frame has the scaled title's pixels at the scaled rows.
    TBitmap target(width, height);
    skin->PaintFrame(target.Canvas());
    GdiFlush();
    int painted = 0;
    for (int x = m.BorderLeft; x < width - m.BorderRight; ++x) painted += target.ScanLine(m.TitleHeight - 1)[x] != 0;
    EXPECT_GT(painted, 0);

    // Back at 96 DPI the frame is as it was.
    ChangeDpi(w, 96, 400, 300);
    EXPECT_EQ(skin->Metrics(), at96);
    for (std::size_t i = 0; i < skin->Buttons().Count(); ++i) {
        if (skin->Buttons()[i].FVisible) {
            EXPECT_EQ(skin->Buttons()[i].FBounds, bounds96[i]) << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, FormAtDpi, ::testing::Values(120, 144, 192));

// The menu bar's items are measured in the menu font of the new DPI, with
// the gap around their captions scaled.
TEST_F(FormSkin, MenuBarFollowsTheDpiChange) {
    HWND w = Make();
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 101, L"&Open");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File and settings");
    SetMenu(w, bar);
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    ASSERT_NE(skin->MenuBar(), nullptr);
    ASSERT_GT(skin->MenuBar()->Count(), 0);
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    const int width96 = skin->MenuBar()->Button(0).FBounds.Width();
    ASSERT_GT(width96, 20);

    ChangeDpi(w, 192, 800, 600);
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    const int width192 = skin->MenuBar()->Button(0).FBounds.Width();
    // Text and gap double, give or take the font's rounding.
    EXPECT_GE(width192, 2 * width96 - 8);
    EXPECT_LE(width192, 2 * width96 + 8);

    ChangeDpi(w, 96, 400, 300);
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(skin->MenuBar()->Button(0).FBounds.Width(), width96);
}

// A DPI-aware process in a prefix at another DPI (LogPixels) skins its
// windows at that DPI from the start; at 96 DPI it is the 96-DPI skin.
TEST_F(FormSkin, StartsAtTheSystemDpi) {
    SetProcessDPIAware();
    const int dpi = SystemDpi();
    HWND w = Make();
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->Dpi(), dpi);
    const TFrameMetrics at96 = ComputeFrameMetrics(data.ElementsAt(kDesignDpi), bkFrame);
    const TFrameMetrics m = skin->Metrics();
    EXPECT_EQ(m.TitleHeight, ScaleToDpi(at96.TitleHeight, dpi));
    EXPECT_EQ(m.BorderLeft, ScaleToDpi(at96.BorderLeft, dpi));
    EXPECT_EQ(m.BorderBottom, ScaleToDpi(at96.BorderBottom, dpi));
    if (dpi == kDesignDpi) {
        EXPECT_EQ(&skin->Skin(), static_cast<const TSkinElements*>(&data));
    }
}

}  // namespace
}  // namespace srt::formtest
