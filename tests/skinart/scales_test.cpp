// The skins' images drawn per scale: every NAME@125/@150/@200.bmp has the
// size the definition's lengths give at that DPI, hairlines stay crisp, and
// a package carrying them reads as it did without them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "component/dpi.h"
#include "skin/data/bmp.h"
#include "skin/data/definition.h"
#include "skin/data/records.h"
#include "skin/data/skinreader.h"
#include "tools/skingen/art.h"
#include "tools/skingen/raster.h"

namespace srt {
namespace {
namespace fs = std::filesystem;

const fs::path kSkinSource = fs::path(SRT_SOURCE_DIR) / "resources" / "skin";

std::vector<std::uint8_t> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<TSkinEntry> FolderEntries(const std::string& folder) {
    std::vector<TSkinEntry> entries;
    for (const auto& d : fs::directory_iterator(kSkinSource / folder))
        entries.push_back({d.path().filename().string(), ReadAll(d.path())});
    std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.name < b.name; });
    return entries;
}

bool IsScaled(const std::string& name) { return name.find('@') != std::string::npos; }

// The folder's entries with every image swapped for the one drawn for
// `scale`, under the 96-DPI name: the skin a reader sees at that scale.
std::vector<TSkinEntry> AtScale(const std::vector<TSkinEntry>& all, const art::TScale& scale) {
    std::vector<TSkinEntry> out;
    for (const TSkinEntry& e : all) {
        if (IsScaled(e.name)) continue;
        const std::string scaled = art::ScaledName(e.name, scale);
        const auto it = std::find_if(all.begin(), all.end(), [&](const TSkinEntry& f) { return f.name == scaled; });
        out.push_back({e.name, it == all.end() ? e.bytes : it->bytes});
    }
    return out;
}

struct Loaded {
    TSkinReader reader;
    TSkinElements skin;
};

std::unique_ptr<Loaded> Load(const std::vector<TSkinEntry>& entries) {
    auto l = std::make_unique<Loaded>();
    EXPECT_TRUE(l->reader.LoadFromStream(PackSkin(BuildSkinPackage(entries))));
    EXPECT_TRUE(LoadSkinDefinition(l->skin, l->reader));
    return l;
}

// Every image of a loaded skin with its frame count and layout.
struct Image {
    std::string what;
    const TBitmap* bitmap;
    int frames;
    bool stacked;
};

std::vector<Image> ImagesOf(const TSkinElements& s) {
    std::vector<Image> out;
    auto add = [&](std::string what, const TBitmap& b, int n, bool stacked) {
        if (!b.Empty()) out.push_back({std::move(what), &b, n, stacked});
    };
    add("Left", s.Left->Image, s.Left->FrameCount, false);
    add("Right", s.Right->Image, s.Right->FrameCount, false);
    add("Top", s.Top->Image, s.Top->FrameCount, true);
    add("Bottom", s.Bottom->Image, s.Bottom->FrameCount, true);
    add("TextBack", s.Title->Image, 2, true);
    add("MenuBar", s.MenuBar->Image, s.MenuBar->FrameCount, true);
    for (const auto& b : s.SysButtons) add(b->Name, b->Image, b->FrameCount, false);
    add("Buttons", s.Buttons->Image, s.Buttons->FrameCount, false);
    add("CheckButton", s.Buttons->CheckButton, s.Buttons->CheckButtonFrame, false);
    add("RadioButton", s.Buttons->RadioButton, s.Buttons->RadioButtonFrame, false);
    for (std::string_view name : TSkinElements::SlotNames()) {
        if (name == "Left" || name == "Right" || name == "Top" || name == "Bottom" || name == "Title" ||
            name == "Buttons" || name == "MenuBar")
            continue;
        const TDataSkinObject* o = s.Slot(name);
        add(std::string(name), o->Image, o->FrameCount, false);
        if (const auto* b = dynamic_cast<const TDataSkinBorder*>(o))
            add(std::string(name) + " second", b->Image2, name == "Tabs" || name == "Progress" ? 1 : o->FrameCount,
                false);
    }
    return out;
}

