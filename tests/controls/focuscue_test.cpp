// Focus cues of the skinned buttons: the dotted rectangle, and when it shows
// (the keyboard focus, the window's UI state, Tab through the dialog manager,
// WM_UPDATEUISTATE repainting the button at once).
#include "fixture.h"

#include "component/buttons.h"
#include "skin/controls/buttons.h"
#include "skin/controls/focuscue.h"

using namespace ctltest;
using namespace srt;

namespace {

TEST(FocusCue, DottedInsideTheRectangle) {
    EXPECT_EQ(FocusCueRect({0, 0, 80, 26}, 4).left, 4);
    EXPECT_EQ(FocusCueRect({0, 0, 80, 26}, 4).bottom, 22);
    const RECT tiny = FocusCueRect({0, 0, 9, 9}, 4);
    EXPECT_TRUE(IsRectEmpty(&tiny));

    ::TBitmap b(20, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) b.SetPixel(x, y, RGB(0, 0, 0));
    DrawFocusCue(b.Canvas(), {2, 2, 18, 8}, RGB(255, 255, 255));
    GdiFlush();
    int on = 0, inside = 0, outside = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool lit = b.Pixel(x, y) == RGB(255, 255, 255);
            const bool edge = (y == 2 || y == 7 || x == 2 || x == 17) && x >= 2 && x <= 17 && y >= 2 && y <= 7;
            const bool within = x > 2 && x < 17 && y > 2 && y < 7;
            on += lit && edge;
            inside += lit && within;
            outside += lit && !edge && !within;
        }
    EXPECT_EQ(on, 20);  // every second of the 40 perimeter pixels
    EXPECT_EQ(b.Pixel(2, 2), RGB(255, 255, 255));
    EXPECT_EQ(b.Pixel(3, 2), RGB(0, 0, 0));
    EXPECT_EQ(inside, 0);
    EXPECT_EQ(outside, 0);
}

// The UI state a skinned form keeps for its controls, kept here by a
// procedure under the form: queries answer it, changes reach the children.
bool g_hideFocus = true;
WNDPROC g_formProc = nullptr;
LRESULT CALLBACK UiStateKeeper(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_QUERYUISTATE) return g_hideFocus ? UISF_HIDEFOCUS : 0;
    return CallWindowProcW(g_formProc, h, msg, wp, lp);
}

class FocusCues : public Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        g_hideFocus = true;
        g_formProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(UiStateKeeper)));
    }
    void TearDown() override {
        SetWindowLongPtrW(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_formProc));
        Fixture::TearDown();
    }
    TButton* NewButton(int x, const char* caption) {
        auto* b = new TButton(form);
        b->SetParent(form);
        b->SetBounds(x, 10, 90, 28);
        b->SetCaption(caption);
        return b;
    }
    TSkinButton* Skin(TControl* b) {
        skins->ClassifyComponents(form);
        for (TSkinControl* c : skins->Controls())
            if (c->Control() == b) return dyncast<TSkinButton>(c);
        return nullptr;
    }
    // Pixels of the cue's top and bottom edges in the caption colour of the
    // focused look (the hot frame's).
    int CuePixels(const ::TBitmap& shown) const {
        const COLORREF colour = Gdi(data->Buttons->MouseOverColour2);
        const RECT cue = FocusCueRect({0, 0, shown.Width(), shown.Height()}, kButtonFocusInset);
        int n = 0;
        for (int x = cue.left; x < cue.right; ++x)
            n += (At(shown, x, cue.top) == colour) + (At(shown, x, cue.bottom - 1) == colour);
        return n;
    }
    // The form's state changes and its children hear of it.
    void UiState(WORD action, HWND child) {
        g_hideFocus = action == UIS_SET;
        SendMessageW(child, WM_UPDATEUISTATE, MAKEWPARAM(action, UISF_HIDEFOCUS), 0);
    }
};

TEST_F(FocusCues, PushButtonShowsItOnlyWithFocusAndShownCues) {
    TButton* b = NewButton(10, "Go");
    TButton* other = NewButton(110, "Other");
    TSkinButton* skin = Skin(b);
    ASSERT_NE(skin, nullptr);
    const int unfocused = CuePixels(Paint(*skin));
    b->SetFocus();
    EXPECT_EQ(CuePixels(Paint(*skin)), unfocused) << "hidden cues after a mouse start";
    UiState(UIS_CLEAR, b->Handle());
    EXPECT_GE(CuePixels(Paint(*skin)), unfocused + 70) << "dots along the top and bottom edges";
    other->SetFocus();
    EXPECT_EQ(CuePixels(Paint(*skin)), unfocused) << "no cue without the focus";
}

// The button repaints itself on screen on the UI-state change alone.
TEST_F(FocusCues, AnUpdateRepaintsTheButton) {
    TButton* b = NewButton(110, "Two");
    TSkinButton* skin = Skin(b);
    ASSERT_NE(skin, nullptr);
    SetForegroundWindow(form->Handle());
    b->SetFocus();
    Pump();
    auto onScreen = [&] {
        ::TBitmap shown(90, 28);
        HDC dc = GetWindowDC(b->Handle());
        BitBlt(shown.Canvas(), 0, 0, 90, 28, dc, 0, 0, SRCCOPY);
        ReleaseDC(b->Handle(), dc);
        GdiFlush();
        return CuePixels(shown);
    };
    const int hidden = onScreen();
    UiState(UIS_CLEAR, b->Handle());
    EXPECT_GE(onScreen(), hidden + 70);
    UiState(UIS_SET, b->Handle());
    EXPECT_EQ(onScreen(), hidden);
}

TEST_F(FocusCues, BitButtonDrawsItToo) {
    auto* b = new TBitBtn(form);
    b->SetParent(form);
    b->SetBounds(10, 10, 90, 28);
    b->SetCaption("Glyph");
    auto* skin = new TSkinBitButton(skins.get());
    skin->InitControl(b, data.get(), false);
    UiState(UIS_CLEAR, b->Handle());
    const int unfocused = CuePixels(Paint(*skin));
    b->SetFocus();
    EXPECT_GE(CuePixels(Paint(*skin)), unfocused + 70);
    UiState(UIS_SET, b->Handle());
    EXPECT_EQ(CuePixels(Paint(*skin)), unfocused);
}

}  // namespace
