// Menus at a DPI other than the screen's: the component layer's items are
// measured and drawn in the menu font of the menu's DPI with its gaps
// scaled, and the platform's check mark grows with the glyph box.
#include <windows.h>

#include <gtest/gtest.h>

#include "component/dpi.h"
#include "component/gdi.h"
#include "component/menus.h"
#include "skin/menu/skinpopup.h"
#include "tests/support/skinfile.h"

namespace srt {
namespace {

TMenuItem* Item(TComponent* owner, const char* caption) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    return item;
}

struct TMeasured {
    UINT width, height;
};

TMeasured Measure(TMenu& menu, TMenuItem& item) {
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = item.Command();
    EXPECT_TRUE(menu.DispatchMeasure(mis));
    return {mis.itemWidth, mis.itemHeight};
}

// The height of the font selected when the item is drawn.
LONG DrawnFontHeight(TMenu& menu, TMenuItem& item) {
    LONG height = 0;
    item.OnDrawItem.Code = [&height](TObject*, HDC dc, const RECT&, bool) {
        LOGFONTW lf{};
        GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
        height = lf.lfHeight;
    };
    TBitmap canvas(100, 40);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = item.Command();
    dis.hDC = canvas.Canvas();
    dis.rcItem = {0, 0, 100, 40};
    EXPECT_TRUE(menu.DispatchDraw(dis));
    item.OnDrawItem = {};
    return height;
}

TEST(MenusAtDpi, ItemsMeasureAndDrawInTheFontOfTheMenusDpi) {
    TPopupMenu menu(nullptr);
    TMenuItem* open = Item(&menu, "&Open subtitles");
    TMenuItem* line = Item(&menu, "-");
    menu.Items()->Add(open);
    menu.Items()->Add(line);
    menu.SetOwnerDraw(true);
    menu.Handle();

    const int system = SystemDpi();
    menu.SetDpi(system);
    const TMeasured text1 = Measure(menu, *open), line1 = Measure(menu, *line);
    const LONG font1 = DrawnFontHeight(menu, *open);
    ASSERT_NE(font1, 0);
    EXPECT_EQ(line1.height, static_cast<UINT>(ScaleToDpi(8, system)));

    // Twice the screen's DPI: the font twice as high, the separator too, the
    // item about twice as large.
    menu.SetDpi(2 * system);
    const TMeasured text2 = Measure(menu, *open), line2 = Measure(menu, *line);
    EXPECT_EQ(DrawnFontHeight(menu, *open), 2 * font1);
    EXPECT_EQ(line2.height, 2 * line1.height);
    EXPECT_NEAR(static_cast<int>(text2.height), 2 * static_cast<int>(text1.height), 3);
    EXPECT_NEAR(static_cast<int>(text2.width), 2 * static_cast<int>(text1.width), 6);
}

// Pixels of `colour` in the glyph column of a checked item without image,
// drawn at `dpi`.
int CheckMarkPixels(::TSkinData& data, int dpi) {
    const TSkinElements& skin = data.ElementsAt(dpi);
    TPopupMenu menu(nullptr);
    TMenuItem* item = Item(&menu, "");
    item->SetChecked(true);
    menu.Items()->Add(item);
    const int h = ScaleToDpi(22, dpi), column = ScaleToDpi(20, dpi);
    TBitmap canvas(ScaleToDpi(200, dpi), h);
    GdiFont font(CreateMenuFont(false, dpi));
    GdiSelect select(canvas.Canvas(), font);
    DrawPlainMenuItem(skin, *item, canvas.Canvas(), false, {0, 0, canvas.Width(), h});
    GdiFlush();
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    int n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < column; ++x) n += canvas.Pixel(x, y) == ink;
    return n;
}

TEST(MenusAtDpi, CheckMarkIsDrawnAtTheItemsDpi) {
    ::TSkinData data{nullptr};
    ASSERT_TRUE(data.LoadFromBytes(SkinBytes("default")));
    const int at96 = CheckMarkPixels(data, 96);
    ASSERT_GT(at96, 5);
    // Four times the pixels at twice the size, give or take the edges.
    const int at192 = CheckMarkPixels(data, 192);
    EXPECT_GE(at192, 3 * at96);
    EXPECT_LE(at192, 5 * at96);
}

}  // namespace
}  // namespace srt