class Scales : public testing::TestWithParam<std::string> {};

TEST_P(Scales, EveryImageIsCarriedAtEveryScale) {
    const std::vector<TSkinEntry> all = FolderEntries(GetParam());
    int plain = 0;
    for (const TSkinEntry& e : all) {
        if (IsScaled(e.name) || !e.name.ends_with(".bmp")) continue;
        ++plain;
        for (const art::TScale& scale : art::kScales)
            EXPECT_TRUE(std::any_of(all.begin(), all.end(),
                                    [&](const TSkinEntry& f) { return f.name == art::ScaledName(e.name, scale); }))
                << e.name << " has no " << scale.suffix;
    }
    EXPECT_EQ(all.size(), 1 + plain * (1 + std::size(art::kScales)));
}

// FrameCount frames of ScaleToDpi(frame width) x ScaleToDpi(frame height).
TEST_P(Scales, ScaledImagesHaveTheConventionsSize) {
    const std::vector<TSkinEntry> all = FolderEntries(GetParam());
    const auto base = Load(AtScale(all, {kDesignDpi, ""}));
    const std::vector<Image> designed = ImagesOf(base->skin);
    ASSERT_GE(designed.size(), 40u);
    for (const art::TScale& scale : art::kScales) {
        const auto scaled = Load(AtScale(all, scale));
        const std::vector<Image> drawn = ImagesOf(scaled->skin);
        ASSERT_EQ(drawn.size(), designed.size());
        for (std::size_t i = 0; i < designed.size(); ++i) {
            const Image& d = designed[i];
            ASSERT_EQ(drawn[i].what, d.what);
            ASSERT_EQ(drawn[i].frames, d.frames) << d.what;  // frame counts unchanged
            const int n = d.frames, dpi = scale.dpi;
            const int w = d.stacked ? ScaleToDpi(d.bitmap->Width(), dpi) : n * ScaleToDpi(d.bitmap->Width() / n, dpi);
            const int h = d.stacked ? n * ScaleToDpi(d.bitmap->Height() / n, dpi) : ScaleToDpi(d.bitmap->Height(), dpi);
            EXPECT_EQ(drawn[i].bitmap->Width(), w) << d.what << " at " << dpi;
            EXPECT_EQ(drawn[i].bitmap->Height(), h) << d.what << " at " << dpi;
        }
    }
}

// How many lines from one side of frame k of `image` (frames of w x h side
// by side) have the colour of that side's middle pixel.
enum class Side { Left, Top, Right, Bottom };
int LineWidth(const TBitmap& image, int frames, int k, Side side) {
    const int w = image.Width() / frames, h = image.Height(), x0 = (k - 1) * w;
    auto px = [&](int i) {  // the i-th pixel in from the side, at its middle
        switch (side) {
            case Side::Left: return art::At(image, x0 + i, h / 2);
            case Side::Right: return art::At(image, x0 + w - 1 - i, h / 2);
            case Side::Top: return art::At(image, x0 + w / 2, i);
            case Side::Bottom: return art::At(image, x0 + w / 2, h - 1 - i);
        }
        return 0u;
    };
    int n = 1;
    while (n < std::min(w, h) && px(n) == px(0)) ++n;
    return n;
}

