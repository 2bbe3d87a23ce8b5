#include "skin/data/definition.h"

#include <gtest/gtest.h>

#include "skin/data/bmp.h"

#include <fstream>
#include <iterator>

namespace srt {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A width x height image whose pixel (x, y) is x + 256 * y.
TBitmap Ramp(int width, int height) {
    TBitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) b.ScanLine(y)[x] = static_cast<std::uint32_t>(x + 256 * y);
    return b;
}

TSkinEntry BmpEntry(std::string name, int width, int height) {
    return {std::move(name), WriteBmp24(Ramp(width, height))};
}

struct Skin {
    TSkinReader reader;
    TSkinElements elements;

    explicit Skin(std::string definition, std::vector<TSkinEntry> bitmaps = {}) {
        bitmaps.insert(bitmaps.begin(), TSkinEntry{"skin.ini", Bytes(definition.begin(), definition.end())});
        EXPECT_TRUE(reader.LoadFromStream(PackSkin(BuildSkinPackage(bitmaps))));
        EXPECT_TRUE(LoadSkinDefinition(elements, reader));
    }
};

const char* const kFullDefinition = R"([TitlebarSkin]
SkinName="Our Test Skin"
[Personality]
Left=c:\skins\left.bmp
LeftTopHeight=20
LeftBotHeight=10
LeftFrame=2
LeftStretch=0
LeftTrans=0
Right=right.bmp
Top=Top.bmp
TopTopHeight=30
TopBotHeight=40
Bottom=bottom.BMP
BottomTrans=0
TextBack=textback.bmp
TextShift=5
TextShiftVert=-2
TextRightClip=60
TextAlignment=1
Textbackground=1
TXTBackleft=3
TXTBackRight=4
ActiveTextR=255
ActiveTextG=128
ActiveTextB=1
InActiveTextR=255
InActiveTextB=1
menuBar=menubar.bmp
TileMenu=1
TileLeftMenu=6
[Fonts]
FontHeight=16
[Colours]
WindowText=49 106 197
ButtonFace=255,0,0
ButtonText=1 2 3
Scrollbar=
[Colour3]
color=10 20 30
[Colours]
WindowText=7 7 7
[Colour0]
[ColourScheme]
color=300 0 0
[Button0]
Action=1
Align=2
Xcoord=-30
Ycoord=4
Visibility=5
Visibility1=6
CombineOp=2
ButtonImage=close.bmp
[BUTTONS]
Bitmap=button.bmp
LeftWidth=3
RightWidth=4
TopHeight=5
BottomHeight=6
Trans=1
Tile=2
CheckButton=check.bmp
RadioButton=radio.bmp
NormalColour=11
NormalColour2=9 9 9
[Button.Radio]
[button1]
Action=2
ButtonImage=max.bmp
[Button2]
Action=3
ButtonImage=help.bmp
[Button3]
Action=-1
frame=5
ButtonImage=close.bmp
[MDICONTROLS]
Image=mdi.bmp
[Progress]
Bitmap=progress.bmp
Chunk=chunk.bmp
Style=2
Tile=2
Trans=1
LeftWidth=1
[GroupBoxEdge]
Image=group.bmp
Style=3
Tile=1
[Toolbars]
Image=missing.bmp
[Tabs]
Image=tabs.bmp
Border=border.bmp
Style=7
[StatusBarEdges]
Image=
[ComboButton]
Image=combo.bmp
[Scrollbar]
Image=scroll.bmp
Tile=2
Trans=1
MouseOverColour2=4 5 6
PressedColour=0x10
[HorzScrollThumb]
Image=thumb.bmp
FrameCount=7
[VertScrollThumb]
Image=thumb.bmp
[Trackbar.ThumbUp]
Image=thumb.bmp
[UpDown.Vert]
Image=updown.bmp
GlyphImage=glyphs.bmp
)";

std::vector<TSkinEntry> FullBitmaps() {
    return {BmpEntry("left.bmp", 4, 30), BmpEntry("right.bmp", 5, 30), BmpEntry("top.bmp", 50, 6),
            BmpEntry("bottom.bmp", 50, 7), BmpEntry("textback.bmp", 20, 18), BmpEntry("menubar.bmp", 40, 20),
            BmpEntry("close.bmp", 60, 20), BmpEntry("max.bmp", 120, 20), BmpEntry("help.bmp", 60, 20),
            BmpEntry("mdi.bmp", 192, 16), BmpEntry("button.bmp", 100, 20), BmpEntry("check.bmp", 52, 13),
            BmpEntry("radio.bmp", 96, 16), BmpEntry("progress.bmp", 30, 10), BmpEntry("chunk.bmp", 8, 10),
            BmpEntry("group.bmp", 20, 10), BmpEntry("tabs.bmp", 50, 20), BmpEntry("border.bmp", 9, 9),
            BmpEntry("combo.bmp", 4, 2), BmpEntry("scroll.bmp", 230, 17), BmpEntry("thumb.bmp", 30, 10),
            BmpEntry("updown.bmp", 80, 10), BmpEntry("glyphs.bmp", 16, 8)};
}

