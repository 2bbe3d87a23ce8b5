#include "skin/data/ini.h"

#include <gtest/gtest.h>

namespace srt {
namespace {

TEST(Ini, FollowsTheProfileRules) {
    const TIniText ini(
        "stray=before any section\r\n"
        "[Personality]\r\n"
        "  Rightwidth =  7  \r\n"
        "rightWIDTH=8\r\n"
        "Quoted=\"  a b  \"\n"
        "Single='x'\r"
        "Mixed=\"x'\n"
        "; comment=1\n"
        "Empty=\n"
        "NoEquals\n"
        "[ personality ]\n"
        "Later=1\n"
        "[Colours]\r\n"
        "ButtonFace=1 2 3");
    EXPECT_EQ(ini.ReadString("PERSONALITY", "RightWidth", "d"), "7");  // first key wins
    EXPECT_EQ(ini.ReadString("Personality", "Quoted", "d"), "  a b  ");
    EXPECT_EQ(ini.ReadString("Personality", "Single", "d"), "x");
    EXPECT_EQ(ini.ReadString("Personality", "Mixed", "d"), "\"x'");
    EXPECT_EQ(ini.ReadString("Personality", "; comment", "d"), "d");
    EXPECT_EQ(ini.ReadString("Personality", "Empty", "d"), "");
    EXPECT_EQ(ini.ReadString("Personality", "Later", "d"), "d");  // first section wins
    EXPECT_EQ(ini.ReadString("Personality", "stray", "d"), "d");
    EXPECT_EQ(ini.ReadString("Colours", "ButtonFace", "d"), "1 2 3");
    EXPECT_EQ(ini.ReadString("Missing", "ButtonFace", "d"), "d");
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"Personality", "personality", "Colours"}));
}

TEST(Ini, CutsLongValuesAndLongSectionLists) {
    const std::string big(5000, 'v');
    EXPECT_EQ(TIniText("[s]\nk=" + big).ReadString("s", "k", "").size(), TIniText::kMaxValue);

    std::string text;
    const std::string name(99, 'n');  // 100 bytes per name in the list
    for (int i = 0; i < 200; ++i) text += "[" + name + "]\n";
    EXPECT_EQ(TIniText(text).SectionNames().size(), 163u);  // 163 * 100 + 1 <= 16384
}

TEST(Ini, ReadsIntegers) {
    const TIniText ini("[s]\na=42\nb=-7\nc=0x1F\nd=$ff\ne=x10\nf=12abc\ng=\nh=0x\ni=2147483648\nj=-2147483648\nk=+3");
    EXPECT_EQ(ini.ReadInteger("s", "a", 0), 42);
    EXPECT_EQ(ini.ReadInteger("s", "b", 0), -7);
    EXPECT_EQ(ini.ReadInteger("s", "c", 0), 31);
    EXPECT_EQ(ini.ReadInteger("s", "d", 0), 255);
    EXPECT_EQ(ini.ReadInteger("s", "e", 0), 16);
    EXPECT_EQ(ini.ReadInteger("s", "f", 5), 5);
    EXPECT_EQ(ini.ReadInteger("s", "g", 5), 5);
    EXPECT_EQ(ini.ReadInteger("s", "h", 5), 5);
    EXPECT_EQ(ini.ReadInteger("s", "i", 5), 5);
    EXPECT_EQ(ini.ReadInteger("s", "j", 5), -2147483647 - 1);
    EXPECT_EQ(ini.ReadInteger("s", "k", 5), 3);
    EXPECT_EQ(ini.ReadInteger("s", "absent", -1), -1);
}

TEST(Ini, ReadsTextsWithAByteOrderMark) {
    EXPECT_EQ(TIniText("\xEF\xBB\xBF[Buttons]\r\nTile=1").ReadInteger("Buttons", "Tile", 0), 1);
    const std::string le("\xFF\xFE[\0s\0]\0\n\0k\0=\0\xE9\0\x3A\x04", 18);
    EXPECT_EQ(TIniText(le).ReadString("s", "k", ""), "\xE9?");
    const std::string be("\xFE\xFF\0[\0s\0]\0\n\0k\0=\0v", 16);
    EXPECT_EQ(TIniText(be).ReadString("s", "k", ""), "v");
}

}  // namespace
}  // namespace srt
