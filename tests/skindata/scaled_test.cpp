// Skin records at another DPI: scaled lengths, images scaled frame by frame
// with crisp edges, the package's per-scale images where they fit.
#include "skin/data/scaled.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "component/dpi.h"
#include "skin/data/bmp.h"
#include "skin/data/definition.h"
#include "skin/data/skindata.h"

namespace srt {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Pixel (x, y) is x + 256 * y: every source pixel tells where it came from.
TBitmap Ramp(int width, int height, std::uint32_t base = 0) {
    TBitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) b.ScanLine(y)[x] = base + static_cast<std::uint32_t>(x + 256 * y);
    return b;
}
int SrcX(std::uint32_t p) { return static_cast<int>(p & 0xFF); }
int SrcY(std::uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }

TEST(ScaledSkin, PackageSuffixes) {
    EXPECT_EQ(ScaleSuffixFor(120), "@125");
    EXPECT_EQ(ScaleSuffixFor(144), "@150");
    EXPECT_EQ(ScaleSuffixFor(192), "@200");
    EXPECT_EQ(ScaleSuffixFor(96), "");
    EXPECT_EQ(ScaleSuffixFor(168), "");
    EXPECT_EQ(ScaledImageName("c:\\skins\\top.bmp", "@150"), "c:\\skins\\top@150.bmp");
    EXPECT_EQ(ScaledImageName("noext", "@150"), "noext");
}

TEST(ScaledSkin, WholeFactorIsPixelExactPerFrame) {
    // Three frames of 7 x 5, side by side, with margins (ignored at 200 %).
    const TBitmap image = Ramp(21, 5);
    const TBitmap out = ScaleSkinImage(image, {3, false, 2, 1, 2, 1, true}, 192);
    ASSERT_EQ(out.Width(), 42);
    ASSERT_EQ(out.Height(), 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 42; ++x) ASSERT_EQ(out.ScanLine(y)[x], image.ScanLine(y / 2)[x / 2]) << x << "," << y;
    // Stacked frames and a leftover column dropped by the division.
    const TBitmap stacked = ScaleSkinImage(Ramp(5, 7), {2, true}, 192);
    EXPECT_EQ(stacked.Width(), 10);
    EXPECT_EQ(stacked.Height(), 12);
}

TEST(ScaledSkin, SizesAtEachDpi) {
    const TBitmap image = Ramp(30, 13);  // three frames of 10 x 13
    for (const auto& [dpi, w, h] : {std::tuple{120, 39, 16}, {144, 45, 20}, {192, 60, 26}}) {
        int sw = 0, sh = 0;
        ScaledImageSize(image, {3}, dpi, sw, sh);
        EXPECT_EQ(sw, w) << dpi;
        EXPECT_EQ(sh, h) << dpi;
        const TBitmap out = ScaleSkinImage(image, {3, false, 2, 2, 2, 2}, dpi);
        EXPECT_EQ(out.Width(), w);
        EXPECT_EQ(out.Height(), h);
    }
}

TEST(ScaledSkin, NineSliceKeepsEdgesToTheirScaledMargins) {
    // One 20 x 12 frame, margins left 3, top 2, right 5, bottom 4, at 150 %.
    const TBitmap image = Ramp(20, 12);
    const TBitmap out = ScaleSkinImage(image, {1, false, 3, 2, 5, 4, false}, 144);
    ASSERT_EQ(out.Width(), 30);
    ASSERT_EQ(out.Height(), 18);
    const int l = ScaleToDpi(3, 144), r = ScaleToDpi(5, 144), t = ScaleToDpi(2, 144), b = ScaleToDpi(4, 144);
    std::set<int> centreColumns;
    for (int x = 0; x < 30; ++x) {
        const int sx = SrcX(out.ScanLine(0)[x]);
        if (x < l) EXPECT_LT(sx, 3) << x;
        else if (x >= 30 - r) EXPECT_GE(sx, 15) << x;
        else {
            EXPECT_TRUE(sx >= 3 && sx < 15) << x;
            centreColumns.insert(sx);
        }
    }
    EXPECT_EQ(centreColumns.size(), 12u);  // stretched: every centre column shows
    for (int y = 0; y < 18; ++y) {
        const int sy = SrcY(out.ScanLine(y)[0]);
        if (y < t) EXPECT_LT(sy, 2) << y;
        else if (y >= 18 - b) EXPECT_GE(sy, 8) << y;
        else EXPECT_TRUE(sy >= 2 && sy < 8) << y;
    }
    // Every margin column of the source shows, none doubled out of order.
    EXPECT_EQ(SrcX(out.ScanLine(0)[0]), 0);
    EXPECT_EQ(SrcX(out.ScanLine(0)[l - 1]), 2);
    EXPECT_EQ(SrcX(out.ScanLine(0)[29]), 19);
}

