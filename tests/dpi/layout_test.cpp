// The main window and the timing window at the screen's DPI (the prefix's
// LogPixels; SRT_TEST_DPI names it, 96 without): the process is DPI-aware
// through its manifest, the client size and every control scale from 96
// DPI, every caption fits its control in Chinese and in English, and
// WM_DPICHANGED moves the layout to another DPI.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "component/buttons.h"
#include "component/dpi.h"
#include "component/pickers.h"
#include "component/wstr.h"
#include "mainform.h"
#include "tests/dpi/placement.h"
#include "timingform.h"

namespace {

using srt::app::TLanguage;

int ExpectedDpi() {
    const char* dpi = std::getenv("SRT_TEST_DPI");
    return dpi ? std::atoi(dpi) : srt::kDesignDpi;
}

// A caption as shown: "&&" is "&", a single "&" marks the next letter.
std::wstring Shown(const std::wstring& caption) {
    std::wstring out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
        out += caption[i];
    }
    return out;
}

// The width of one line of `text` and the font's character height (the
// cell without its internal leading: what a designed height holds).
SIZE TextExtent(TFont& font, const std::wstring& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.Handle());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {r.right - r.left, metrics.tmHeight - metrics.tmInternalLeading};
}

// What a control's text needs around it, at `dpi`: a button's frame and
// focus rectangle, a check box's box and gap, a combo box's button.
SIZE Room(TControl& control, int dpi) {
    if (dyncast<TCheckBox>(&control) || dyncast<TRadioButton>(&control))
        return {srt::SystemMetricForDpi(SM_CXMENUCHECK, dpi) + srt::ScaleToDpi(4, dpi), 0};
    if (dyncast<TButton>(&control)) return {srt::ScaleToDpi(8, dpi), srt::ScaleToDpi(4, dpi)};
    if (dyncast<TComboBox>(&control))
        return {srt::SystemMetricForDpi(SM_CXVSCROLL, dpi) + srt::ScaleToDpi(6, dpi), 0};
    return {0, 0};
}

// Every text of `parent`'s controls that does not fit its control, named;
// hidden ones too (another mode shows them).
void CollectClipped(TWinControl& parent, int dpi, std::vector<std::string>& clipped) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl& c = *parent.Controls(i);
        if (auto* w = dyncast<TWinControl>(&c)) CollectClipped(*w, dpi, clipped);
        std::vector<std::wstring> texts;
        if (auto* combo = dyncast<TComboBox>(&c)) {
            for (const auto& item : combo->Items()) texts.push_back(Widen(item));
        } else if (!dyncast<TCustomEdit>(&c)) {
            texts.push_back(Shown(Widen(c.Caption())));
        }
        const SIZE room = Room(c, dpi);
        for (const auto& text : texts) {
            if (text.empty()) continue;
            const SIZE need = TextExtent(*c.Font(), text);
            const bool tall = !dyncast<TComboBox>(&c);
            if (need.cx + room.cx > c.Width() || (tall && need.cy + room.cy > c.Height()))
                clipped.push_back(c.Name() + " \"" + Narrow(text) + "\": " + std::to_string(need.cx + room.cx) + "x" +
                                  std::to_string(need.cy + room.cy) + " in " + std::to_string(c.Width()) + "x" +
                                  std::to_string(c.Height()));
        }
    }
}

std::string ClippedTexts(TWinControl& form, int dpi) {
    std::vector<std::string> clipped;
    CollectClipped(form, dpi, clipped);
    std::string out;
    for (const auto& line : clipped) out += line + "\n";
    return out;
}

class AtTheScreensDpi : public ::testing::TestWithParam<TLanguage> {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        RegisterMainFormClasses(Application->Classes(), Application->GraphicFormats());
        form = Application->CreateForm<TForm1>();
        form->SetLanguage(GetParam());
        form->Show();
    }
    void TearDown() override { app_.reset(); }

    std::unique_ptr<TApplication> app_;
    TForm1* form = nullptr;
    const int dpi = ExpectedDpi();
};

