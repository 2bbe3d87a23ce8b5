// Menus on the platform: the component layer's menus, owner drawing switched
// on, measuring and painting of skinned items read back in pixels, popup
// skins on real "#32768" windows and the skinned menu bar of a form.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "component/menus.h"
#include "skin/draw/elementdraw.h"
#include "skin/form/winskinform.h"
#include "skin/menu/skinpopup.h"
#include "skin/menu/winskinmenu.h"
#include "tests/support/skinfile.h"

namespace srt {
namespace {

COLORREF Gdi(TColour c) { return ColorToRGB(static_cast<TColor>(c)); }

TMenuItem* Item(TComponent* owner, const char* caption, TShortCut shortCut = scNone) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    return item;
}

std::wstring MenuText(HMENU menu, UINT position) {
    wchar_t text[100] = {};
    GetMenuStringW(menu, position, text, 100, MF_BYPOSITION);
    return text;
}

UINT TypeOf(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info.fType;
}

// ---- the component layer

TEST(Menus, ItemsBuildThePlatformMenuWithTextsStatesAndSubMenus) {
    TMainMenu menu(nullptr);
    TMenuItem* file = Item(&menu, "&File");
    TMenuItem* save = Item(&menu, "&Save", scCtrl | 'S');
    TMenuItem* line = Item(&menu, "-");
    TMenuItem* quit = Item(&menu, "E&xit");
    quit->SetEnabled(false);
    save->SetChecked(true);
    file->Add(save);
    file->Add(line);
    file->Add(quit);
    menu.Items()->Add(file);
    menu.Items()->Add(Item(&menu, "&Help"));

    HMENU bar = menu.Handle();
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(MenuText(bar, 0), L"&File");
    HMENU sub = GetSubMenu(bar, 0);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub, file->Handle());
    EXPECT_EQ(GetSubMenu(bar, 1), nullptr);
    ASSERT_EQ(GetMenuItemCount(sub), 3);
    EXPECT_EQ(MenuText(sub, 0), L"&Save\tCtrl+S");
    EXPECT_TRUE(TypeOf(sub, 1) & MFT_SEPARATOR);
    EXPECT_TRUE(GetMenuState(sub, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(sub, 2, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_EQ(GetMenuItemID(sub, 0), save->Command());
    EXPECT_NE(save->Command(), quit->Command());

    // A change rebuilds the items behind the same handles.
    quit->SetEnabled(true);
    EXPECT_EQ(GetSubMenu(bar, 0), sub);
    EXPECT_FALSE(GetMenuState(sub, 2, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_EQ(menu.FindItem(reinterpret_cast<std::uintptr_t>(sub), TFindItemKind::fkHandle), file);
    EXPECT_EQ(menu.FindItem(quit->Command(), TFindItemKind::fkCommand), quit);
    EXPECT_EQ(menu.FindItem(0, TFindItemKind::fkCommand), nullptr);
    EXPECT_EQ(save->GetParentMenu(), &menu);
}

TEST(Menus, CommandsReachTheirItemAndOwnerDrawKeepsTheTexts) {
    TPopupMenu menu(nullptr);
    TMenuItem* a = Item(&menu, "&Copy");
    TMenuItem* b = Item(&menu, "&Paste");
    menu.Items()->Add(a);
    menu.Items()->Add(b);
    int clicks = 0;
    b->OnClick.Code = [&](TObject* sender) { clicks += sender == b ? 1 : 100; };
    EXPECT_TRUE(menu.DispatchCommand(b->Command()));
    b->SetEnabled(false);
    EXPECT_TRUE(menu.DispatchCommand(b->Command()));  // a disabled item does not click
    EXPECT_FALSE(menu.DispatchCommand(0xEFFF));
    EXPECT_EQ(clicks, 1);

    HMENU h = menu.Handle();
    EXPECT_FALSE(TypeOf(h, 0) & MFT_OWNERDRAW);
    menu.SetOwnerDraw(true);
    EXPECT_TRUE(TypeOf(h, 0) & MFT_OWNERDRAW);
    EXPECT_EQ(MenuText(h, 1), L"&Paste");
    menu.SetOwnerDraw(false);
    EXPECT_FALSE(TypeOf(h, 1) & MFT_OWNERDRAW);
}

TEST(Menus, MakeMenuOwnerDrawSwitchesEveryLevelAndKeepsTexts) {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    HMENU recent = CreatePopupMenu();
    AppendMenuW(recent, MF_STRING, 11, L"one.srt");
    AppendMenuW(file, MF_STRING, 10, L"&Open");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), L"&Recent");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    MakeMenuOwnerDraw(bar);
    for (HMENU m : {bar, file, recent})
        for (int i = 0; i < GetMenuItemCount(m); ++i) EXPECT_TRUE(TypeOf(m, i) & MFT_OWNERDRAW);
    EXPECT_TRUE(TypeOf(file, 1) & MFT_SEPARATOR);
    EXPECT_EQ(MenuText(file, 0), L"&Open");
    EXPECT_EQ(MenuText(recent, 0), L"one.srt");
    EXPECT_EQ(GetSubMenu(file, 2), recent);
    DestroyMenu(bar);
}

// ---- measuring and drawing

class MenuSkin : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(data.LoadFromBytes(SkinBytes("default")));
        ASSERT_TRUE(data.MenuItem && !data.MenuItem->Image.Empty());
        font.Reset(CreateMenuFont());
        canvas.SetSize(200, 22);
        select = std::make_unique<GdiSelect>(canvas.Canvas(), font);
    }
    // The frame of MenuItem composed at the canvas size.
    TBitmap Frame(int frame) {
        TDataSkinObject& e = *data.MenuItem;
        return CreateSkinBitmap({0, 0, canvas.Width(), canvas.Height()}, e.Image, {5, frame},
                                MarginsOf(e),
                                FillOf(e));
    }
    // Pixels of the canvas that differ from `colour` in column range.
    int CountColour(COLORREF colour, int x0 = 0, int x1 = -1) {
        if (x1 < 0) x1 = canvas.Width();
        int n = 0;
        for (int y = 0; y < canvas.Height(); ++y)
            for (int x = x0; x < x1; ++x) n += canvas.Pixel(x, y) == colour;
        return n;
    }
    ::TSkinData data{nullptr};
    GdiFont font;
    TBitmap canvas;
    std::unique_ptr<GdiSelect> select;
    RECT rect{0, 0, 200, 22};
};

TEST_F(MenuSkin, MeasuringAddsTheLeftWidthAndTheGlyphColumn) {
    TPopupMenu menu(nullptr);
    TMenuItem* item = Item(&menu, "&Open", scCtrl | 'O');
    menu.Items()->Add(item);
    HDC dc = canvas.Canvas();
    int w0 = 0, h0 = 0;
    item->DefaultMeasure(dc, w0, h0);
    ASSERT_GT(w0, 0);
    const int lw = data.MenuItem->LeftWidth;

    int w = 0, h = 0;
    MeasureSkinItem(data, *item, dc, w, h);
    EXPECT_EQ(w, w0 + lw + 35);
    EXPECT_EQ(h, h0);

    TImageList images(nullptr);
    menu.SetImages(&images);
    item->DefaultMeasure(dc, w0, h0);
    MeasureSkinItem(data, *item, dc, w, h);
    EXPECT_EQ(w, w0 + lw + 10);
    int sw = w0, sh = h0;
    MeasureSysMenuItem(data, *item, dc, sw, sh);
    EXPECT_EQ(sw, w0 + lw + 12);
    EXPECT_EQ(sh, h0);

    // An event set on the item does not run inside the skin's measuring.
    bool ran = false;
    item->OnMeasureItem.Code = [&](TObject*, HDC, int&, int&) { ran = true; };
    MeasureSkinItem(data, *item, dc, w, h);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(static_cast<bool>(item->OnMeasureItem));
    menu.SetImages(nullptr);
}

TEST_F(MenuSkin, MeasuringPlatformItemsReadsTheirTexts) {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 5, L"Undo");
    AppendMenuW(menu, MF_SEPARATOR, 6, nullptr);
    SIZE text{};
    GetTextExtentPoint32W(canvas.Canvas(), L"Undo", 4, &text);
    int w = 0, h = 15;
    MeasureMenuText(data, menu, 5, canvas.Canvas(), w, h);
    EXPECT_EQ(w, text.cx + 26 + data.MenuItem->LeftWidth);
    EXPECT_EQ(h, 19);
    w = 0;
    h = 15;
    MeasureMenuText(data, menu, 6, canvas.Canvas(), w, h);
    EXPECT_EQ(h, 8);
    DestroyMenu(menu);
}

