// Scroll-bar skins on real windows: the bars painted over the platform's,
// pressed arrows, the own thumb drag, stand-alone scroll bars, list views.
#include "fixture.h"

#include <optional>
#include <string>
#include <vector>

#include "component/comctrls.h"
#include "component/dpi.h"
#include "component/stdctrls.h"
#include "skin/controls/indicators.h"
#include "skin/controls/scrollbars.h"
#include "skin/draw/elementdraw.h"
#include "skin/draw/skindraw.h"

using namespace ctltest;
using namespace srt;

namespace {

int Sb() { return GetSystemMetrics(SM_CXHSCROLL); }

// A window of our own class with the given bars; its scroll values are set
// by the test.
class TBarHost : public TWinControl {
public:
    TBarHost(TComponent* owner, DWORD bars, DWORD exStyle = 0) : TWinControl(owner), bars_(bars), ex_(exStyle) {}

protected:
    void CreateParams(TCreateParams& p) override {
        TWinControl::CreateParams(p);
        p.WinClassName = L"TBarHost";
        p.OwnClass = true;
        p.Style |= bars_;
        p.ExStyle |= WS_EX_CLIENTEDGE | ex_;
    }

private:
    DWORD bars_, ex_;
};

void SetBar(HWND h, int bar, int min, int max, int page, int pos) {
    SCROLLINFO i{sizeof(i), SIF_RANGE | SIF_PAGE | SIF_POS, min, max, static_cast<UINT>(page), pos, 0};
    SetScrollInfo(h, bar, &i, TRUE);
}

bool SamePixels(const TBitmap& a, const TBitmap& b, const RECT& r) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (At(a, x, y) != At(b, x, y)) return false;
    return true;
}

// A bar of `length` composed into a bitmap of its own.
TBitmap Bar(TSkinData& data, bool vertical, int length, const TScrollMetrics& m, int pressed) {
    const int sb = Sb();
    TBitmap b(vertical ? sb : length, vertical ? length : sb);
    const TIntRect r{0, 0, b.Width(), b.Height()};
    ComposeScrollBar(b.Canvas(), r, vertical, m, pressed, data, ScrollBarLengths(kDesignDpi), true);
    GdiFlush();
    return b;
}

// The platform may take a moment to report the cursor's new place.
void MoveCursor(POINT p) {
    POINT q{};
    for (int i = 0; i < 100 && (q.x != p.x || q.y != p.y); ++i) {
        SetCursorPos(p.x, p.y);
        Sleep(10);
        GetCursorPos(&q);
    }
}

struct TRecorded {
    UINT msg;
    int code, pos;
};

class ScrollFixture : public Fixture {
protected:
    // A host whose scroll messages are recorded before they reach it.
    TBarHost* Host(DWORD bars, DWORD exStyle = 0) {
        auto* host = new TBarHost(form, bars, exStyle);
        host->SetBounds(10, 10, 200, 150);
        host->SetParent(form);
        host->HandleNeeded();
        TWndMethod inner = host->WindowProc;
        host->WindowProc = [this, inner](TMessage& m) {
            // A queued mouse move finds the cursor where the test wants it.
            if (m.Msg == WM_MOUSEMOVE && moveTo) {
                MoveCursor(*moveTo);
                moveTo.reset();
            }
            if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL)
                seen.push_back({m.Msg, LOWORD(m.WParam), static_cast<short>(HIWORD(m.WParam))});
            inner(m);
        };
        return host;
    }
    TSkinScrollBar* Attach(TWinControl* c, bool ownDrag) {
        auto* skin = new TSkinScrollBar(skins.get());
        skin->InitScrollBar(c, data.get(), ownDrag);
        return skin;
    }
    std::vector<TRecorded> seen;
    std::optional<POINT> moveTo;
};

}  // namespace

