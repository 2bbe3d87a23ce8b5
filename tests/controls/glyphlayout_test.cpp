#include <gtest/gtest.h>

#include "component/glyphlayout.h"

TEST(GlyphLayout, AutomaticMarginAndSpacingSplitTheRoomInThree) {
    // 100 wide, glyph 16, text 40: margin = spacing = (100 - 56) / 3 = 14.
    TGlyphLayout g = CalcGlyphLayout(100, 30, 16, 16, 40, 13, blGlyphLeft, -1, -1, false);
    EXPECT_EQ(g.glyphX, 14);
    EXPECT_EQ(g.glyphY, 7);
    EXPECT_EQ(g.textLeft, 14 + 16 + 14);
    EXPECT_EQ(g.textTop, 9);
    EXPECT_EQ(g.textRight - g.textLeft, 40);
}

TEST(GlyphLayout, EmptyCaptionCentresTheGlyph) {
    TGlyphLayout g = CalcGlyphLayout(75, 25, 16, 16, 0, 0, blGlyphLeft, -1, 4, false);
    EXPECT_EQ(g.glyphX, (75 - 16) / 2);  // spacing forced to 0
    EXPECT_EQ(g.textLeft, g.glyphX + 16);
}

TEST(GlyphLayout, SpeedButtonMarginIsOneMore) {
    TGlyphLayout bit = CalcGlyphLayout(100, 30, 16, 16, 40, 13, blGlyphRight, -1, 4, false);
    TGlyphLayout speed = CalcGlyphLayout(100, 30, 16, 16, 40, 13, blGlyphRight, -1, 4, true);
    EXPECT_EQ(bit.glyphX, 100 - 20 - 16);
    EXPECT_EQ(speed.glyphX, bit.glyphX - 1);
    EXPECT_EQ(bit.textLeft, bit.glyphX - 4 - 40);
}

TEST(GlyphLayout, VerticalLayouts) {
    TGlyphLayout top = CalcGlyphLayout(60, 60, 16, 16, 30, 13, blGlyphTop, 5, -1, false);
    EXPECT_EQ(top.glyphX, 22);
    EXPECT_EQ(top.glyphY, 5);
    EXPECT_EQ(top.textTop, 5 + 16 + (60 - 21 - 13) / 2);
    TGlyphLayout bottom = CalcGlyphLayout(60, 60, 16, 16, 30, 13, blGlyphBottom, 5, 2, false);
    EXPECT_EQ(bottom.glyphY, 60 - 5 - 16);
    EXPECT_EQ(bottom.textTop, bottom.glyphY - 2 - 13);
}