TEST_P(AtTheScreensDpi, TheMainWindowScalesFrom96AndEveryTextFits) {
    ASSERT_EQ(srt::WindowDpi(form->Handle()), dpi) << "the manifest makes the process DPI-aware";
    EXPECT_EQ(form->PixelsPerInch(), dpi);
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_NEAR(client.right, srt::ScaleToDpi(396, dpi), 1);
    EXPECT_NEAR(client.bottom, srt::ScaleToDpi(470, dpi), 1);
    EXPECT_EQ(form->Button2->Left(), srt::ScaleToDpi(104, dpi));
    EXPECT_EQ(form->Button2->Height(), srt::ScaleToDpi(25, dpi));
    EXPECT_EQ(form->Font()->Height(), srt::ScaleToDpi(-12, dpi));
    // The windows are where the layout says.
    RECT memo;
    GetWindowRect(form->Memo1->Handle(), &memo);
    MapWindowPoints(HWND_DESKTOP, form->Handle(), reinterpret_cast<POINT*>(&memo), 2);
    EXPECT_EQ(memo.left, srt::ScaleToDpi(8, dpi));
    EXPECT_EQ(memo.right - memo.left, srt::ScaleToDpi(377, dpi));
    EXPECT_EQ(ClippedTexts(*form, dpi), "");
}

TEST_P(AtTheScreensDpi, TheTimingWindowScalesFrom96AndEveryTextFits) {
    srt::app::TTimingForm timing(*form, *form, nullptr, GetParam(), form->TimingMemory);
    timing.Show();
    EXPECT_EQ(timing.PixelsPerInch(), dpi);
    // Its font is the main window's, scaled once.
    EXPECT_EQ(timing.Font()->Height(), form->Font()->Height());
    RECT client;
    GetClientRect(timing.Handle(), &client);
    EXPECT_NEAR(client.right, srt::ScaleToDpi(460, dpi), 1);
    EXPECT_NEAR(client.bottom, srt::ScaleToDpi(424, dpi), 1);
    EXPECT_EQ(ClippedTexts(timing, dpi), "");
}

// Where ShowModal shows the timing window: a timer finds it once it is
// visible, notes its rectangle and closes it.
RECT g_timingShown;
void CALLBACK NoteAndCloseTiming(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND timing = FindWindowW(L"TTimingForm", nullptr);
    if (!timing || !IsWindowVisible(timing)) return;
    KillTimer(nullptr, timer);
    GetWindowRect(timing, &g_timingShown);
    PostMessageW(timing, WM_CLOSE, 0, 0);
}

RECT ShownModally(TForm1& form) {
    g_timingShown = {};
    srt::app::TTimingForm timing(form, form, nullptr, TLanguage::English, form.TimingMemory);
    SetTimer(nullptr, 0, 50, NoteAndCloseTiming);
    timing.ShowModal();
    return g_timingShown;
}

// Centred over the main window on each axis, or at the work area's edge
// where centred would leave it; always inside the work area.
std::string Placement(HWND owner, const RECT& shown) {
    RECT o;
    GetWindowRect(owner, &o);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    std::string out;
    auto axis = [&](const char* name, long lo, long hi, long ownerLo, long ownerHi, long workLo, long workHi) {
        const long centre = (lo + hi) / 2, ownerCentre = (ownerLo + ownerHi) / 2;
        const bool atEdge = lo == workLo || hi == workHi;
        if (lo < workLo || hi > workHi)
            out += std::string(name) + " outside the work area; ";
        else if (std::labs(centre - ownerCentre) > 2 && !atEdge)
            out += std::string(name) + " centre " + std::to_string(centre) + ", the main window's " +
                   std::to_string(ownerCentre) + "; ";
    };
    axis("x", shown.left, shown.right, o.left, o.right, work.left, work.right);
    axis("y", shown.top, shown.bottom, o.top, o.bottom, work.top, work.bottom);
    return out;
}

