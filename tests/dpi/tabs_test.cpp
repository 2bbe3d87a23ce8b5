// Tab controls and the tab set at the screen's DPI (SRT_TEST_DPI, 96
// without): a form that scales when first shown lays its tabs out as a twin
// form that keeps its 96-DPI layout does, scaled; every tab holds its text;
// the tab set's scroll arrows lie at its right end and its hit test finds
// the tabs where its skin paints them.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "component/comctrls.h"
#include "component/dpi.h"
#include "component/forms.h"
#include "component/wstr.h"
#include "skin/controls/tabs.h"
#include "skin/data/skindata.h"
#include "tests/support/skinfile.h"

namespace {

int ScreenDpi() {
    const char* dpi = std::getenv("SRT_TEST_DPI");
    return dpi ? std::atoi(dpi) : srt::kDesignDpi;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The tabs of the gallery's page: four controls with their tabs on each
// side, one with more tabs than fit, and a tab set with more than fit.
struct TTabsPage {
    TForm* form = nullptr;
    std::vector<TTabControl*> controls;
    TTabSet* set = nullptr;
};

TTabsPage MakePage(bool scaled) {
    TTabsPage page;
    page.form = Application->CreateForm<TForm>();
    page.form->SetScaled(scaled);
    page.form->SetBounds(20, 20, 620, 440);
    const struct {
        TTabPosition position;
        int x, y;
    } sides[] = {{tpTop, 12, 12}, {tpBottom, 304, 12}, {tpLeft, 12, 160}, {tpRight, 304, 160}};
    for (const auto& s : sides) {
        auto* tabs = new TTabControl(page.form);
        tabs->SetTabPosition(s.position);
        tabs->SetTabs({"Top", "Timing", "Text"});
        tabs->SetParent(page.form);
        tabs->SetBounds(s.x, s.y, 284, 136);
        page.controls.push_back(tabs);
    }
    auto* many = new TTabControl(page.form);
    many->SetTabs({"Cues", "Timing", "Offsets", "Encoding", "Preview", "Export", "Options"});
    many->SetParent(page.form);
    many->SetBounds(12, 308, 284, 60);
    page.controls.push_back(many);
    page.set = new TTabSet(page.form);
    page.set->SetParent(page.form);
    page.set->SetBounds(304, 308, 284, 22);
    page.set->SetTabs({"Sheet 1", "A very long sheet name", "Sheet 3", "Sheet 4", "Sheet 5", "Sheet 6"});
    page.form->Show();
    Pump();
    return page;
}

std::vector<RECT> ItemRects(TTabControl& tabs) {
    std::vector<RECT> rects;
    const int count = static_cast<int>(SendMessageW(tabs.Handle(), TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT r{};
        SendMessageW(tabs.Handle(), TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        rects.push_back(r);
    }
    return rects;
}

// The width of `text` in `window`'s font and that font's cell height.
SIZE TextExtent(HWND window, HFONT font, const std::wstring& text) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return {size.cx, metrics.tmHeight};
}

bool Vertical(TTabControl& tabs) { return tabs.TabPosition() == tpLeft || tabs.TabPosition() == tpRight; }

// A tab's length along its row and its thickness across it.
int Length(TTabControl& tabs, const RECT& r) { return Vertical(tabs) ? r.bottom - r.top : r.right - r.left; }
int Thickness(TTabControl& tabs, const RECT& r) { return Vertical(tabs) ? r.right - r.left : r.bottom - r.top; }

// The row of each tab, counted from the row nearest the control's edge
// where the tabs start.
std::vector<int> Rows(TTabControl& tabs, const std::vector<RECT>& rects) {
    std::vector<int> edges;
    for (const RECT& r : rects) edges.push_back(Vertical(tabs) ? r.left : r.top);
    std::vector<int> sorted = edges;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    std::vector<int> rows;
    for (int e : edges)
        rows.push_back(static_cast<int>(std::lower_bound(sorted.begin(), sorted.end(), e) - sorted.begin()));
    return rows;
}

// Sends the form WM_DPICHANGED from `from` to `to` DPI, suggesting its
// window's size scaled.
void ChangeDpi(TForm& form, int from, int to) {
    RECT window{};
    GetWindowRect(form.Handle(), &window);
    RECT suggested{window.left, window.top, window.left + srt::RescaleDpi(window.right - window.left, from, to),
                   window.top + srt::RescaleDpi(window.bottom - window.top, from, to)};
    SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    Pump();
}

// The scroll arrows of `set`, in its client coordinates.
RECT ScrollerRect(TTabSet& set, bool& visible) {
    HWND scroller = FindWindowExW(set.Handle(), nullptr, UPDOWN_CLASSW, nullptr);
    visible = scroller && IsWindowVisible(scroller);
    RECT r{};
    if (!scroller) return r;
    GetWindowRect(scroller, &r);
    MapWindowPoints(nullptr, set.Handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class TabsAtTheScreensDpi : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        data_ = std::make_unique<TSkinData>(nullptr);
        ASSERT_TRUE(data_->LoadFromBytes(srt::SkinBytes("default")));
    }
    std::unique_ptr<TApplication> app_;
    std::unique_ptr<TSkinData> data_;
    const int dpi = ScreenDpi();
};

// The same tabs in the same rows, as thick as at 96 DPI scaled, and in a
// single row as long (within a pixel, give or take how far the caption's
// own width in the scaled font strays from scaled; several rows are
// stretched to the control's length).
TEST_F(TabsAtTheScreensDpi, TabControlsLayOutTheirTabsAsAt96Scaled) {
    TTabsPage page = MakePage(true);
    TTabsPage twin = MakePage(false);
    ASSERT_EQ(srt::WindowDpi(page.form->Handle()), dpi) << "the manifest makes the process DPI-aware";
    for (std::size_t c = 0; c < page.controls.size(); ++c) {
        SCOPED_TRACE(c);
        TTabControl& tabs = *page.controls[c];
        const auto scaled = ItemRects(tabs), at96 = ItemRects(*twin.controls[c]);
        ASSERT_EQ(scaled.size(), at96.size());
        const auto rows = Rows(tabs, scaled);
        EXPECT_EQ(rows, Rows(tabs, at96));
        const bool oneRow = std::count(rows.begin(), rows.end(), 0) == static_cast<long>(rows.size());
        for (int i = 0; i < static_cast<int>(scaled.size()); ++i) {
            SCOPED_TRACE(i);
            EXPECT_NEAR(Thickness(tabs, scaled[i]), srt::ScaleToDpi(Thickness(tabs, at96[i]), dpi), 1);
            if (!oneRow) continue;
            const std::wstring caption = Widen(tabs.Tabs().Get(i));
            const int text = TextExtent(tabs.Handle(), tabs.Font()->Handle(), caption).cx;
            const int text96 = TextExtent(tabs.Handle(), twin.controls[c]->Font()->Handle(), caption).cx;
            const int stray = std::abs(text - srt::ScaleToDpi(text96, dpi));
            EXPECT_NEAR(Length(tabs, scaled[i]), srt::ScaleToDpi(Length(tabs, at96[i]), dpi), 1 + stray);
        }
    }
}

// Each caption has the room around it that it has at 96 DPI, scaled: six
// pixels at either end; above and below it together five at 96 DPI, of
// which the platform's padding gives three and it adds two it never
// scales: at least four scaled.
TEST_F(TabsAtTheScreensDpi, EveryTabHoldsItsCaptionWithRoomAround) {
    TTabsPage page = MakePage(true);
    for (TTabControl* tabs : page.controls) {
        const auto rects = ItemRects(*tabs);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(tabs->Handle(), WM_GETFONT, 0, 0));
        for (int i = 0; i < static_cast<int>(rects.size()); ++i) {
            SCOPED_TRACE(tabs->Tabs().Get(i));
            const SIZE text = TextExtent(tabs->Handle(), font, Widen(tabs->Tabs().Get(i)));
            EXPECT_GE(Length(*tabs, rects[i]), text.cx + 2 * srt::ScaleToDpi(6, dpi));
            EXPECT_GE(Thickness(*tabs, rects[i]), text.cy + srt::ScaleToDpi(4, dpi));
        }
    }
    const auto shown = page.set->VisibleTabs();
    ASSERT_GE(shown.size(), 2u);
    for (const TTabSet::TTab& tab : shown) {
        SCOPED_TRACE(page.set->Tabs().Get(tab.Index));
        const std::wstring caption = Widen(page.set->Tabs().Get(tab.Index));
        const SIZE text = TextExtent(page.set->Handle(), page.set->Font()->Handle(), caption);
        EXPECT_GE(tab.Bounds.right - tab.Bounds.left, text.cx + srt::ScaleToDpi(9, dpi) - 1);
    }
}

// The arrows are two squares at the right end, a pixel in from the top and
// the bottom, shown because the tabs need more room than there is.
void ExpectArrowsAtTheRightEnd(TTabSet& set) {
    bool visible = false;
    const RECT r = ScrollerRect(set, visible);
    RECT client{};
    GetClientRect(set.Handle(), &client);
    EXPECT_TRUE(visible);
    EXPECT_EQ(r.right, client.right);
    EXPECT_EQ(r.top, 1);
    EXPECT_EQ(r.bottom, client.bottom - 1);
    EXPECT_EQ(r.right - r.left, 2 * (r.bottom - r.top));
}

TEST_F(TabsAtTheScreensDpi, TheTabSetsArrowsLieAtItsRightEnd) {
    TTabsPage page = MakePage(true);
    RECT client{};
    GetClientRect(page.set->Handle(), &client);
    EXPECT_EQ(client.bottom, srt::ScaleToDpi(22, dpi));
    ExpectArrowsAtTheRightEnd(*page.set);
}

// The skin paints each tab where the set's hit test finds it: the columns a
// tab's selected look changes are its own, from edge to edge.
TEST_F(TabsAtTheScreensDpi, TheTabSetsSkinPaintsItsTabsWhereItsHitTestFindsThem) {
    TTabsPage page = MakePage(true);
    TTabSet& set = *page.set;
    auto* skin = new srt::TSkinTab31(nullptr);
    std::unique_ptr<srt::TSkinTab31> owner(skin);
    skin->InitControl(&set, data_.get(), false);
    RECT client{};
    GetClientRect(set.Handle(), &client);
    auto paint = [&] {
        TBitmap b(client.right, client.bottom);
        skin->DrawControl(b.Canvas(), client);
        GdiFlush();
        return b;
    };
    set.SetTabIndex(-1);
    const TBitmap none = paint();
    const auto shown = set.VisibleTabs();
    ASSERT_GE(shown.size(), 3u);
    for (const TTabSet::TTab& tab : shown) {
        SCOPED_TRACE(tab.Index);
        const int middle = (tab.Bounds.left + tab.Bounds.right) / 2;
        EXPECT_EQ(set.TabAt(middle), tab.Index);
        SendMessageW(set.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle, client.bottom / 2));
        SendMessageW(set.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(middle, client.bottom / 2));
        ASSERT_EQ(set.TabIndex(), tab.Index);
        const TBitmap selected = paint();
        int first = client.right, last = -1;
        for (int x = 0; x < client.right; ++x)
            for (int y = 0; y < client.bottom; ++y)
                if (selected.Pixel(x, y) != none.Pixel(x, y)) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        EXPECT_GE(first, tab.Bounds.left);
        EXPECT_LE(first, tab.Bounds.left + srt::ScaleToDpi(3, dpi));
        EXPECT_LT(last, tab.Bounds.right);
        EXPECT_GE(last, tab.Bounds.right - 1 - srt::ScaleToDpi(3, dpi));
    }
}

// What a window shows now, read back from the screen.
TBitmap Shown(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    TBitmap b(r.right, r.bottom);
    HDC dc = GetDC(window);
    BitBlt(b.Canvas(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    GdiFlush();
    return b;
}

bool Same(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

// The skinned set repainted alone (as a click on a tab repaints it) leaves
// its scroll arrows showing: the skin paints inside the arrows' window
// never, not even on the set's window DC.
TEST_F(TabsAtTheScreensDpi, RepaintingTheSkinnedSetLeavesItsArrowsShowing) {
    TTabsPage page = MakePage(true);
    TTabSet& set = *page.set;
    std::unique_ptr<srt::TSkinTab31> skin(new srt::TSkinTab31(nullptr));
    skin->InitControl(&set, data_.get(), false);
    HWND scroller = FindWindowExW(set.Handle(), nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_TRUE(scroller && IsWindowVisible(scroller));
    RedrawWindow(set.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    const TBitmap arrows = Shown(scroller);
    ASSERT_FALSE(arrows.Empty());
    RedrawWindow(set.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    EXPECT_TRUE(Same(Shown(scroller), arrows));
    set.SetTabIndex(1);
    UpdateWindow(set.Handle());
    Pump();
    EXPECT_TRUE(Same(Shown(scroller), arrows));
}

// WM_DPICHANGED lays the tabs out for the new DPI and, back at the screen's,
// as they were.
TEST_F(TabsAtTheScreensDpi, DpiChangedScalesTheTabsAndTheArrows) {
    TTabsPage page = MakePage(true);
    TTabsPage twin = MakePage(false);
    std::vector<std::vector<RECT>> before;
    for (TTabControl* tabs : page.controls) before.push_back(ItemRects(*tabs));
    const int to = dpi == 192 ? 144 : 192;
    ChangeDpi(*page.form, dpi, to);
    ASSERT_EQ(page.form->PixelsPerInch(), to);
    // The tabs at the top and at the bottom: every one at its least width
    // at 96 DPI.
    for (std::size_t c = 0; c < 2; ++c) {
        SCOPED_TRACE(c);
        TTabControl& tabs = *page.controls[c];
        const auto scaled = ItemRects(tabs), at96 = ItemRects(*twin.controls[c]);
        for (std::size_t i = 0; i < scaled.size(); ++i)
            EXPECT_NEAR(Length(tabs, scaled[i]), srt::ScaleToDpi(Length(tabs, at96[i]), to), 1) << i;
    }
    // The tabs at the sides in as many rows as at 96 DPI.
    for (std::size_t c = 2; c < 4; ++c) {
        TTabControl& tabs = *page.controls[c];
        EXPECT_EQ(Rows(tabs, ItemRects(tabs)), Rows(tabs, ItemRects(*twin.controls[c])));
    }
    ExpectArrowsAtTheRightEnd(*page.set);
    RECT client{};
    GetClientRect(page.set->Handle(), &client);
    // Scaled once from the 96 DPI layout, not again from this DPI's.
    EXPECT_EQ(client.bottom, srt::ScaleToDpi(twin.set->Height(), to));

    ChangeDpi(*page.form, to, dpi);
    for (std::size_t c = 0; c < 4; ++c) {
        const auto again = ItemRects(*page.controls[c]);
        for (std::size_t i = 0; i < again.size(); ++i)
            EXPECT_EQ(Length(*page.controls[c], again[i]), Length(*page.controls[c], before[c][i])) << c << " " << i;
    }
    ExpectArrowsAtTheRightEnd(*page.set);
}

// A fixed tab size is given in the layout's pixels and scales with it.
TEST_F(TabsAtTheScreensDpi, AFixedTabSizeScalesWithTheLayout) {
    TTabsPage page = MakePage(true);
    TTabControl& tabs = *page.controls[0];
    tabs.SetTabWidth(srt::ScaleToDpi(70, dpi));
    tabs.SetTabHeight(srt::ScaleToDpi(24, dpi));
    auto rects = ItemRects(tabs);
    ASSERT_EQ(rects.size(), 3u);
    for (const RECT& r : rects) {
        EXPECT_EQ(r.right - r.left, srt::ScaleToDpi(70, dpi));
        EXPECT_EQ(r.bottom - r.top, srt::ScaleToDpi(24, dpi));
    }
    const int to = dpi == 192 ? 96 : 192;
    ChangeDpi(*page.form, dpi, to);
    const int width = srt::RescaleDpi(srt::ScaleToDpi(70, dpi), dpi, to);
    EXPECT_EQ(tabs.TabWidth(), width);
    EXPECT_EQ(tabs.TabHeight(), srt::RescaleDpi(srt::ScaleToDpi(24, dpi), dpi, to));
    rects = ItemRects(tabs);
    for (const RECT& r : rects) {
        EXPECT_EQ(r.right - r.left, width);
        EXPECT_EQ(r.bottom - r.top, tabs.TabHeight());
    }
    // Back to tabs sized by their captions.
    tabs.SetTabWidth(0);
    tabs.SetTabHeight(0);
    TTabsPage twin = MakePage(false);
    const auto at96 = ItemRects(*twin.controls[0]);
    rects = ItemRects(tabs);
    for (std::size_t i = 0; i < rects.size(); ++i)
        EXPECT_NEAR(rects[i].right - rects[i].left, srt::ScaleToDpi(at96[i].right - at96[i].left, to), 1);
}

}  // namespace
