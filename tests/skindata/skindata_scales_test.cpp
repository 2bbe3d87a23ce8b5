// The skin data component's images drawn per scale: left packed by a load,
// unpacked once when a DPI first asks for its records, dropped with the skin.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "component/dpi.h"
#include "skin/data/bmp.h"
#include "skin/data/definition.h"
#include "skin/data/scaled.h"
#include "skin/data/skindata.h"
#include "skin/data/skinreader.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using srt::TSkinElements;
using srt::TSkinEntry;
using srt::TSkinReader;

Bytes Text(std::string_view s) { return {s.begin(), s.end()}; }

// A BMP of `w` x `h` whose pixels are `tag` plus their position.
Bytes Image(int w, int h, std::uint32_t tag) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.ScanLine(y)[x] = tag + static_cast<std::uint32_t>(x + 16 * y);
    return srt::WriteBmp24(b);
}

bool Same(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        if (!std::equal(a.ScanLine(y), a.ScanLine(y) + a.Width(), b.ScanLine(y))) return false;
    return true;
}

constexpr std::uint32_t k150 = 0x150000, k200 = 0x200000;

// One-frame edges and a three-frame close button, with images for 150 %
// and 200 % of the sizes their scaled records need (none for 125 %).
// `damaged` replaces close@200.bmp with bytes that are no BMP.
Bytes Package(bool damaged = false, std::uint32_t base = 0) {
    const std::string ini = "[Personality]\r\nLeft=left.bmp\r\nLeftTopHeight=20\r\nTop=top.bmp\r\n"
                            "TopTopHeight=30\r\n[Button0]\r\nAction=1\r\nButtonImage=close.bmp\r\n";
    return srt::PackSkin(srt::BuildSkinPackage({
        {"skin.ini", Text(ini)},
        {"left.bmp", Image(4, 60, base)},
        {"left@150.bmp", Image(6, 90, k150)},
        {"left@200.bmp", Image(8, 120, k200)},
        {"top.bmp", Image(100, 24, base)},
        {"top@150.bmp", Image(150, 36, k150)},
        {"top@200.bmp", Image(200, 48, k200)},
        {"close.bmp", Image(54, 18, base)},
        {"close@150.bmp", Image(81, 27, k150)},
        {"close@200.bmp", damaged ? Text("BM, but nothing of a bitmap") : Image(108, 36, k200)},
    }));
}

TEST(SkinDataScales, ALoadKeepsTheDefinitionAndLeavesEveryImagePacked) {
    TSkinData data(nullptr);
    ASSERT_TRUE(data.LoadFromBytes(Package()));
    EXPECT_EQ(data.Left->Image.Height(), 60);
    const TSkinReader* package = data.Package();
    ASSERT_NE(package, nullptr);
    EXPECT_EQ(package->LateUnpacks(), 0);
    for (int i = 0; i < package->Count(); ++i) EXPECT_EQ(package->Packed(i), i > 0) << package->Names()[i];
    EXPECT_EQ(package->HeldBytes(), package->Size(0));
}

TEST(SkinDataScales, EachScaleIsUnpackedOnceWhenItsDpiFirstAsks) {
    TSkinData data(nullptr);
    ASSERT_TRUE(data.LoadFromBytes(Package()));
    const TSkinReader& package = *data.Package();
    data.ElementsAt(96);
    data.ElementsAt(120);  // nothing drawn for 125 %: every image scaled
    EXPECT_EQ(package.LateUnpacks(), 0);

    const TSkinElements& at144 = data.ElementsAt(144);
    EXPECT_EQ(package.LateUnpacks(), 3);
    EXPECT_EQ(at144.Left->Image.ScanLine(1)[2], k150 + 2 + 16);
    EXPECT_EQ(at144.Top->Image.ScanLine(0)[149], k150 + 149);
    EXPECT_EQ(at144.SysButtons[0]->Image.ScanLine(26)[80], k150 + 80 + 16 * 26);
    EXPECT_EQ(&data.ElementsAt(144), &at144);
    EXPECT_EQ(package.LateUnpacks(), 3);

    EXPECT_EQ(data.ElementsAt(192).Left->Image.ScanLine(0)[7], k200 + 7);
    EXPECT_EQ(package.LateUnpacks(), 6);
    EXPECT_EQ(package.HeldBytes(), package.Size(0));  // none of them kept
}