TEST_F(ScrollFixture, MemoBarsPaintedOverThePlatformsWithTheSizeBox) {
    auto* memo = new TMemo(form);
    memo->SetScrollBars(ssBoth);
    memo->SetWordWrap(false);
    memo->SetBounds(10, 10, 200, 150);
    memo->SetParent(form);
    memo->HandleNeeded();
    std::string text;
    for (int i = 0; i < 100; ++i) text += "line " + std::to_string(i) + " with some more text to scroll sideways\r\n";
    memo->Lines()->SetText(text);
    auto* skin = Attach(memo, true);
    EXPECT_TRUE(skin->OwnThumbDrag());
    const COLORREF fill = RGB(1, 2, 3);
    TBitmap b = Paint(*skin, fill);
    const TScrollBarRects& r = skin->Rects();
    const int sb = Sb();
    EXPECT_EQ(r.Vert.right - r.Vert.left, sb);
    EXPECT_EQ(r.Horz.bottom - r.Horz.top, sb);
    EXPECT_EQ(r.Vert.right, 198);
    EXPECT_EQ(r.Horz.bottom, 148);
    // The size box is the skin's face colour; both bars are drawn.
    EXPECT_EQ(At(b, r.SizeBox.left + 2, r.SizeBox.top + 2), Gdi(data->Colours.ButtonFace));
    EXPECT_NE(At(b, r.Vert.left + sb / 2, r.Vert.top + 40), fill);
    EXPECT_NE(At(b, r.Horz.left + 60, r.Horz.top + sb / 2), fill);
    EXPECT_EQ(At(b, 60, 60), fill);  // the text is not touched
    // The vertical thumb sits at the top: 100 lines, a page of a few.
    EXPECT_GT(skin->VertMetrics().ThumbLength, 0);
    EXPECT_EQ(skin->VertMetrics().ThumbPos, 0);
    // Scrolling by keys moves the platform's bar without a scroll message:
    // the skin repaints it.
    SendMessageW(memo->Handle(), WM_KEYDOWN, VK_NEXT, 0);
    SendMessageW(memo->Handle(), WM_KEYDOWN, VK_NEXT, 0);
    const int paged = skin->VertMetrics().ThumbPos;
    EXPECT_GT(paged, 0);
    // And so does the wheel.
    RECT w;
    GetWindowRect(memo->Handle(), &w);
    SendMessageW(memo->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-3 * WHEEL_DELTA)), MAKELPARAM(w.left + 50, w.top + 50));
    EXPECT_GT(skin->VertMetrics().ThumbPos, paged);
}

TEST_F(ScrollFixture, LeftScrollBarIsDrawnOnTheLeftEdge) {
    TBarHost* host = Host(WS_VSCROLL, WS_EX_LEFTSCROLLBAR);
    SetBar(host->Handle(), SB_VERT, 0, 100, 10, 0);
    auto* skin = Attach(host, false);
    const COLORREF fill = RGB(1, 2, 3);
    TBitmap b = Paint(*skin, fill);
    EXPECT_EQ(skin->Rects().Vert.left, 2);
    EXPECT_NE(At(b, 2 + Sb() / 2, 75), fill);
    EXPECT_EQ(At(b, 190, 75), fill);
}

TEST_F(ScrollFixture, ShortBarShowsHalvedArrowsAndNoTrackOrThumb) {
    const int sb = Sb();
    const int length = 2 * sb - 4;  // 30 with bars of 17
    TScrollMetrics m;
    ASSERT_TRUE(CalcThumb(length, sb, 8, GetSystemMetrics(SM_CXHTHUMB), {0, 100, 10, 50, 50}, m));
    TBitmap drawn = Bar(*data, true, length, m, kPartNone);
    // Expected: the two arrow frames, each in the largest square of its half
    // of the bar, over the fill.
    TBitmap expected(sb, length);
    {
        GdiBrush fill(CreateSolidBrush(Gdi(data->Colours.Scrollbar)));
        RECT all{0, 0, sb, length};
        FillRect(expected.Canvas(), &all, fill.Get());
    }
    const TIntRect first = ArrowImageRect(0, length / 2, sb, true);
    const TIntRect second = ArrowImageRect(length - length / 2, length, sb, true);
    EXPECT_EQ(first.bottom - first.top, length / 2);
    DrawSkinFrame(expected.Canvas(), RECT{first.left, first.top, first.right, first.bottom}, data->Scrollbar->Image,
                  {23, 9}, TKeying::Keyed);
    DrawSkinFrame(expected.Canvas(), RECT{second.left, second.top, second.right, second.bottom},
                  data->Scrollbar->Image, {23, 13}, TKeying::Keyed);
    GdiFlush();
    EXPECT_TRUE(SamePixels(drawn, expected, RECT{0, 0, sb, length}));
}