TEST_P(Scales, HairlinesStayOnePixelUpTo150AndTwoAt200) {
    const std::vector<TSkinEntry> all = FolderEntries(GetParam());
    struct Case {
        const char* file;
        int frames, k;
        std::vector<Side> sides;
    };
    const std::vector<Side> every = {Side::Left, Side::Top, Side::Right, Side::Bottom};
    const Case cases[] = {
        {"tabborder.bmp", 1, 1, every},      {"menubackground.bmp", 1, 1, every},
        {"sunkedge.bmp", 4, 1, every},       {"header.bmp", 5, 1, {Side::Bottom}},
        {"hscroll.bmp", 4, 1, {Side::Top}},  {"vscroll.bmp", 4, 1, {Side::Left}},
        {"statusbar.bmp", 3, 1, {Side::Top}}, {"menubar.bmp", 1, 1, {Side::Bottom}},
    };
    for (const art::TScale& scale : art::kScales) {
        const int expected = scale.dpi >= 2 * kDesignDpi ? 2 : 1;
        for (const Case& c : cases) {
            const std::string name = art::ScaledName(c.file, scale);
            const auto it = std::find_if(all.begin(), all.end(), [&](const TSkinEntry& e) { return e.name == name; });
            ASSERT_NE(it, all.end()) << name;
            TBitmap image = ReadBmp(it->bytes);
            if (std::string(c.file) == "menubar.bmp") image = [&] {  // stacked: the first frame only
                TBitmap top(image.Width(), image.Height() / 2);
                for (int y = 0; y < top.Height(); ++y)
                    std::copy_n(image.ScanLine(y), top.Width(), top.ScanLine(y));
                return top;
            }();
            for (Side s : c.sides)
                EXPECT_EQ(LineWidth(image, c.frames, c.k, s), expected) << name << " side " << int(s);
        }
    }
}

// A caption glyph's strokes are hairlines too: the maximise box's side.
TEST_P(Scales, CaptionGlyphsKeepTheirStrokes) {
    const std::vector<TSkinEntry> all = FolderEntries(GetParam());
    for (const art::TScale& scale : art::kScales) {
        const auto it = std::find_if(all.begin(), all.end(), [&](const TSkinEntry& e) {
            return e.name == art::ScaledName("maximize.bmp", scale);
        });
        ASSERT_NE(it, all.end());
        const TBitmap image = ReadBmp(it->bytes);
        // Frame 1: the glyph's box centred; count its left side's columns.
        const int w = image.Width() / 4, h = image.Height(), box = ScaleToDpi(10, scale.dpi);
        const int x = (w - box) / 2, y = h / 2;
        const std::uint32_t glyph = art::At(image, x, y);
        int n = 0;
        while (art::At(image, x + n, y) == glyph) ++n;
        EXPECT_EQ(n, scale.dpi >= 2 * kDesignDpi ? 2 : 1) << scale.suffix;
        EXPECT_NE(art::At(image, x - 1, y), glyph) << scale.suffix;
    }
}

// The new entries are files like any other: a package carrying them loads
// the same skin as one without them, and the reader hands them out by name.
TEST_P(Scales, PackagesWithScaledEntriesReadAsBefore) {
    const std::vector<TSkinEntry> all = FolderEntries(GetParam());
    std::vector<TSkinEntry> plain;
    std::copy_if(all.begin(), all.end(), std::back_inserter(plain), [](auto& e) { return !IsScaled(e.name); });
    const auto with = Load(all), without = Load(plain);
    EXPECT_EQ(with->reader.Count(), int(all.size()));
    EXPECT_EQ(with->skin.SkinName, without->skin.SkinName);
    const std::vector<Image> a = ImagesOf(with->skin), b = ImagesOf(without->skin);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        ASSERT_EQ(a[i].bitmap->Width(), b[i].bitmap->Width()) << a[i].what;
        ASSERT_EQ(a[i].bitmap->Height(), b[i].bitmap->Height()) << a[i].what;
        for (int y = 0; y < a[i].bitmap->Height(); ++y)
            ASSERT_TRUE(std::equal(a[i].bitmap->ScanLine(y), a[i].bitmap->ScanLine(y) + a[i].bitmap->Width(),
                                   b[i].bitmap->ScanLine(y)))
                << a[i].what << " row " << y;
    }
    for (const TSkinEntry& e : all)
        if (IsScaled(e.name)) {
            EXPECT_EQ(with->reader.GetFile(e.name), e.bytes) << e.name;
        }
}

INSTANTIATE_TEST_SUITE_P(Skins, Scales, testing::Values("default", "dusk", "contrast"));

}  // namespace
}  // namespace srt