TEST_F(MenuSkin, SelectedAndNormalItemsShowTheirFrames) {
    TPopupMenu menu(nullptr);
    TMenuItem* item = Item(&menu, "");
    menu.Items()->Add(item);
    const COLORREF back = Gdi(data.Colours.Menu);
    for (int frame : {1, 4}) {
        DrawSkinMenuItem(data, *item, canvas.Canvas(), rect, frame == 4);
        TBitmap expected = Frame(frame);
        int compared = 0;
        for (int y = 0; y < canvas.Height(); ++y)
            for (int x = 0; x < canvas.Width(); x += 7) {
                const COLORREF e = expected.Pixel(x, y);
                EXPECT_EQ(canvas.Pixel(x, y), e == kSkinKey ? back : e) << frame << " at " << x << "," << y;
                ++compared;
            }
        EXPECT_GT(compared, 100);
    }
    // The two frames differ somewhere.
    TBitmap a = Frame(1), b = Frame(4);
    bool differ = false;
    for (int x = 0; x < a.Width() && !differ; ++x) differ = a.Pixel(x, a.Height() / 2) != b.Pixel(x, b.Height() / 2);
    EXPECT_TRUE(differ);
}

TEST_F(MenuSkin, SeparatorsWithAndWithoutAMenuItem) {
    TPopupMenu menu(nullptr);
    TMenuItem* line = Item(&menu, "-");
    menu.Items()->Add(line);
    canvas.SetSize(200, 8);
    select = std::make_unique<GdiSelect>(canvas.Canvas(), font);
    const RECT r{0, 0, 200, 8};
    DrawSkinMenuItem(data, *line, canvas.Canvas(), r, false);
    // Frame 2 of MenuItem, bottom rows, middle stretched.
    TDataSkinObject& e = *data.MenuItem;
    const int fw = e.Image.Width() / 5, ih = e.Image.Height();
    const COLORREF mid = e.Image.Pixel(fw + fw / 2, ih - 4);
    EXPECT_EQ(canvas.Pixel(100, 4), mid == kSkinKey ? Gdi(data.Colours.Menu) : mid);

    // Known only by its menu: frame 1 with an etched line 4 pixels down.
    HMENU raw = CreatePopupMenu();
    AppendMenuW(raw, MF_SEPARATOR, 7, nullptr);
    DrawForeignMenuItem(data, raw, 7, false, r, canvas.Canvas());
    EXPECT_EQ(canvas.Pixel(100, 4), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.Pixel(100, 5), GetSysColor(COLOR_BTNHIGHLIGHT));
    DestroyMenu(raw);
}