TEST(ScaledSkin, TiledCentreRepeatsAtNaturalSize) {
    const TBitmap image = Ramp(10, 4);  // centre columns 2..7
    const TBitmap out = ScaleSkinImage(image, {1, false, 2, 0, 2, 0, true}, 120);
    ASSERT_EQ(out.Width(), 13);
    const int l = ScaleToDpi(2, 120);
    for (int x = l; x < 13 - ScaleToDpi(2, 120); ++x) EXPECT_EQ(SrcX(out.ScanLine(0)[x]), 2 + (x - l) % 6) << x;
}

TEST(ScaledSkin, FramesDoNotBleedIntoEachOther) {
    TBitmap image(27, 9);  // three frames of 9 x 9: colours 1, 2, 3
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 27; ++x) image.ScanLine(y)[x] = static_cast<std::uint32_t>(1 + x / 9);
    for (const int dpi : {120, 144, 192}) {
        const TBitmap out = ScaleSkinImage(image, {3, false, 4, 4, 4, 4, false}, dpi);
        const int fw = ScaleToDpi(9, dpi);
        for (int y = 0; y < out.Height(); ++y)
            for (int x = 0; x < out.Width(); ++x)
                ASSERT_EQ(out.ScanLine(y)[x], static_cast<std::uint32_t>(1 + x / fw)) << dpi << ": " << x;
    }
}

const char* const kDefinition = R"([Personality]
Left=left.bmp
LeftTopHeight=20
LeftBotHeight=10
LeftFrame=2
Top=top.bmp
TopTopHeight=30
TopBotHeight=40
TopFrame=2
TextBack=textback.bmp
TextShift=5
TextShiftVert=-3
TXTBackleft=3
TXTBackRight=4
[Fonts]
FontHeight=13
[Button0]
Action=1
Align=2
Xcoord=-30
Ycoord=5
ButtonImage=close.bmp
[BUTTONS]
Bitmap=button.bmp
LeftWidth=3
RightWidth=4
TopHeight=5
BottomHeight=6
CheckButton=check.bmp
[ComboButton]
Image=combo.bmp
LeftWidth=2
)";

struct Package {
    TSkinReader reader;
    TSkinElements base;
    explicit Package(std::vector<TSkinEntry> extra = {}) {
        std::vector<TSkinEntry> entries = {
            {"skin.ini", Bytes(kDefinition, kDefinition + std::char_traits<char>::length(kDefinition))},
            {"left.bmp", WriteBmp24(Ramp(8, 60))},      // two frames of 4 x 60
            {"top.bmp", WriteBmp24(Ramp(100, 48))},     // two stacked frames of 100 x 24
            {"textback.bmp", WriteBmp24(Ramp(20, 36))},
            {"close.bmp", WriteBmp24(Ramp(54, 18))},    // three frames of 18 x 18
            {"button.bmp", WriteBmp24(Ramp(100, 21))},  // five frames of 20 x 21
            {"check.bmp", WriteBmp24(Ramp(52, 13))},
            {"combo.bmp", WriteBmp24(Ramp(64, 17))},
        };
        for (auto& e : extra) entries.push_back(std::move(e));
        EXPECT_TRUE(reader.LoadFromStream(PackSkin(BuildSkinPackage(entries))));
        EXPECT_TRUE(LoadSkinDefinition(base, reader));
    }
};