TEST(Definition, FillsTheEdgesTitleAndColours) {
    Skin s(kFullDefinition, FullBitmaps());
    const TSkinElements& e = s.elements;
    EXPECT_EQ(e.SkinName, "Our Test Skin");

    EXPECT_EQ(e.Left->Image.Width(), 4);  // the folder is dropped
    EXPECT_EQ(e.Left->TopHeight, 20);
    EXPECT_EQ(e.Left->BottomHeight, 10);
    EXPECT_EQ(e.Left->LeftWidth, 0);
    EXPECT_EQ(e.Left->FrameCount, 2);
    EXPECT_EQ(e.Left->Tile, 0);
    EXPECT_EQ(e.Left->Trans, 0);
    EXPECT_EQ(e.Right->Image.Width(), 5);
    EXPECT_EQ(e.Right->FrameCount, 1);
    EXPECT_EQ(e.Right->Tile, 1);
    EXPECT_EQ(e.Right->Trans, 1);
    EXPECT_EQ(e.Top->Image.Width(), 50);  // "Top.bmp" is looked up lower-cased
    EXPECT_EQ(e.Top->LeftWidth, 30);
    EXPECT_EQ(e.Top->RightWidth, 40);
    EXPECT_EQ(e.Top->TopHeight, 0);
    EXPECT_TRUE(e.Bottom->Image.Empty());  // ".BMP" in capitals is not a bitmap name
    EXPECT_EQ(e.Bottom->Trans, 0);

    const TDataSkinTitle& t = *e.Title;
    EXPECT_EQ(t.Image.Width(), 20);
    EXPECT_EQ(t.LeftWidth, 5);
    EXPECT_EQ(t.TopHeight, -2);
    EXPECT_EQ(t.RightWidth, 60);
    EXPECT_EQ(t.BottomHeight, 0);
    EXPECT_EQ(t.TextAlignment, 1);
    EXPECT_EQ(t.Textbackground, 1);
    EXPECT_EQ(t.FontHeight, 16);
    EXPECT_EQ(t.TXTBackleft, 3);
    EXPECT_EQ(t.TXTBackRight, 4);
    EXPECT_EQ(t.ActiveText, RGBColour(255, 128, 1));
    EXPECT_EQ(t.InActiveText, kNoColour);  // its green key is missing
    EXPECT_EQ(t.FrameCount, 2);

    const TSkinColours& c = e.Colours;
    EXPECT_EQ(c.WindowText, RGBColour(49, 106, 197));  // the first [Colours] wins
    EXPECT_EQ(c.ButtonFace, RGBColour(255, 0, 0));
    EXPECT_EQ(c.Menubar, RGBColour(255, 0, 0));  // defaults to ButtonFace
    EXPECT_EQ(c.ButtonText, RGBColour(1, 2, 3));
    EXPECT_EQ(c.Scrollbar, SysColour(0));  // empty value
    EXPECT_EQ(c.TitleTextActive, SysColour(9));
    EXPECT_EQ(c.TitleTextNoActive, SysColour(19));
    EXPECT_EQ(c.ButtonHilight, SysColour(20));
    EXPECT_EQ(c.Buttonlight, SysColour(20));
    EXPECT_EQ(c.ButtonShadow, SysColour(16));
    EXPECT_EQ(c.ButtonDkShadow, SysColour(16));
    EXPECT_EQ(c.HilightText, SysColour(14));
    EXPECT_EQ(c.Hilight, SysColour(13));
    EXPECT_EQ(c.MenuBarText, SysColour(7));
    EXPECT_EQ(c.MenuText, SysColour(7));
    EXPECT_EQ(c.Menu, SysColour(4));

    // Colour3, Colour0, ColourScheme in file order; "Colours" is not one.
    EXPECT_EQ(e.ColourList, (std::vector<TColour>{RGBColour(10, 20, 30), SysColour(8), RGBColour(44, 0, 0)}));
}

