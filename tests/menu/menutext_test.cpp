#include <gtest/gtest.h>

#include "component/menutext.h"

TEST(MenuText, AcceleratorIsTheCharacterAfterASingleAmpersand) {
    EXPECT_EQ(AcceleratorOf("&File"), 'F');
    EXPECT_EQ(AcceleratorOf("Save &as"), 'A');
    EXPECT_EQ(AcceleratorOf("Fish && &Chips"), 'C');
    EXPECT_EQ(AcceleratorOf("No mark"), 0);
    EXPECT_EQ(AcceleratorOf("Trailing&"), 0);
    EXPECT_EQ(AcceleratorOf("&&"), 0);
    EXPECT_TRUE(IsAccelerator("&File", 'f'));
    EXPECT_TRUE(IsAccelerator("&File", 'F'));
    EXPECT_FALSE(IsAccelerator("&File", 'i'));
    EXPECT_FALSE(IsAccelerator("", 0));
}

TEST(MenuText, StrippingKeepsLiteralAmpersands) {
    EXPECT_EQ(StripHotkey("&File"), "File");
    EXPECT_EQ(StripHotkey("Fish && &Chips"), "Fish & Chips");
    EXPECT_EQ(StripHotkey("End&"), "End&");
    EXPECT_EQ(StripHotkey(""), "");
}

TEST(MenuText, ShortcutNamesRoundTrip) {
    EXPECT_EQ(ShortCutToText(scCtrl | 'S'), "Ctrl+S");
    EXPECT_EQ(ShortCutToText(scShift | 0x73), "Shift+F4");
    EXPECT_EQ(ShortCutToText(scShift | scCtrl | 0x2E), "Shift+Ctrl+Del");
    EXPECT_EQ(ShortCutToText(scNone), "");
    for (TShortCut s : {TShortCut(scCtrl | 'S'), TShortCut(scShift | 0x73), TShortCut(scAlt | 0x0D),
                        TShortCut(0x70), TShortCut(scCtrl | '0')})
        EXPECT_EQ(TextToShortCut(ShortCutToText(s)), s) << ShortCutToText(s);
    EXPECT_EQ(TextToShortCut("ctrl+s"), scCtrl | 'S');
    EXPECT_EQ(TextToShortCut("Hyper+S"), scNone);
    EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
    EXPECT_EQ(TextToShortCut(""), scNone);
}