TEST(SkinDataScales, DamagedImagesOfAScaleAreScaledFromThe96DpiOnesWhenAsked) {
    TSkinData data(nullptr);
    ASSERT_TRUE(data.LoadFromBytes(Package(true)));  // a damaged image is not seen at load
    const TSkinElements& at192 = data.ElementsAt(192);
    const srt::TDataSkinSysButton& close = *at192.SysButtons[0];
    EXPECT_TRUE(Same(close.Image, srt::ScaleSkinImage(data.SysButtons[0]->Image, {3}, 192)));
    EXPECT_EQ(at192.Left->Image.ScanLine(0)[7], k200 + 7);  // the rest still drawn for the scale

    // Cut short, even only in its images for other scales, a package is
    // refused at load.
    Bytes cut = Package();
    for (const std::size_t keep : {cut.size() * 3 / 5, cut.size() - 1}) {
        Bytes part(cut.begin(), cut.begin() + static_cast<std::ptrdiff_t>(keep));
        EXPECT_FALSE(TSkinData(nullptr).LoadFromBytes(part)) << keep << " of " << cut.size();
        EXPECT_FALSE(TSkinReader().LoadFromStream(part)) << keep << " of " << cut.size();
    }
}

TEST(SkinDataScales, ANewSkinDropsTheOldOnesPackageAndSets) {
    TSkinData data(nullptr);
    ASSERT_TRUE(data.LoadFromBytes(Package()));
    data.ElementsAt(144);
    ASSERT_TRUE(data.LoadFromBytes(Package(false, 0x010000)));
    EXPECT_EQ(data.Package()->LateUnpacks(), 0);
    EXPECT_EQ(data.Left->Image.ScanLine(0)[0], 0x010000u);
    EXPECT_EQ(data.ElementsAt(120).Left->Image.ScanLine(0)[0], 0x010000u);
    // A load that fails keeps nothing of the package either.
    EXPECT_FALSE(data.LoadFromBytes(Text("no skin")));
    EXPECT_EQ(data.Package(), nullptr);
    EXPECT_EQ(&data.ElementsAt(144), static_cast<const TSkinElements*>(&data));
}

// The program's own skins: nothing drawn per scale is read by a load, and
// every set made from images unpacked on demand is the one the whole
// package read at once gives.
TEST(SkinDataScales, ProgramSkinsGiveTheSetsOfAnEagerRead) {
    for (const char* name : {"default", "dusk", "contrast"}) {
        SCOPED_TRACE(name);
        std::ifstream in(std::string(SRT_SKIN_DIR) + "/" + name + ".skn", std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        TSkinReader eager;
        TSkinElements base;
        ASSERT_TRUE(eager.LoadFromStream(bytes));
        ASSERT_TRUE(srt::LoadSkinDefinition(base, eager));
        TSkinData data(nullptr);
        ASSERT_TRUE(data.LoadFromBytes(bytes));
        EXPECT_EQ(data.Package()->LateUnpacks(), 0);
        EXPECT_LT(data.Package()->HeldBytes(), 32u << 10);
        for (const int dpi : {120, 144, 192}) {
            SCOPED_TRACE(dpi);
            const auto expected = srt::ScaleSkinElements(base, dpi, &eager);
            const TSkinElements& got = data.ElementsAt(dpi);
            for (const std::string_view slot : TSkinElements::SlotNames()) {
                const srt::TDataSkinObject* e = expected->Slot(slot);
                if (!e) continue;
                ASSERT_NE(got.Slot(slot), nullptr) << slot;
                EXPECT_TRUE(Same(got.Slot(slot)->Image, e->Image)) << slot;
                if (const auto* border = dynamic_cast<const srt::TDataSkinBorder*>(e)) {
                    const auto* other = static_cast<const srt::TDataSkinBorder*>(got.Slot(slot));
                    EXPECT_TRUE(Same(other->Image2, border->Image2)) << slot;
                }
            }
            EXPECT_TRUE(Same(got.Buttons->CheckButton, expected->Buttons->CheckButton));
            EXPECT_TRUE(Same(got.Buttons->RadioButton, expected->Buttons->RadioButton));
            ASSERT_EQ(got.SysButtons.size(), expected->SysButtons.size());
            for (std::size_t i = 0; i < got.SysButtons.size(); ++i)
                EXPECT_TRUE(Same(got.SysButtons[i]->Image, expected->SysButtons[i]->Image)) << i;
        }
    }
}

}  // namespace