TEST_P(AtTheScreensDpi, TheTimingWindowOpensCentredOverTheMainWindowAtItsScaledSize) {
    RECT shown = ShownModally(*form);
    ASSERT_GT(shown.right - shown.left, 0) << "the timing window showed";
    // The size it shows at is the scaled one (a frame around the client).
    EXPECT_GE(shown.right - shown.left, srt::ScaleToDpi(460, dpi));
    EXPECT_GE(shown.bottom - shown.top, srt::ScaleToDpi(424, dpi));
    EXPECT_EQ(Placement(form->Handle(), shown), "");

    // The main window near the work area's bottom right corner: the timing
    // window stays within the work area.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(form->Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
    SetWindowPos(form->Handle(), nullptr, monitor.rcWork.right - 120, monitor.rcWork.bottom - 120, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    shown = ShownModally(*form);
    EXPECT_EQ(shown.right, monitor.rcWork.right);
    EXPECT_EQ(shown.bottom, monitor.rcWork.bottom);
    EXPECT_EQ(Placement(form->Handle(), shown), "");
}

TEST_P(AtTheScreensDpi, DpiChangedMovesTheLayoutToTheNewDpi) {
    // Another DPI whose window fits the test's screen.
    const int to = dpi == 144 ? 192 : 144;
    RECT window;
    GetWindowRect(form->Handle(), &window);
    RECT suggested{window.left, window.top, window.left + srt::RescaleDpi(window.right - window.left, dpi, to),
                   window.top + srt::RescaleDpi(window.bottom - window.top, dpi, to)};
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(form->PixelsPerInch(), to);
    GetWindowRect(form->Handle(), &window);
    EXPECT_TRUE(EqualRect(&window, &suggested));
    EXPECT_NEAR(form->Button2->Left(), srt::ScaleToDpi(104, to), 1);
    EXPECT_NEAR(form->Memo1->Width(), srt::ScaleToDpi(377, to), 1);
    EXPECT_EQ(form->Font()->Height(), srt::ScaleToDpi(-12, to));
    EXPECT_EQ(ClippedTexts(*form, to), "");
}

TEST_P(AtTheScreensDpi, EveryControlOfBothWindowsLiesWhereThe96DpiLayoutPutsItScaledOnce) {
    using namespace srt::dpitest;
    if (!TUnawareThread::Available()) GTEST_SKIP() << "no thread DPI contexts on this platform";
    std::vector<TPlacement> mainDesign, timingDesign;
    {
        // Made on a DPI-unaware thread, the windows have 96 DPI: the layout
        // as designed, system metrics included.
        TUnawareThread unaware;
        auto designed = std::make_unique<TForm1>(nullptr);
        designed->SetLanguage(GetParam());
        designed->Show();
        ASSERT_EQ(srt::WindowDpi(designed->Handle()), srt::kDesignDpi);
        mainDesign = PlacementsOf(*designed);
        {
            srt::app::TTimingForm timing(*designed, *designed, nullptr, GetParam(), designed->TimingMemory);
            timing.Show();
            timingDesign = PlacementsOf(timing);
        }
    }
    EXPECT_EQ(Misplaced(mainDesign, srt::kDesignDpi, PlacementsOf(*form), dpi), "");
    srt::app::TTimingForm timing(*form, *form, nullptr, GetParam(), form->TimingMemory);
    timing.Show();
    EXPECT_EQ(Misplaced(timingDesign, srt::kDesignDpi, PlacementsOf(timing), dpi), "");

    // To another DPI and back: where that DPI puts the design, then the same pixels again.
    const auto shown = PlacementsOf(timing);
    const int other = dpi == 144 ? 192 : 144;
    MoveToDpi(timing, dpi, other);
    EXPECT_EQ(Misplaced(timingDesign, srt::kDesignDpi, PlacementsOf(timing), other), "");
    MoveToDpi(timing, other, dpi);
    EXPECT_EQ(Moved(shown, PlacementsOf(timing)), "");
}

INSTANTIATE_TEST_SUITE_P(Languages, AtTheScreensDpi, ::testing::Values(TLanguage::Chinese, TLanguage::English),
                         [](const auto& info) { return info.param == TLanguage::English ? "English" : "Chinese"; });

}  // namespace