TEST(ScaledSkin, RecordsAtEachDpi) {
    Package p;
    for (const int dpi : {120, 144, 192}) {
        SCOPED_TRACE(dpi);
        const auto s = ScaleSkinElements(p.base, dpi, &p.reader);
        EXPECT_EQ(s->Dpi, dpi);
        EXPECT_EQ(s->Left->TopHeight, ScaleToDpi(20, dpi));
        EXPECT_EQ(s->Left->BottomHeight, ScaleToDpi(10, dpi));
        EXPECT_EQ(s->Left->Image.Width(), 2 * ScaleToDpi(4, dpi));
        EXPECT_EQ(s->Left->Image.Height(), ScaleToDpi(60, dpi));
        EXPECT_EQ(s->Top->LeftWidth, ScaleToDpi(30, dpi));
        EXPECT_EQ(s->Top->Image.Height(), 2 * ScaleToDpi(24, dpi));
        EXPECT_EQ(s->Title->FontHeight, ScaleToDpi(13, dpi));
        EXPECT_EQ(s->Title->LeftWidth, ScaleToDpi(5, dpi));
        EXPECT_EQ(s->Title->TopHeight, ScaleToDpi(-3, dpi));
        EXPECT_EQ(s->Title->TXTBackRight, ScaleToDpi(4, dpi));
        EXPECT_EQ(s->Buttons->RightWidth, ScaleToDpi(4, dpi));
        EXPECT_EQ(s->Buttons->Image.Width(), 5 * ScaleToDpi(20, dpi));
        EXPECT_EQ(s->Buttons->CheckButton.Width(), 4 * ScaleToDpi(13, dpi));
        ASSERT_EQ(s->SysButtons.size(), p.base.SysButtons.size());
        const TDataSkinSysButton& close = *s->SysButtons[0];
        EXPECT_EQ(close.Xcoord, ScaleToDpi(-30, dpi));
        EXPECT_EQ(close.Ycoord, ScaleToDpi(5, dpi));
        EXPECT_EQ(close.FrameCount, 3);
        EXPECT_EQ(close.Image.Width(), 3 * ScaleToDpi(18, dpi));
        // The mirrored combo button follows its scaled image.
        const TBitmap& combo = s->ComboButton->Image;
        ASSERT_FALSE(combo.Empty());
        EXPECT_EQ(s->ComboButton->Image2.ScanLine(3)[0], combo.ScanLine(3)[combo.Width() - 1] & 0xFFFFFF);
    }
}

TEST(ScaledSkin, PackageImagesPreferredWrongSizesIgnored) {
    // top@150 fits (two stacked frames of 150 x 36); left@150 does not; close@200 fits.
    Package p({{"top@150.bmp", WriteBmp24(Ramp(150, 72, 0x110000))},
               {"left@150.bmp", WriteBmp24(Ramp(12, 91, 0x220000))},
               {"close@200.bmp", WriteBmp24(Ramp(108, 36, 0x330000))},
               {"button@125.bmp", Bytes{'B', 'M', 1, 2, 3}}});
    const auto at144 = ScaleSkinElements(p.base, 144, &p.reader);
    EXPECT_EQ(at144->Top->Image.ScanLine(40)[7], 0x110000u + 7 + 256 * 40);
    EXPECT_EQ(at144->Left->Image.Width(), 12);
    EXPECT_EQ(at144->Left->Image.Height(), 90);
    EXPECT_EQ(at144->Left->Image.ScanLine(0)[0] & 0xFF0000, 0u);
    const auto at192 = ScaleSkinElements(p.base, 192, &p.reader);
    EXPECT_EQ(at192->SysButtons[0]->Image.ScanLine(1)[5], 0x330000u + 5 + 256);
    EXPECT_EQ(at192->Top->Image.ScanLine(3)[3], p.base.Top->Image.ScanLine(1)[1]);
    // An unreadable per-scale entry is scaled from the 96-DPI image instead.
    const auto at120 = ScaleSkinElements(p.base, 120, &p.reader);
    EXPECT_EQ(at120->Buttons->Image.Width(), 125);
    // Without a package every image is scaled.
    EXPECT_EQ(ScaleSkinElements(p.base, 144, nullptr)->Top->Image.ScanLine(0)[0], 0u);
}

}  // namespace
}  // namespace srt

