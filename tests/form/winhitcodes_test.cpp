// The platform's hit-test codes over a skinned window's caption buttons, at
// 96 DPI and after the window moved to a screen of another DPI: the codes
// at every corner of each painted button, none of them a pixel outside.
#include "formskin_fixture.h"

#include "component/dpi.h"

namespace srt::formtest {
namespace {

LRESULT HitAt(HWND w, int x, int y) {
    RECT wr{};
    GetWindowRect(w, &wr);
    return SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y));
}

// Every visible button with a code of the platform answers it at its
// corners and not beside them; returns the codes seen.
std::vector<LRESULT> ExpectCodesOnButtons(HWND w, const TWinSkinForm& skin) {
    std::vector<LRESULT> codes;
    for (std::size_t i = 0; i < skin.Buttons().Count(); ++i) {
        const TWinSysButton& button = skin.Buttons()[i];
        const int code = CaptionButtonHitCode(button.FRecord->Action);
        if (!button.FVisible || button.FRecord->Image.Empty() || code == htNowhere) continue;
        SCOPED_TRACE(i);
        const TSkinRect& b = button.FBounds;
        for (const int x : {b.Left, b.Right - 1})
            for (const int y : {b.Top, b.Bottom - 1}) EXPECT_EQ(HitAt(w, x, y), code) << x << "," << y;
        const int cx = (b.Left + b.Right) / 2, cy = (b.Top + b.Bottom) / 2;
        for (const auto& [x, y] : {std::pair{b.Left - 1, cy}, {b.Right, cy}, {cx, b.Top - 1}, {cx, b.Bottom}})
            EXPECT_NE(HitAt(w, x, y), code) << x << "," << y;
        codes.push_back(code);
    }
    return codes;
}

class HitCodesAtDpi : public FormSkin, public ::testing::WithParamInterface<int> {};

TEST_P(HitCodesAtDpi, CaptionButtonsAnswerThePlatformsCodes) {
    const int dpi = GetParam();
    HWND w = Make();
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    if (dpi != kDesignDpi) {
        RECT r{};
        GetWindowRect(w, &r);
        RECT suggested{r.left, r.top, r.left + ScaleToDpi(400, dpi), r.top + ScaleToDpi(300, dpi)};
        SendMessageW(w, kWmDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        Pump();
        ASSERT_EQ(skin->Dpi(), dpi);
    }
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(ExpectCodesOnButtons(w, *skin), (std::vector<LRESULT>{HTSYSMENU, HTCLOSE, HTMAXBUTTON, HTMINBUTTON}));
    // The caption between the icon and the buttons stays the caption.
    const TSkinRect& text = skin->TextRect();
    EXPECT_EQ(HitAt(w, (text.Left + text.Right) / 2, skin->Metrics().TitleHeight - 2), HTCAPTION);

    // Maximised, the restore button is the platform's maximise box still.
    ShowWindow(w, SW_MAXIMIZE);
    Pump();
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(ExpectCodesOnButtons(w, *skin), (std::vector<LRESULT>{HTSYSMENU, HTCLOSE, HTMAXBUTTON, HTMINBUTTON}));
}

INSTANTIATE_TEST_SUITE_P(Dpi, HitCodesAtDpi, ::testing::Values(96, 144, 192));

// A window without minimise and maximise boxes has only the close button
// and the icon to answer for.
TEST_F(FormSkin, OnlyTheButtonsShownAnswer) {
    HWND w = Make(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    TWinSkinForm* skin = Skinned(w);
    ASSERT_NE(skin, nullptr);
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(ExpectCodesOnButtons(w, *skin), (std::vector<LRESULT>{HTSYSMENU, HTCLOSE}));
    RECT wr{};
    GetWindowRect(w, &wr);
    for (int x = 0; x < wr.right - wr.left; ++x) {
        const LRESULT code = HitAt(w, x, skin->Metrics().TitleHeight / 2);
        EXPECT_TRUE(code != HTMAXBUTTON && code != HTMINBUTTON) << x;
    }
}

}  // namespace
}  // namespace srt::formtest