TEST_F(MenuSkin, DisabledTextTakesThePlatformShadowWhenTheSkinsShadowIsTheTextColour) {
    TPopupMenu menu(nullptr);
    TMenuItem* item = Item(&menu, "WWWWWWWW");
    menu.Items()->Add(item);
    item->SetEnabled(false);
    data.MenuItem.reset();  // colours only: the text stands on "Menu"
    data.Colours.ButtonShadow = RGBColour(200, 0, 0);
    DrawPlainMenuItem(data, *item, canvas.Canvas(), false, rect);
    EXPECT_GT(CountColour(RGB(200, 0, 0)), 10);
    data.Colours.ButtonShadow = data.Colours.MenuText;
    DrawPlainMenuItem(data, *item, canvas.Canvas(), false, rect);
    EXPECT_GT(CountColour(GetSysColor(COLOR_BTNSHADOW)), 10);
    EXPECT_EQ(CountColour(Gdi(data.Colours.MenuText)), 0);
}

TEST_F(MenuSkin, TheShortcutEndsElevenPixelsBeforeTheRightEdge) {
    TPopupMenu menu(nullptr);
    TMenuItem* item = Item(&menu, "Save", scCtrl | 'S');
    menu.Items()->Add(item);
    data.MenuItem.reset();
    DrawPlainMenuItem(data, *item, canvas.Canvas(), false, rect);
    const COLORREF back = Gdi(data.Colours.Menu);
    int right = -1;
    for (int x = 0; x < canvas.Width(); ++x)
        for (int y = 0; y < canvas.Height(); ++y)
            if (canvas.Pixel(x, y) != back) right = x;
    EXPECT_LT(right, 200 - 11);
    EXPECT_GE(right, 200 - 11 - 3);
}

TEST_F(MenuSkin, CheckedItemsWithoutImageShowTheCheckMark) {
    TPopupMenu menu(nullptr);
    TMenuItem* item = Item(&menu, "");
    menu.Items()->Add(item);
    data.MenuItem.reset();
    DrawPlainMenuItem(data, *item, canvas.Canvas(), false, rect);
    const int plain = CountColour(GetSysColor(COLOR_BTNTEXT), 0, 18);
    item->SetChecked(true);
    DrawPlainMenuItem(data, *item, canvas.Canvas(), false, rect);
    EXPECT_GT(CountColour(GetSysColor(COLOR_BTNTEXT), 0, 18), plain + 5);
    EXPECT_EQ(CountColour(GetSysColor(COLOR_BTNTEXT), 18), 0);
}

}  // namespace
}  // namespace srt