TEST_F(ScrollFixture, ThumbFrameCountZeroDrawsNoThumb) {
    const int sb = Sb(), length = 200;
    TScrollMetrics m;
    ASSERT_TRUE(CalcThumb(length, sb, 8, 17, {0, 100, 20, 40, 40}, m));
    TScrollMetrics none = m;
    none.ThumbLength = 0;
    const TBitmap withThumb = Bar(*data, true, length, m, kPartNone);
    const TBitmap bare = Bar(*data, true, length, none, kPartNone);
    EXPECT_FALSE(SamePixels(withThumb, bare, RECT{0, 0, sb, length}));
    data->VertScrollThumb->FrameCount = 0;
    EXPECT_TRUE(SamePixels(Bar(*data, true, length, m, kPartNone), bare, RECT{0, 0, sb, length}));
}

TEST_F(ScrollFixture, AtEveryDpiTheThumbIsPaintedWhereTheHitTestFindsIt) {
    for (const int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        const TScrollBarLengths l =
            ScrollBarLengthsAt(dpi, ScaleToDpi(Sb(), dpi), ScaleToDpi(GetSystemMetrics(SM_CXHTHUMB), dpi), false);
        const int length = ScaleToDpi(200, dpi);
        TScrollMetrics m;
        m.Thickness = l.Arrow;
        ASSERT_TRUE(CalcThumb(length, l, {0, 100, 20, 40, 40}, m));
        TScrollMetrics none = m;
        none.ThumbLength = 0;
        auto compose = [&](const TScrollMetrics& metrics) {
            TBitmap b(l.Arrow, length);
            ComposeScrollBar(b.Canvas(), TIntRect{0, 0, l.Arrow, length}, true, metrics, kPartNone, *data, l, true);
            GdiFlush();
            return b;
        };
        const TBitmap with = compose(m), without = compose(none);
        int first = -1, last = -1;
        for (int y = 0; y < length; ++y) {
            if (SamePixels(with, without, RECT{0, y, l.Arrow, y + 1})) continue;
            if (first < 0) first = y;
            last = y;
            ASSERT_EQ(ScrollHitTest(y, m), SB_THUMBTRACK) << "thumb painted at " << y;
        }
        // Painted from end to end of the thumb the hit test knows, but for the
        // image's keyed outermost row.
        EXPECT_NEAR(first, m.Thickness + m.ThumbPos, ScaleToDpi(1, dpi));
        EXPECT_NEAR(last, m.Thickness + m.ThumbPos + m.ThumbLength - 1, ScaleToDpi(1, dpi));
    }
}

