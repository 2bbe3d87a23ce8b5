// The optional content colours of a definition, their brushes, and the
// contrast arithmetic the label rule relies on.
#include <gtest/gtest.h>

#include "skin/data/bmp.h"
#include "skin/data/contrast.h"
#include "skin/data/definition.h"

#include <array>
#include <memory>
#include <string>

namespace srt {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::unique_ptr<TSkinElements> Read(const std::string& definition) {
    TSkinReader reader;
    EXPECT_TRUE(reader.LoadFromStream(PackSkin(BuildSkinPackage({{"skin.ini", Bytes(definition.begin(), definition.end())}}))));
    auto e = std::make_unique<TSkinElements>();
    EXPECT_TRUE(LoadSkinDefinition(*e, reader));
    return e;
}

std::array<TColour, 9> Content(const TSkinColours& c) {
    return {c.Client, c.ClientText, c.Edit, c.EditText, c.EditHilight, c.EditHilightText, c.DisabledText,
            c.LabelText, c.HotText};
}

TEST(ContentColours, AbsentKeysLeaveEveryContentColourUnset) {
    // A definition of today's keys only, like the stored Daylight skin.
    const auto e = Read("[Colours]\nWindowText=1 2 3\nButtonFace=200 200 200\nHilight=0 0 128\n");
    for (TColour c : Content(e->Colours)) EXPECT_EQ(c, kNoColour);
    EXPECT_FALSE(HasColour(e->Colours.Client));
    EXPECT_EQ(e->Colours.WindowText, RGBColour(1, 2, 3));
}

TEST(ContentColours, EveryKeyIsReadOnItsOwn) {
    const auto e = Read(
        "[Colours]\nClient=1 1 1\nClientText=2 2 2\nEdit=3 3 3\nEditText=4 4 4\nEditHilight=5 5 5\n"
        "EditHilightText=6 6 6\nDisabledText=7 7 7\nLabelText=8 8 8\nHotText=9,9,9\n");
    const auto c = Content(e->Colours);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(c[static_cast<std::size_t>(i)], RGBColour(i + 1, i + 1, i + 1)) << i;
    // The older keys keep their defaults beside them.
    EXPECT_EQ(e->Colours.ButtonFace, SysColour(15));
}

TEST(ContentColours, APartialSetLeavesTheRestUnset) {
    const auto e = Read("[Colours]\nEdit=0 0 0\nLabelText=255 216 0\n[Other]\nClient=9 9 9\n");
    EXPECT_EQ(e->Colours.Edit, RGBColour(0, 0, 0));
    EXPECT_EQ(e->Colours.LabelText, RGBColour(255, 216, 0));
    EXPECT_EQ(e->Colours.Client, kNoColour);  // only section Colours counts
    EXPECT_EQ(e->Colours.EditText, kNoColour);
}

TEST(Contrast, FollowsTheGuidelinesFormula) {
    EXPECT_NEAR(ContrastRatio(RGBColour(0, 0, 0), RGBColour(255, 255, 255)), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(RGBColour(255, 255, 255), RGBColour(0, 0, 0)), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(RGBColour(119, 119, 119), RGBColour(255, 255, 255)), 4.48, 0.01);
    EXPECT_DOUBLE_EQ(ContrastRatio(RGBColour(10, 20, 30), RGBColour(10, 20, 30)), 1.0);
    // Channels weigh differently: pure blue is darker than pure red.
    EXPECT_LT(RelativeLuminance(RGBColour(0, 0, 255)), RelativeLuminance(RGBColour(255, 0, 0)));
    EXPECT_NEAR(RelativeLuminance(RGBColour(0, 0, 255)), 0.0722, 1e-9);
}

TEST(Contrast, TheMainWindowsBlueLabelFailsOnTheDarkSkins) {
    const std::uint32_t blue = RGBColour(0, 0, 255);
    EXPECT_LT(ContrastRatio(blue, RGBColour(0x2A, 0x2E, 0x35)), kOwnColourContrast);  // Dusk's face
    EXPECT_LT(ContrastRatio(blue, RGBColour(0, 0, 0)), kOwnColourContrast);           // High Contrast's
    EXPECT_GE(ContrastRatio(blue, RGBColour(0xF0, 0xF2, 0xF5)), kOwnColourContrast);  // Daylight's
}

}  // namespace
}  // namespace srt
