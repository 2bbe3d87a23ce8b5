#include <gtest/gtest.h>

#include "skin/menu/menulayout.h"

namespace srt {
namespace {

TEST(MenuBarLayout, StartsAfterTheCapOrAtTwelveWhenTheCapDoesNotFit) {
    EXPECT_EQ(MenuBarStart(true, false, 2, 5, 300), 6);
    EXPECT_EQ(MenuBarStart(true, true, 2, 5, 300), 13);
    EXPECT_EQ(MenuBarStart(true, false, 400, 5, 300), 12);
    EXPECT_EQ(MenuBarStart(false, false, 2, 5, 300), 6);
    EXPECT_EQ(MenuBarStart(false, true, 2, 5, 300), 6);
}

TEST(MenuBarLayout, EmptyCaptionsTakeNoRoom) {
    const auto r = LayoutMenuBar({20, -1, 30}, 6, 300, 19, false);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0], (TSkinRect{6, 0, 36, 18}));
    EXPECT_EQ(r[1].Width(), 0);
    EXPECT_EQ(r[1].Left, 36);
    EXPECT_EQ(r[2], (TSkinRect{36, 0, 76, 18}));
}

TEST(MenuBarLayout, RightToLeftRunsFromTheRightEdge) {
    const auto r = LayoutMenuBar({20, 30}, 13, 300, 19, true);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0], (TSkinRect{257, 0, 287, 18}));
    EXPECT_EQ(r[1], (TSkinRect{217, 0, 257, 18}));
}

TEST(MenuBarLayout, GapsScaleWithTheDpi) {
    EXPECT_EQ(MenuBarStart(true, false, 4, 10, 600, 192), 12);
    EXPECT_EQ(MenuBarStart(true, true, 4, 10, 600, 192), 26);
    EXPECT_EQ(MenuBarStart(true, false, 800, 10, 600, 192), 24);
    EXPECT_EQ(MenuBarStart(false, false, 4, 10, 600, 144), 9);
    const auto r = LayoutMenuBar({40, 60}, 12, 600, 38, false, 192);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0], (TSkinRect{12, 0, 72, 37}));
    EXPECT_EQ(r[1], (TSkinRect{72, 0, 152, 37}));
}

TEST(MenuKeys, ArrowsWrapAtTheEnds) {
    EXPECT_EQ(MenuKeyTarget(TMenuKeyMove::Right, 0, 3, false, false), 1);
    EXPECT_EQ(MenuKeyTarget(TMenuKeyMove::Right, 2, 3, false, false), 0);
    EXPECT_EQ(MenuKeyTarget(TMenuKeyMove::Left, 0, 3, false, false), 2);
    EXPECT_EQ(MenuKeyTarget(TMenuKeyMove::Left, 2, 3, false, false), 1);
}

TEST(MenuKeys, SubMenusKeepTheArrowsForThemselves) {
    // Right on an item with a sub-menu opens that sub-menu instead.
    EXPECT_EQ(MenuKeyTarget(TMenuKeyMove::Right, 0, 3, true, false), -1);
    // Left inside a nested sub-menu closes that sub-menu instead.
    EXPECT_EQ(MenuKeyTarget(TMenuKeyMove::Left, 1, 3, false, true), -1);
    EXPECT_EQ(MenuKeyTarget(TMenuKeyMove::Left, 1, 3, true, false), 0);
    EXPECT_EQ(MenuKeyTarget(TMenuKeyMove::Right, -1, 3, false, false), -1);
    EXPECT_EQ(MenuKeyTarget(TMenuKeyMove::Left, 0, 0, false, false), -1);
}

TEST(MenuBarLayout, CentredTextSitsInTheMiddle) {
    EXPECT_EQ(CentreText({10, 0, 50, 18}, 20, 12), (TSkinRect{20, 3, 40, 15}));
}

}  // namespace
}  // namespace srt