TEST(SkinDataAtDpi, MadeOncePerDpiAndDroppedOnLoad) {
    TSkinData data(nullptr);
    std::vector<srt::TSkinEntry> entries = {
        {"skin.ini", std::vector<std::uint8_t>(srt::kDefinition,
                                               srt::kDefinition + std::char_traits<char>::length(srt::kDefinition))},
        {"left.bmp", srt::WriteBmp24(srt::Ramp(8, 60))}};
    ASSERT_TRUE(data.LoadFromBytes(srt::PackSkin(srt::BuildSkinPackage(entries))));
    EXPECT_EQ(&data.ElementsAt(96), static_cast<const srt::TSkinElements*>(&data));
    const srt::TSkinElements& at144 = data.ElementsAt(144);
    EXPECT_EQ(&data.ElementsAt(144), &at144);
    EXPECT_EQ(at144.Left->TopHeight, 30);
    EXPECT_EQ(at144.Left->Image.Height(), 90);
    EXPECT_NE(&data.ElementsAt(192), &at144);
    // A new skin: the sets are made again from it.
    entries[1] = {"left.bmp", srt::WriteBmp24(srt::Ramp(8, 40))};
    ASSERT_TRUE(data.LoadFromBytes(srt::PackSkin(srt::BuildSkinPackage(entries))));
    EXPECT_EQ(data.ElementsAt(144).Left->Image.Height(), 60);
}

// The program's own skins (which carry images drawn per scale): at 200 % and
// at 150 % every frame has its scaled size.
TEST(SkinDataAtDpi, ProgramSkinsScaleEveryImage) {
    for (const char* name : {"default", "dusk", "contrast"}) {
        SCOPED_TRACE(name);
        std::ifstream in(std::string(SRT_SKIN_DIR) + "/" + name + ".skn", std::ios::binary);
        std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        TSkinData data(nullptr);
        ASSERT_TRUE(data.LoadFromBytes(std::move(bytes)));
        const srt::TSkinElements& at192 = data.ElementsAt(192);
        const srt::TSkinElements& at144 = data.ElementsAt(144);
        int images = 0;
        for (const std::string_view slot : srt::TSkinElements::SlotNames()) {
            const srt::TDataSkinObject* base = data.Slot(slot);
            if (!base || base->Image.Empty()) continue;
            SCOPED_TRACE(std::string(slot));
            const TBitmap& twice = at192.Slot(slot)->Image;
            const TBitmap& image = base->Image;
            const int frames = std::max(base->FrameCount, 1);
            const bool stacked = slot == "Top" || slot == "Bottom" || slot == "Title" || slot == "MenuBar";
            const int fw = stacked ? image.Width() : image.Width() / frames;
            const int fh = stacked ? image.Height() / frames : image.Height();
            ASSERT_EQ(twice.Width(), stacked ? 2 * fw : 2 * fw * frames);
            ASSERT_EQ(twice.Height(), stacked ? 2 * fh * frames : 2 * fh);
            const TBitmap& half = at144.Slot(slot)->Image;
            EXPECT_EQ(half.Width(), stacked ? srt::ScaleToDpi(fw, 144) : srt::ScaleToDpi(fw, 144) * frames);
            EXPECT_EQ(half.Height(), stacked ? srt::ScaleToDpi(fh, 144) * frames : srt::ScaleToDpi(fh, 144));
            ++images;
        }
        EXPECT_GT(images, 10);
        for (std::size_t i = 0; i < data.SysButtons.size(); ++i) {
            EXPECT_EQ(at192.SysButtons[i]->Xcoord, 2 * data.SysButtons[i]->Xcoord);
            EXPECT_EQ(at192.SysButtons[i]->Image.Width(), 2 * data.SysButtons[i]->Image.Width());
        }
    }
}
