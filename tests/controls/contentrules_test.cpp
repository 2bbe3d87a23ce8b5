// The colour choices of the control skins under a skin's content colours.
#include <gtest/gtest.h>

#include "skin/controls/contentrules.h"

namespace srt {
namespace {

constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kDarkGrey = 0x383838, kPale = 0xE0E0E0;

TEST(TabCaptionColour, KeepsTheElementsColourUnlessClientTextReadsBetter) {
    // Without ClientText (a skin that predates the key) nothing changes,
    // however poor the element's colour is.
    EXPECT_EQ(TabCaptionColour(kWhite, kPale, kNoColour), kPale);
    // ClientText wins on a face where it stands out more, and only there.
    EXPECT_EQ(TabCaptionColour(kDarkGrey, kPale, kWhite), kWhite);
    EXPECT_EQ(TabCaptionColour(kWhite, kBlack, kPale), kBlack);
    // Equal contrast keeps the element's own.
    EXPECT_EQ(TabCaptionColour(kBlack, kWhite, kWhite), kWhite);
}

TEST(ItemColours, SelectionNeedsBothKeysAndWinsOverHot) {
    TSkinColours c;
    EXPECT_FALSE(HasColour(ItemColours(c, true, true).back));  // Daylight: the control's own
    c.EditHilight = 0x6C7A2E;
    EXPECT_FALSE(HasColour(ItemColours(c, true, false).back)) << "a background without its text";
    c.EditHilightText = kWhite;
    c.Edit = 0x27221F;
    c.HotText = 0xF0B87F;
    EXPECT_EQ(ItemColours(c, true, true).back, c.EditHilight);
    EXPECT_EQ(ItemColours(c, true, true).text, c.EditHilightText);
    EXPECT_EQ(ItemColours(c, false, true).back, c.Edit);
    EXPECT_EQ(ItemColours(c, false, true).text, c.HotText);
    EXPECT_FALSE(HasColour(ItemColours(c, false, false).text));
}

TEST(Recoloured, MovesTextAndItsSmoothedEdgeAndNothingElse) {
    const std::uint32_t back = 0x1F2227, platformInk = 0x000000, ink = 0xE4E7EB;
    EXPECT_EQ(Recoloured(back, back, platformInk, back, ink), back);
    EXPECT_EQ(Recoloured(platformInk, back, platformInk, back, ink), ink);
    // Half way between the platform's colours lands half way between ours.
    const std::uint32_t half = 0x0F1113;
    const std::uint32_t moved = Recoloured(half, back, platformInk, back, ink);
    for (int s : {0, 8, 16}) {
        const int got = (moved >> s) & 0xFF, from = (back >> s) & 0xFF, to = (ink >> s) & 0xFF;
        EXPECT_NEAR(got, (from + to) / 2, 2) << "channel at " << s;
    }
    // A colour off the way (a selected field, a button's face) stays.
    EXPECT_EQ(Recoloured(0x2E7A6C, back, platformInk, back, ink), 0x2E7A6Cu);
    EXPECT_EQ(Recoloured(kWhite, back, platformInk, back, ink), kWhite);
    // Beyond either end is no text either.
    EXPECT_EQ(Recoloured(0x303540, back, platformInk, back, ink), 0x303540u);
    // Equal colours: nothing can be told apart, nothing moves.
    EXPECT_EQ(Recoloured(0x123456, back, back, back, ink), 0x123456u);
}

}  // namespace
}  // namespace srt