TEST(Definition, FillsTheCaptionAndMdiButtons) {
    Skin s(kFullDefinition, FullBitmaps());
    const auto& b = s.elements.SysButtons;
    ASSERT_EQ(b.size(), 7u);  // Button0, button1, Button2, Button3 and three MDI records
    EXPECT_EQ(b[0]->Name, "BUTTON0");
    EXPECT_EQ(b[0]->Action, 1);
    EXPECT_EQ(b[0]->Align, 2);
    EXPECT_EQ(b[0]->Xcoord, -30);
    EXPECT_EQ(b[0]->Ycoord, 4);
    EXPECT_EQ(b[0]->Visibility, 5);
    EXPECT_EQ(b[0]->Visibility1, 6);
    EXPECT_EQ(b[0]->CombineOp, 2);
    EXPECT_EQ(b[0]->FrameCount, 3);  // 60 x 20
    EXPECT_EQ(b[1]->Name, "BUTTON1");
    EXPECT_EQ(b[1]->FrameCount, 6);  // 120 x 20
    EXPECT_EQ(b[1]->CombineOp, -1);
    EXPECT_EQ(b[2]->FrameCount, 3);
    EXPECT_TRUE(b[2]->Image.Empty());  // action 3 draws no image
    EXPECT_EQ(b[3]->FrameCount, 5);    // its own frame count wins
    EXPECT_EQ(b[3]->Image.Width(), 60);

    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& m = *b[4 + i];
        EXPECT_EQ(m.Action, 7 + i);
        EXPECT_EQ(m.Align, 100);
        EXPECT_EQ(m.Visibility, 100);
        EXPECT_EQ(m.Visibility1, 100);
        EXPECT_EQ(m.FrameCount, 4);
        EXPECT_EQ(m.Xcoord, (3 - i) * 20);  // 60, 40, 20
        ASSERT_EQ(m.Image.Width(), 64);
        EXPECT_EQ(m.Image.Height(), 16);
        EXPECT_EQ(m.Image.ScanLine(3)[0], static_cast<std::uint32_t>(64 * i + 3 * 256));
    }
}