// A bar of any thickness at any DPI (thinner than the platform's, as thick,
// or scaled twice over): each arrow image the largest square its button
// holds, the bar's colour around it, and the track's edges as thick as the
// skin's image at that DPI draws them, not stretched across.
TEST_F(ScrollFixture, BarsOfAnyThicknessKeepEveryImageWithinItsPart) {
    for (const int dpi : {96, 144, 192}) {
        const TSkinElements& e = data->ElementsAt(dpi);
        const TScrollBarLengths l = ScrollBarLengths(dpi);
        const COLORREF fill = Gdi(e.Colours.Scrollbar);
        for (const int thickness : {l.Arrow / 2, l.Arrow, 2 * l.Arrow, 4 * l.Arrow}) {
            for (const bool vertical : {false, true}) {
                SCOPED_TRACE(::testing::Message() << dpi << " DPI, " << thickness << (vertical ? " vertical" : ""));
                const int length = ScaleToDpi(300, dpi);
                TScrollMetrics m;
                ASSERT_TRUE(CalcThumb(length, l, TScrollValues{0, 99, 10, 40, 40}, m));
                m.Thickness = l.Arrow;
                const int w = vertical ? thickness : length, h = vertical ? length : thickness;
                TBitmap b(w, h);
                ComposeScrollBar(b.Canvas(), TIntRect{0, 0, w, h}, vertical, m, kPartNone, e, l, true);
                GdiFlush();
                const TScrollSpans spans = ScrollBarSpans(length, m);
                // The first button.
                const TIntRect square = ArrowImageRect(0, spans.FirstArrowEnd, thickness, vertical);
                const int side = square.right - square.left;
                ASSERT_GT(side, 0);
                TBitmap arrow(side, side);
                const RECT all{0, 0, side, side};
                FillRect(arrow.Canvas(), &all, GdiBrush(CreateSolidBrush(fill)).Get());
                DrawSkinFrame(arrow.Canvas(), all, e.Scrollbar->Image, {23, vertical ? 9 : 1}, TKeying::Keyed);
                GdiFlush();
                const int cellEnd = spans.FirstArrowEnd;
                for (int along = 0; along < cellEnd; ++along)
                    for (int across = 0; across < thickness; ++across) {
                        const int x = vertical ? across : along, y = vertical ? along : across;
                        const bool in = x >= square.left && x < square.right && y >= square.top && y < square.bottom;
                        ASSERT_EQ(At(b, x, y), in ? At(arrow, x - square.left, y - square.top) : fill)
                            << x << "," << y;
                    }
                // One cross-section of the track before the thumb, against the
                // track image composed at the bar's thickness.
                TDataSkinObject& t = vertical ? *e.VertScroll : *e.HorzScroll;
                const int trackLength = spans.SecondArrowStart - spans.FirstArrowEnd;
                TBitmap track(vertical ? thickness : trackLength, vertical ? trackLength : thickness);
                const RECT whole{0, 0, track.Width(), track.Height()};
                FillRect(track.Canvas(), &whole, GdiBrush(CreateSolidBrush(fill)).Get());
                DrawSkinImage(track.Canvas(), whole, t.Image, {4, 1}, MarginsOf(t), FillOf(t), KeyedIf(t.Trans == 1));
                GdiFlush();
                ASSERT_GT(spans.ThumbStart, spans.FirstArrowEnd + 1);
                for (int across = 0; across < thickness; ++across) {
                    const int x = vertical ? across : spans.FirstArrowEnd + 1, y = vertical ? spans.FirstArrowEnd + 1 : across;
                    EXPECT_EQ(At(b, x, y), vertical ? At(track, across, 1) : At(track, 1, across)) << across;
                }
            }
        }
    }
}

