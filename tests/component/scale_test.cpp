// A form's layout, given at 96 DPI, scaled to another: positions, sizes, its
// own fonts, list columns and the client size, before the window exists and again on
// WM_DPICHANGED with the suggested rectangle.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "component/comctrls.h"
#include "component/dpi.h"
#include "component/forms.h"
#include "component/groups.h"
#include "component/pickers.h"

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

    // From 144 to 120 the layout is where 120 DPI puts the 96-DPI one (one
    // rounding, not two); a control moved since is rescaled from where it is.
    button->SetBounds(30, 30, 90, 30);
    suggested = Rect(50, 60, 500, 600);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(120, 120), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(form->PixelsPerInch(), 120);
    EXPECT_TRUE(SameRect(panel->BoundsRect(), Rect(10, 10, 471, 451)));  // 471.25, 451.25
    EXPECT_TRUE(SameRect(button->BoundsRect(), Rect(25, 25, 75, 25)));
    EXPECT_EQ(label->Font()->Height(), -15);
    GetWindowRect(window, &after);
    EXPECT_TRUE(SameRect(after, suggested));
}

TEST_F(Scaling, ALayoutTakenThroughOtherDpisAndBackHasItsPixelsAgain) {
    // Small odd sizes, where rounding at every step would drift.
    label->SetBounds(3, 5, 7, 13);
    const RECT designed = label->BoundsRect();
    int at = 96;
    for (int dpi : {120, 144, 192, 144, 120, 96}) {
        form->ChangeScale(dpi, at);
        at = dpi;
        const RECT expected = Rect(srt::ScaleToDpi(3, dpi), srt::ScaleToDpi(5, dpi), srt::ScaleToDpi(7, dpi),
                                   srt::ScaleToDpi(13, dpi));
        EXPECT_TRUE(SameRect(label->BoundsRect(), expected)) << dpi;
        EXPECT_EQ(label->LayoutDpi(), dpi);
    }
    EXPECT_TRUE(SameRect(label->BoundsRect(), designed));

    // Through the window: 96 to 144 and back.
    HWND window = form->Handle();
    RECT suggested = Rect(0, 0, 700, 800);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_TRUE(SameRect(panel->BoundsRect(), Rect(8, 8, 377, 361)));
    EXPECT_TRUE(SameRect(button->BoundsRect(), Rect(16, 71, 75, 25)));
    EXPECT_TRUE(SameRect(label->BoundsRect(), designed));
    EXPECT_EQ(label->Font()->Height(), -12);
}

TEST_F(Scaling, AButtonGroupLaysOutItsButtonsOnceAtItsDpi) {
    auto* group = new TRadioGroup(form);
    group->SetParent(form);
    group->SetBounds(8, 8, 190, 78);
    group->SetItems({"First", "Second", "Third"});
    std::vector<RECT> designed;
    for (int i = 0; i < group->ButtonCount(); ++i) designed.push_back(group->Buttons(i)->BoundsRect());
    form->HandleNeeded();

    for (int dpi : {144, 192, 120}) {
        RECT suggested = Rect(0, 0, 900, 900);
        SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        for (int i = 0; i < group->ButtonCount(); ++i) {
            const RECT r = group->Buttons(i)->BoundsRect(), d = designed[static_cast<std::size_t>(i)];
            EXPECT_NEAR(r.left, srt::ScaleToDpi(d.left, dpi), 1) << dpi << " " << i;
            EXPECT_NEAR(r.top, srt::ScaleToDpi(d.top, dpi), 1) << dpi << " " << i;
            EXPECT_NEAR(r.right - r.left, srt::ScaleToDpi(d.right - d.left, dpi), 1) << dpi << " " << i;
            EXPECT_NEAR(r.bottom - r.top, srt::ScaleToDpi(d.bottom - d.top, dpi), 1) << dpi << " " << i;
            EXPECT_LE(r.bottom, group->Height()) << "inside the group at " << dpi;
        }
    }
}

TEST_F(Scaling, AComboBoxKeepsRoomForItsListAtEveryDpi) {
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetStyle(csDropDownList);
    combo->SetBounds(8, 8, 190, 22);
    combo->SetItems({"One", "Two", "Three", "Four"});
    HWND window = combo->Handle();
    RECT suggested = Rect(0, 0, 900, 900);
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(combo->Height(), 33);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(window, &info));
    SendMessageW(window, CB_SHOWDROPDOWN, TRUE, 0);
    RECT list;
    GetClientRect(info.hwndList, &list);
    const LRESULT item = SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0);
    SendMessageW(window, CB_SHOWDROPDOWN, FALSE, 0);
    ASSERT_GT(item, 0);
    EXPECT_GE(list.bottom / item, 4) << "every item shows";
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