TEST(Definition, FillsTheElementSections) {
    Skin s(kFullDefinition, FullBitmaps());
    const TSkinElements& e = s.elements;
    const TColour text = RGBColour(1, 2, 3);

    const TDataSkinButton& p = *e.Buttons;
    EXPECT_EQ(p.Image.Width(), 100);
    EXPECT_EQ(p.LeftWidth, 3);
    EXPECT_EQ(p.RightWidth, 4);
    EXPECT_EQ(p.TopHeight, 5);
    EXPECT_EQ(p.BottomHeight, 6);
    EXPECT_EQ(p.Trans, 1);
    EXPECT_EQ(p.Tile, 2);  // not limited here
    EXPECT_EQ(p.FrameCount, 5);
    EXPECT_EQ(p.NormalColour, 11);
    EXPECT_EQ(p.MouseOverColour, -1);
    EXPECT_EQ(p.NormalColour2, RGBColour(9, 9, 9));
    EXPECT_EQ(p.PressedColour2, text);
    EXPECT_EQ(p.CheckButtonFrame, 4);  // 52 / 13
    EXPECT_EQ(p.RadioButtonFrame, 6);  // 96 / 16

    ASSERT_TRUE(e.Progress);
    EXPECT_EQ(e.Progress->Name, "Progress");
    EXPECT_EQ(e.Progress->Image2.Width(), 8);
    EXPECT_EQ(e.Progress->Style, 2);
    EXPECT_EQ(e.Progress->Tile, 2);
    EXPECT_EQ(e.Progress->Trans, 1);
    EXPECT_EQ(e.Progress->LeftWidth, 1);
    EXPECT_EQ(e.Progress->FrameCount, 2);
    EXPECT_EQ(e.Progress->NormalColour, 0);  // no colour keys here
    EXPECT_EQ(e.Progress->NormalColour2, 0u);

    ASSERT_TRUE(e.MenuBar);
    EXPECT_EQ(e.MenuBar->Name, "Personality");
    EXPECT_EQ(e.MenuBar->Image.Width(), 40);
    EXPECT_EQ(e.MenuBar->Tile, 1);
    EXPECT_EQ(e.MenuBar->LeftWidth, 6);
    EXPECT_EQ(e.MenuBar->RightWidth, 1);
    EXPECT_EQ(e.MenuBar->FrameCount, 2);

    ASSERT_TRUE(e.GroupBoxEdge);
    EXPECT_EQ(e.GroupBoxEdge->Style, 3);
    EXPECT_EQ(e.GroupBoxEdge->Tile, 1);
    EXPECT_EQ(e.GroupBoxEdge->FrameCount, 2);
    EXPECT_EQ(e.GroupBoxEdge->NormalColour, -1);
    EXPECT_EQ(e.GroupBoxEdge->NormalColour2, text);

    ASSERT_TRUE(e.Toolbars);  // named but missing from the package
    EXPECT_TRUE(e.Toolbars->Image.Empty());
    EXPECT_FALSE(e.StatusBarEdges);  // no image named
    EXPECT_FALSE(e.SunkEdge);

    ASSERT_TRUE(e.Tabs);
    EXPECT_EQ(e.Tabs->Image2.Width(), 9);
    EXPECT_EQ(e.Tabs->Style, 0);  // not read for second-image sections
    EXPECT_EQ(e.Tabs->FrameCount, 5);

    ASSERT_TRUE(e.ComboButton);
    EXPECT_EQ(e.ComboButton->FrameCount, 4);
    ASSERT_EQ(e.ComboButton->Image2.Width(), 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(e.ComboButton->Image2.Pixel(x, y), e.ComboButton->Image.Pixel(3 - x, y));

    ASSERT_TRUE(e.Scrollbar);
    EXPECT_EQ(e.Scrollbar->Tile, 0);  // above 1 becomes 0
    EXPECT_EQ(e.Scrollbar->FrameCount, 23);
    EXPECT_EQ(e.Scrollbar->PressedColour, 16);
    EXPECT_EQ(e.Scrollbar->MouseOverColour2, RGBColour(4, 5, 6));
    EXPECT_EQ(e.Slot("Scrollbar"), e.Scrollbar.get());

    EXPECT_EQ(e.HorzScrollThumb->FrameCount, 7);
    EXPECT_EQ(e.VertScrollThumb->FrameCount, 3);
    ASSERT_TRUE(e.Trackbar.ThumbUp);
    EXPECT_EQ(e.Trackbar.ThumbUp->Name, "Trackbar.ThumbUp");
    EXPECT_EQ(e.Trackbar.ThumbUp->FrameCount, 5);
    EXPECT_FALSE(e.Trackbar.ThumbDown);
    ASSERT_TRUE(e.UpDown.Vert);
    EXPECT_EQ(e.UpDown.Vert->Image2.Width(), 16);
    EXPECT_EQ(e.UpDown.Vert->FrameCount, 8);
    EXPECT_EQ(e.Slot("UpDown.Vert"), e.UpDown.Vert.get());
    EXPECT_FALSE(e.UpDown.Horz);
}

TEST(Definition, AnEmptyDefinitionGivesTheDefaults) {
    Skin s("");
    const TSkinElements& e = s.elements;
    EXPECT_EQ(e.SysButtons.size(), 3u);
    EXPECT_EQ(e.SysButtons[0]->Xcoord, 0);
    EXPECT_TRUE(e.SysButtons[0]->Image.Empty());
    EXPECT_EQ(e.Left->FrameCount, 1);
    EXPECT_EQ(e.Left->Tile, 1);
    EXPECT_EQ(e.Left->Trans, 1);
    EXPECT_EQ(e.Title->FontHeight, 14);
    EXPECT_EQ(e.Title->ActiveText, kNoColour);
    EXPECT_EQ(e.Buttons->NormalColour, -1);
    EXPECT_EQ(e.Buttons->NormalColour2, SysColour(18));
    EXPECT_EQ(e.Buttons->RadioButtonFrame, 4);
    EXPECT_EQ(e.Colours.Menubar, SysColour(15));
    EXPECT_TRUE(e.ColourList.empty());
    for (std::string_view name : TSkinElements::SlotNames()) {
        const bool always = name == "Left" || name == "Right" || name == "Top" || name == "Bottom" ||
                            name == "Title" || name == "Buttons";
        EXPECT_EQ(e.Slot(name) != nullptr, always) << name;
    }
}

TEST(Definition, ASecondLoadReplacesTheSlots) {
    Skin s(kFullDefinition, FullBitmaps());
    ASSERT_TRUE(s.elements.Scrollbar);
    TSkinReader other;
    const std::string def = "[Button0]\n[Button1]\n";
    ASSERT_TRUE(other.LoadFromStream(PackSkin(BuildSkinPackage({{"b.ini", Bytes(def.begin(), def.end())}}))));
    ASSERT_TRUE(LoadSkinDefinition(s.elements, other));
    EXPECT_FALSE(s.elements.Scrollbar);
    EXPECT_FALSE(s.elements.Progress);
    EXPECT_EQ(s.elements.SysButtons.size(), 5u);
    EXPECT_EQ(s.elements.SysButtons[0]->FrameCount, 6);  // no image
    EXPECT_TRUE(s.elements.Left->Image.Empty());
}

TEST(Definition, AnInvalidBitmapStopsTheReadWithThePlatformMessage) {
    std::vector<TSkinEntry> bitmaps = FullBitmaps();
    bitmaps.push_back({"bad.bmp", Bytes{'B', 'M', 1, 2, 3}});
    std::string def = kFullDefinition;
    def.replace(def.find("Image=scroll.bmp"), 16, "Image=bad.bmp");
    TSkinReader reader;
    bitmaps.insert(bitmaps.begin(), TSkinEntry{"skin.ini", Bytes(def.begin(), def.end())});
    ASSERT_TRUE(reader.LoadFromStream(PackSkin(BuildSkinPackage(bitmaps))));
    TSkinElements e;
    try {
        LoadSkinDefinition(e, reader);
        FAIL() << "no exception";
    } catch (const EInvalidBitmap& x) {
        EXPECT_STREQ(x.what(), "Bitmap image is not valid");
    }
    EXPECT_TRUE(e.ComboButton);   // read before it
    EXPECT_FALSE(e.Scrollbar);    // freed, not refilled
    EXPECT_FALSE(e.HorzScroll);   // never reached
}

TEST(Definition, PackagesWithoutADefinitionAreLeftAlone) {
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(PackSkin(BuildSkinPackage({BmpEntry("a.bmp", 1, 1)}))));
    TSkinElements e;
    EXPECT_FALSE(LoadSkinDefinition(e, reader));
    EXPECT_TRUE(e.SysButtons.empty());
}

