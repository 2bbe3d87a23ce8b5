// Status-bar panels: their edges scale with the form's layout, before the
// window exists and on WM_DPICHANGED, and the last panel follows a resize.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "component/comctrls.h"
#include "component/dpi.h"
#include "component/forms.h"

namespace {

class StatusPanels : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<TApplication>();
        form = app->CreateForm<TForm>();
        form->SetBorderStyle(bsSingle);
        form->SetClientWidth(400);
        form->SetClientHeight(200);
        bar = new TStatusBar(form);
        bar->SetParent(form);
        bar->SetSizeGrip(false);
        bar->SetBounds(0, 170, 400, 22);
        // Edges at 75, 150 and 225: at 144 DPI two of them fall on a half pixel.
        bar->SetPanels({{"Line 12", 75}, {"UTF-8", 75}, {"", 75}, {"Saved", 60}});
    }
    // The right edges the window holds (the last one -1).
    std::vector<int> Parts() {
        std::vector<int> edges(8, 0);
        const auto n = SendMessageW(bar->Handle(), SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
        edges.resize(static_cast<size_t>(n));
        return edges;
    }
    std::vector<int> Widths() const {
        std::vector<int> widths;
        for (const TStatusPanel& p : bar->Panels()) widths.push_back(p.Width);
        return widths;
    }
    std::unique_ptr<TApplication> app;
    TForm* form = nullptr;
    TStatusBar* bar = nullptr;
};

TEST_F(StatusPanels, EdgesScaleWithTheLayoutEachRoundedOnce) {
    form->ChangeScale(144, 96);
    // 112.5, 225 and 337.5 round up; rounding each width would put the third
    // edge at 339.
    EXPECT_EQ(Widths(), (std::vector<int>{113, 112, 113, 90}));
    EXPECT_EQ(bar->Width(), 600);
    EXPECT_EQ(Parts(), (std::vector<int>{113, 225, 338, -1}));

    // Again from where they are, once the window exists.
    ASSERT_EQ(form->PixelsPerInch(), srt::kDesignDpi) << "runs in the 96-DPI prefix";
    RECT suggested{0, 0, 900, 700};
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    // From the form's 96 DPI: the window's 113, 225, 338 become 226, 450, 676.
    EXPECT_EQ(Parts(), (std::vector<int>{226, 450, 676, -1}));
    EXPECT_EQ(Widths(), (std::vector<int>{226, 224, 226, 180}));
}

TEST_F(StatusPanels, TheLastPanelReachesTheRightEndAfterAResize) {
    HWND h = bar->Handle();
    RECT last{};
    SendMessageW(h, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&last));
    RECT client{};
    GetClientRect(h, &client);
    const int gap = client.right - last.right;  // the control's own border
    ASSERT_LT(gap, 8);

    bar->SetBounds(0, 170, 300, 22);
    SendMessageW(h, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(last.right, 300 - gap);
    bar->SetBounds(0, 170, 520, 22);
    SendMessageW(h, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(last.right, 520 - gap);
    // The fixed panels stay where they were.
    EXPECT_EQ(Parts(), (std::vector<int>{75, 150, 225, -1}));
}

}  // namespace
