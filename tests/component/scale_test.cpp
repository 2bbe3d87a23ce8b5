// A form's layout, given at 96 DPI, scaled to another: positions, sizes, its
// own fonts, list columns and the client size, before the window exists and again on
// WM_DPICHANGED with the suggested rectangle.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>

#include "component/comctrls.h"
#include "component/dpi.h"
#include "component/forms.h"
#include "component/groups.h"

namespace {

RECT Rect(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

class Scaling : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<TApplication>();
        form = app->CreateForm<TForm>();
        form->SetBorderStyle(bsSingle);
        form->Font()->SetHeight(-12);
        form->SetClientWidth(396);
        form->SetClientHeight(470);
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(8, 8, 377, 361);
        button = new TButton(form);
        button->SetParent(panel);
        button->SetBounds(16, 432 - 361, 75, 25);
        label = new TLabel(form);
        label->SetParent(form);
        label->SetBounds(16, 381, 252, 12);
        label->SetParentFont(false);
    }
    std::unique_ptr<TApplication> app;
    TForm* form = nullptr;
    TPanel* panel = nullptr;
    TButton* button = nullptr;
    TLabel* label = nullptr;
};

TEST_F(Scaling, EveryControlAndFontOfTheLayoutScalesWithOneRounding) {
    form->ChangeScale(144, 96);
    EXPECT_EQ(form->ClientWidth(), 594);
    EXPECT_EQ(form->ClientHeight(), 705);
    EXPECT_TRUE(SameRect(panel->BoundsRect(), Rect(12, 12, 566, 542)));  // 565.5 and 541.5 round up
    EXPECT_TRUE(SameRect(button->BoundsRect(), Rect(24, 107, 113, 38)));  // 106.5, 112.5, 37.5
    EXPECT_TRUE(SameRect(label->BoundsRect(), Rect(24, 572, 378, 18)));
    EXPECT_EQ(form->Font()->Height(), -18);
    // Fonts of the parent follow it rather than being scaled twice.
    EXPECT_TRUE(button->ParentFont());
    EXPECT_EQ(button->Font()->Height(), -18);
    EXPECT_FALSE(label->ParentFont());
    EXPECT_EQ(label->Font()->Height(), -18);

    // The window is made at the scaled client size.
    HWND window = form->Handle();
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 594);
    EXPECT_EQ(client.bottom, 705);
    RECT inForm;
    GetWindowRect(button->Handle(), &inForm);
    MapWindowPoints(HWND_DESKTOP, panel->Handle(), reinterpret_cast<POINT*>(&inForm), 2);
    EXPECT_TRUE(SameRect(inForm, Rect(24, 107, 113, 38)));
}

TEST_F(Scaling, DpiChangedTakesTheSuggestedRectangleAndRescalesFromTheCurrentDpi) {
    form->SetBounds(40, 30, form->Width(), form->Height());
    HWND window = form->Handle();
    ASSERT_EQ(form->PixelsPerInch(), srt::SystemDpi());
    ASSERT_EQ(srt::SystemDpi(), srt::kDesignDpi) << "runs in the 96-DPI prefix";
    RECT before;
    GetWindowRect(window, &before);

    RECT suggested = Rect(50, 60, srt::ScaleToDpi(before.right - before.left, 144),
                          srt::ScaleToDpi(before.bottom - before.top, 144));
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_TRUE(SameRect(after, suggested));
    EXPECT_TRUE(SameRect(form->BoundsRect(), suggested));
    EXPECT_EQ(form->PixelsPerInch(), 144);
    EXPECT_TRUE(SameRect(panel->BoundsRect(), Rect(12, 12, 566, 542)));
    EXPECT_EQ(label->Font()->Height(), -18);
    // The windows got the new fonts.
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(button->Handle(), WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -18);

    // From 144 to 120 the layout is rescaled from where it is now.
    suggested = Rect(50, 60, 500, 600);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(120, 120), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(form->PixelsPerInch(), 120);
    EXPECT_TRUE(SameRect(panel->BoundsRect(), Rect(10, 10, 472, 452)));  // 471.7, 451.7
    EXPECT_EQ(label->Font()->Height(), -15);
    GetWindowRect(window, &after);
    EXPECT_TRUE(SameRect(after, suggested));
}

TEST_F(Scaling, AFormThatIsNotScaledLeavesDpiChangedToTheSystem) {
    form->SetScaled(false);
    HWND window = form->Handle();
    RECT before;
    GetWindowRect(window, &before);
    RECT suggested = Rect(0, 0, 900, 900);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(form->PixelsPerInch(), srt::kDesignDpi);
    EXPECT_TRUE(SameRect(panel->BoundsRect(), Rect(8, 8, 377, 361)));
    EXPECT_EQ(label->Font()->Height(), -12);
}

TEST_F(Scaling, ListColumnsScaleBeforeTheWindowAndFromTheirDraggedWidthsAfter) {
    auto* list = new TListView(form);
    list->SetParent(panel);
    list->AddColumn("Start", 75);
    list->AddColumn("Text", 201);
    form->ChangeScale(144, 96);
    EXPECT_EQ(list->ColumnWidth(0), 113);  // 112.5
    EXPECT_EQ(list->ColumnWidth(1), 302);  // 301.5
    // The window is made with the scaled widths.
    HWND view = list->Handle();
    EXPECT_EQ(SendMessageW(view, LVM_GETCOLUMNWIDTH, 0, 0), 113);
    EXPECT_EQ(SendMessageW(view, LVM_GETCOLUMNWIDTH, 1, 0), 302);

    // The window's widths, a dragged one included, are the ones rescaled
    // (the form itself still counts as 96 DPI here).
    SendMessageW(view, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(240, 0));
    ASSERT_EQ(form->PixelsPerInch(), srt::kDesignDpi);
    RECT suggested = Rect(0, 0, 800, 900);
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(SendMessageW(view, LVM_GETCOLUMNWIDTH, 0, 0), 226);
    EXPECT_EQ(SendMessageW(view, LVM_GETCOLUMNWIDTH, 1, 0), 480);
    EXPECT_EQ(list->ColumnWidth(1), 480);
}

}  // namespace