TEST_F(ScrollFixture, LineCodesShowThePressedArrowUntilAnotherCode) {
    TBarHost* host = Host(WS_VSCROLL);
    SetBar(host->Handle(), SB_VERT, 0, 100, 10, 50);
    auto* skin = Attach(host, true);
    const TBitmap normal = Paint(*skin);
    SendMessageW(host->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(skin->PressedPart(), kPartDown);
    const TBitmap pressed = Paint(*skin);
    const TIntRect bar = skin->Rects().Vert;
    const int sb = Sb();
    // Only the lower arrow changed.
    EXPECT_TRUE(SamePixels(normal, pressed, RECT{bar.left, bar.top, bar.right, bar.bottom - sb}));
    EXPECT_FALSE(SamePixels(normal, pressed, RECT{bar.left, bar.bottom - sb, bar.right, bar.bottom}));
    SendMessageW(host->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(skin->PressedPart(), kPartDown);
    SendMessageW(host->Handle(), WM_VSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(skin->PressedPart(), kPartNone);
    SendMessageW(host->Handle(), WM_HSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(skin->PressedPart(), kPartLeft);
    SendMessageW(host->Handle(), WM_VSCROLL, SB_THUMBTRACK, 0);
    EXPECT_EQ(skin->PressedPart(), kPartVertThumb);
    // Every scroll message reached the control.
    ASSERT_EQ(seen.size(), 5u);
}

class DragFixture : public ScrollFixture {
protected:
    // Presses the thumb of `host`'s vertical bar with the cursor moves and
    // the release already queued; answers the press point's y.
    void Drag(TBarHost* host, TSkinScrollBar* skin, int dy) {
        Paint(*skin);  // the thumb's metrics
        const TScrollMetrics& m = skin->VertMetrics();
        RECT c;
        GetClientRect(host->Handle(), &c);
        POINT p{c.right + Sb() / 2, m.Thickness + m.ThumbPos + m.ThumbLength / 2};
        ClientToScreen(host->Handle(), &p);
        MoveCursor(p);
        if (dy) {
            moveTo = POINT{p.x, p.y + dy};
            PostMessageW(host->Handle(), WM_MOUSEMOVE, 0, 0);
        }
        PostMessageW(host->Handle(), WM_LBUTTONUP, 0, 0);
        SendMessageW(host->Handle(), WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(p.x, p.y));
        EXPECT_FALSE(skin->Dragging());
        Pump();
    }
};

TEST_F(DragFixture, ReleaseWithoutMovingSendsThePositionThenTheEnd) {
    TBarHost* host = Host(WS_VSCROLL);
    SetBar(host->Handle(), SB_VERT, 0, 100, 10, 30);
    auto* skin = Attach(host, true);
    Drag(host, skin, 0);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].code, SB_THUMBPOSITION);
    EXPECT_EQ(seen[0].pos, 30);
    EXPECT_EQ(seen[1].code, SB_ENDSCROLL);
    EXPECT_EQ(skin->PressedPart(), kPartNone);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DragFixture, DraggingToTheEndYieldsOnePastTheLastPage) {
    TBarHost* host = Host(WS_VSCROLL);
    SetBar(host->Handle(), SB_VERT, 0, 100, 10, 0);
    auto* skin = Attach(host, true);
    Drag(host, skin, 400);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].code, SB_THUMBTRACK);
    EXPECT_EQ(seen[0].pos, 91);
    EXPECT_EQ(seen[1].code, SB_THUMBPOSITION);
    EXPECT_EQ(seen[1].pos, 91);
    EXPECT_EQ(seen[2].code, SB_ENDSCROLL);
    SCROLLINFO i{};
    i.cbSize = sizeof(i);
    i.fMask = SIF_POS;
    GetScrollInfo(host->Handle(), SB_VERT, &i);
    EXPECT_EQ(i.nPos, 91);
}

TEST_F(DragFixture, WithoutOwnDragThePlatformGetsThePress) {
    TBarHost* host = Host(WS_VSCROLL);
    SetBar(host->Handle(), SB_VERT, 0, 100, 10, 0);
    auto* skin = Attach(host, false);
    Paint(*skin);
    TMessage m{WM_NCMOUSEMOVE, HTVSCROLL, 0, 0};
    EXPECT_FALSE(skin->BeforeProc(m));  // the platform's hot look never shows
    m = {WM_NCLBUTTONDOWN, HTVSCROLL, 0, 0};
    EXPECT_TRUE(skin->BeforeProc(m));
    m = {WM_NCMOUSEMOVE, HTCLIENT, 0, 0};
    EXPECT_TRUE(skin->BeforeProc(m));
}

