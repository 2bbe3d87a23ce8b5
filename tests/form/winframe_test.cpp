// The skinned frame's layout, composition and region on real windows.
#include "formskin_fixture.h"

#include <algorithm>

namespace srt::formtest {
namespace {

const TWinSysButton* CloseButton(const TWinSkinForm& skin) {
    for (std::size_t i = 0; i < skin.Buttons().Count(); ++i) {
        const TWinSysButton& b = skin.Buttons()[i];
        if (b.FVisible && b.FRecord->Action == 0) return &b;
    }
    return nullptr;
}

// A click at the middle of a button, in screen coordinates.
void Click(HWND w, const TSkinRect& bounds) {
    RECT wr{};
    GetWindowRect(w, &wr);
    const LPARAM at = MAKELPARAM(wr.left + (bounds.Left + bounds.Right) / 2, wr.top + (bounds.Top + bounds.Bottom) / 2);
    SendMessageW(w, WM_NCLBUTTONDOWN, HTCAPTION, at);
    SendMessageW(w, WM_NCLBUTTONUP, HTCAPTION, at);
}

// With non-client painting off, no paint ever lays the frame out: the
// caption buttons answer at their places from the start and after a resize.
TEST_F(FormSkin, CaptionButtonsAnswerBeforeAnyPaint) {
    data.NCPaint = false;
    HWND w = Make();
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    const TWinSysButton* close = CloseButton(*skin);
    ASSERT_NE(close, nullptr);
    EXPECT_GT(close->FBounds.Width(), 0);
    const TSkinRect before = close->FBounds;
    Click(w, before);
    MSG msg{};
    EXPECT_TRUE(PeekMessageW(&msg, w, WM_CLOSE, WM_CLOSE, PM_REMOVE));

    // Right-anchored, it follows the new width; the layout matches the window.
    SetWindowPos(w, nullptr, 0, 0, 480, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    close = CloseButton(*skin);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->FBounds, before.Offset(80, 0));
    EXPECT_EQ(skin->Layout().Width, 480);
    EXPECT_EQ(skin->Layout().Height, 300);
    Click(w, close->FBounds);
    EXPECT_TRUE(PeekMessageW(&msg, w, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    data.NCPaint = true;
}

// One paint covers the whole non-client area and leaves the client
// rectangle as it was; painting again gives the same pixels.
TEST_F(FormSkin, FramePaintCoversTheFrameAndSparesTheClient) {
    HWND w = Make();
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    const TFrameGeometry& l = skin->Layout();
    ASSERT_GT(l.Width, 0);
    constexpr std::uint32_t kMark = 0x00123456;
    const auto paint = [&] {
        TBitmap target(l.Width, l.Height);
        for (int y = 0; y < l.Height; ++y) std::fill_n(target.ScanLine(y), l.Width, kMark);
        skin->PaintFrame(target.Canvas());
        GdiFlush();
        return target;
    };
    TBitmap first = paint();
    int frameMarks = 0, clientChanged = 0;
    for (int y = 0; y < l.Height; ++y)
        for (int x = 0; x < l.Width; ++x) {
            const bool marked = first.ScanLine(y)[x] == kMark;
            if (l.Client.Contains(x, y))
                clientChanged += !marked;
            else
                frameMarks += marked;
        }
    EXPECT_EQ(clientChanged, 0);
    EXPECT_EQ(frameMarks, 0);
    TBitmap second = paint();
    for (int y = 0; y < l.Height; ++y)
        ASSERT_TRUE(std::equal(first.ScanLine(y), first.ScanLine(y) + l.Width, second.ScanLine(y))) << "row " << y;
}

}  // namespace
}  // namespace srt::formtest