TEST(Definition, ParsesColourTexts) {
    const TColour def = SysColour(8);
    EXPECT_EQ(ParseColourText("49 106 197", def), RGBColour(49, 106, 197));
    EXPECT_EQ(ParseColourText("255,0,0", def), RGBColour(255, 0, 0));
    EXPECT_EQ(ParseColourText("300 0 0", def), RGBColour(44, 0, 0));
    EXPECT_EQ(ParseColourText("10 20", def), RGBColour(10, 0, 0));
    EXPECT_EQ(ParseColourText("1 2 3 4", def), RGBColour(1, 2, 3));
    EXPECT_EQ(ParseColourText("", def), def);
    EXPECT_EQ(ParseColourText("  \t", def), RGBColour(0, 0, 0));
    EXPECT_EQ(ParseColourText("\t7;8;9\r", def), RGBColour(7, 8, 9));
    EXPECT_EQ(ParseColourText("R=1, G=2, B=3.", def), RGBColour(1, 2, 3));
    // A run too large for 32 bits swallows every later run.
    EXPECT_EQ(ParseColourText("5 99999999999 6 7", def), RGBColour(5, 0, 0));
}

TEST(Definition, LoadsBitmapsOnlyByTheirLowerCaseBmpName) {
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(PackSkin(BuildSkinPackage(
        {BmpEntry("a.bmp", 2, 3), {"empty.bmp", {}}, {"a.gif", WriteBmp24(Ramp(1, 1))}}))));
    TBitmap b;
    for (std::string_view text : {"a.bmp", "A.bmp", "x:a.bmp", "d:\\skins\\a.bmp", "sub\\A.bmp"}) {
        b.SetSize(0, 0);
        LoadSkinBitmap(b, text, reader);
        EXPECT_EQ(b.Width(), 2) << text;
    }
    for (std::string_view text : {"", "a.BMP", "a.gif", "a", "missing.bmp", "empty.bmp", "a.bmp\\"}) {
        b = Ramp(1, 1);
        LoadSkinBitmap(b, text, reader);
        EXPECT_TRUE(b.Empty()) << text;
    }
}

TEST(Definition, TheSkinPackedByTheBuildLoads) {
    std::ifstream in(SRT_TEST_SKIN_PACKAGE, std::ios::binary);
    ASSERT_TRUE(in) << SRT_TEST_SKIN_PACKAGE;
    const Bytes packed{std::istreambuf_iterator<char>(in), {}};
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(packed));
    EXPECT_EQ(reader.Names()[0], "skin.ini");
    TSkinElements e;
    ASSERT_TRUE(LoadSkinDefinition(e, reader));
    EXPECT_EQ(e.SkinName, "Build-time test skin");
    ASSERT_EQ(e.Left->Image.Width(), 4);
    EXPECT_EQ(e.Left->Image.Pixel(0, 0), RGBColour(255, 0, 255));
    EXPECT_EQ(e.SysButtons[0]->FrameCount, 3);
    EXPECT_EQ(e.Colours.ButtonFace, RGBColour(240, 240, 240));
}

}  // namespace
}  // namespace srt