TEST_F(ScrollFixture, StandAloneScrollBarFollowsItsControl) {
    auto* bar = new TScrollBar(form);
    bar->SetKind(sbVertical);
    bar->SetBounds(10, 10, Sb(), 200);
    bar->SetParent(form);
    bar->HandleNeeded();
    auto* skin = new TSkinScControl(skins.get());
    skin->InitControl(bar, data.get(), false);
    bar->SetParams(0, 0, 99, 10);
    EXPECT_EQ(skin->TrackLength, 200 - 2 * Sb());
    EXPECT_EQ(skin->ThumbLength, MulDivRound(10, skin->TrackLength, 100));
    EXPECT_EQ(skin->ThumbPos, 0);
    bar->SetPosition(90);
    EXPECT_EQ(skin->ThumbPos, skin->TrackLength - skin->ThumbLength);
    // A line click reflected from the parent moves it and shows the arrow pressed.
    SendMessageW(form->Handle(), WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(bar->Handle()));
    EXPECT_EQ(bar->Position(), 89);
    EXPECT_EQ(skin->PressedPart(), kPartUp);
    const COLORREF fill = RGB(1, 2, 3);
    TBitmap b = Paint(*skin, fill);
    EXPECT_NE(At(b, Sb() / 2, 100), fill);
}

TEST_F(ScrollFixture, ListViewSkinsItsHeader) {
    auto* list = new TListView(form);
    list->SetParent(form);
    list->SetBounds(10, 10, 300, 150);
    list->AddColumn("Start", 100);
    list->AddColumn("Text", 150);
    for (int i = 0; i < 40; ++i) list->AddItem({std::to_string(i), "cue " + std::to_string(i)});
    list->HandleNeeded();
    auto* skin = new TSkinListView(skins.get());
    skin->InitControl(list, data.get(), true);
    ASSERT_NE(skin->HeaderSkin(), nullptr);
    EXPECT_TRUE(skins->Contains(skin));
    EXPECT_TRUE(skins->Contains(skin->HeaderSkin()));
    EXPECT_EQ(skin->HeaderSkin()->Handle(), reinterpret_cast<HWND>(SendMessageW(list->Handle(), LVM_GETHEADER, 0, 0)));
    EXPECT_TRUE(skin->OwnThumbDrag());
    const COLORREF fill = RGB(1, 2, 3);
    TBitmap b = Paint(*skin, fill);
    EXPECT_NE(At(b, 300 - 2 - Sb() / 2, 75), fill);  // the vertical bar
}

TEST_F(ScrollFixture, HeaderSectionsFromTheHeaderbarImage) {
    auto* list = new TListView(form);
    list->SetParent(form);
    list->SetBounds(10, 10, 300, 150);
    list->AddColumn("Start", 100);
    list->HandleNeeded();
    HWND header = reinterpret_cast<HWND>(SendMessageW(list->Handle(), LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    auto* skin = new TSkinHeader(skins.get());
    skin->InitWindow(header, data.get());
    EXPECT_TRUE(skins->Contains(skin));
    TBitmap b = Paint(*skin);
    RECT item;
    SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    // The section's corner and the space after the last section are frame 1.
    TDataSkinObject& e = *data->Headerbar;
    TBitmap section = CreateSkinBitmap(item, e.Image, {5, 1}, {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight},
                                       (e.Tile == 1) ? TFill::Tile : TFill::Stretch);
    EXPECT_EQ(At(b, 0, 0), At(section, 0, 0));
    EXPECT_EQ(At(b, item.right - 1, item.bottom - 1), At(section, item.right - 1, item.bottom - 1));
    EXPECT_EQ(At(b, item.right, 0), At(section, 0, 0));
    // The sections cover the background: erasing is answered, nothing erased.
    const COLORREF fill = At(b, 0, 0);
    const TBitmap before = Paint(*skin);
    TBitmap erased = Paint(*skin);
    EXPECT_EQ(SendMessageW(header, WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.Canvas()), 0), 1);
    GdiFlush();
    EXPECT_EQ(At(erased, 0, 0), fill);
    EXPECT_EQ(At(erased, item.right, 0), At(before, item.right, 0));
}
