// The program's own skins: the committed folders are what the generator
// draws, the packages load with every slot filled, the images hold the
// frame layouts the painters cut them by, and text is readable.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>

#include "skin/data/bmp.h"
#include "skin/data/definition.h"
#include "skin/data/ini.h"
#include "skin/data/records.h"
#include "skin/data/skinreader.h"
#include "tools/skingen/art.h"
#include "tools/skingen/raster.h"

namespace srt {
namespace {
namespace fs = std::filesystem;
using art::Rgb;

const fs::path kSkinSource = fs::path(SRT_SOURCE_DIR) / "resources" / "skin";

std::vector<std::uint8_t> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Rgb ToRGB(TColour c) { return Rgb{std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)}; }
Rgb Px(const TBitmap& b, int x, int y) { return art::Unpack(art::At(b, x, y)); }
bool IsKey(Rgb c) { return c == art::kKey; }

// A skin loaded the way the program loads it: the folder packed, unpacked
// and read by the definition reader.
struct Loaded {
    TSkinReader reader;
    TSkinElements skin;
};

std::unique_ptr<Loaded> LoadFolder(const std::string& folder) {
    std::vector<TSkinEntry> entries;
    for (const auto& d : fs::directory_iterator(kSkinSource / folder))
        entries.push_back({d.path().filename().string(), ReadAll(d.path())});
    std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.name < b.name; });
    auto l = std::make_unique<Loaded>();
    const std::vector<std::uint8_t> package = PackSkin(BuildSkinPackage(entries));
    EXPECT_TRUE(l->reader.LoadFromStream(package));
    EXPECT_TRUE(LoadSkinDefinition(l->skin, l->reader));  // throws on a bad bitmap
    return l;
}

class ShippedSkin : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override { loaded_ = LoadFolder(GetParam()); }
    const TSkinElements& Skin() const { return loaded_->skin; }
    std::unique_ptr<Loaded> loaded_;
};

TEST(SkinArt, CommittedFoldersAreWhatTheGeneratorDraws) {
    for (const art::TPalette& p : art::ShippedPalettes()) {
        std::set<std::string> expected;
        for (const TSkinEntry& f : art::GenerateSkin(p)) {
            expected.insert(f.name);
            EXPECT_EQ(ReadAll(kSkinSource / p.folder / f.name), f.bytes)
                << p.folder << "/" << f.name << " differs: run the skin-regenerate target";
        }
        for (const auto& d : fs::directory_iterator(kSkinSource / p.folder))
            EXPECT_TRUE(expected.count(d.path().filename().string())) << "stray file " << d.path();
    }
}

TEST(SkinArt, GeneratingTwiceGivesTheSameBytes) {
    const auto a = art::GenerateSkin(art::DuskPalette()), b = art::GenerateSkin(art::DuskPalette());
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].bytes, b[i].bytes) << a[i].name;
}

TEST(SkinArt, BuiltPackagesMatchTheFolders) {
    for (const art::TPalette& p : art::ShippedPalettes()) {
        const std::vector<std::uint8_t> built = ReadAll(fs::path(SRT_SKIN_DIR) / (p.folder + ".skn"));
        ASSERT_FALSE(built.empty()) << p.folder << ".skn was not built";
        TSkinReader reader;
        ASSERT_TRUE(reader.LoadFromStream(built));
        for (const auto& d : fs::directory_iterator(kSkinSource / p.folder))
            EXPECT_EQ(reader.GetFile(d.path().filename().string()), ReadAll(d.path())) << d.path();
    }
}

TEST(SkinArt, ContrastRatiosFollowTheFormula) {
    EXPECT_NEAR(art::Contrast(Rgb{0, 0, 0}, Rgb{255, 255, 255}), 21.0, 1e-9);
    EXPECT_NEAR(art::Contrast(Rgb{119, 119, 119}, Rgb{255, 255, 255}), 4.48, 0.01);
    EXPECT_DOUBLE_EQ(art::Contrast(Rgb{10, 20, 30}, Rgb{10, 20, 30}), 1.0);
}

TEST_P(ShippedSkin, EverySlotHasAnImage) {
    const TSkinElements& s = Skin();
    EXPECT_FALSE(s.SkinName.empty());
    for (std::string_view name : TSkinElements::SlotNames()) {
        const TDataSkinObject* o = s.Slot(name);
        ASSERT_NE(o, nullptr) << name;
        EXPECT_FALSE(o->Image.Empty()) << name;
        EXPECT_GE(o->FrameCount, 1) << name;
        const bool edge = name == "Left" || name == "Right" || name == "Top" || name == "Bottom";
        if (const auto* b = dynamic_cast<const TDataSkinBorder*>(o); b && !edge) {
            EXPECT_FALSE(b->Image2.Empty()) << name << " second image";
        }
    }
    EXPECT_FALSE(s.Buttons->CheckButton.Empty());
    EXPECT_FALSE(s.Buttons->RadioButton.Empty());
    EXPECT_GE(s.ColourList.size(), 2u);
    // Every colour is the skin's own, none left to the system.
    const TColour colours[] = {s.Colours.WindowText, s.Colours.TitleTextActive, s.Colours.TitleTextNoActive,
                               s.Colours.ButtonFace, s.Colours.ButtonText, s.Colours.ButtonHilight,
                               s.Colours.Buttonlight, s.Colours.ButtonShadow, s.Colours.ButtonDkShadow,
                               s.Colours.HilightText, s.Colours.Hilight, s.Colours.Menubar,
                               s.Colours.MenuBarText, s.Colours.MenuText, s.Colours.Menu, s.Colours.Scrollbar};
    for (TColour c : colours) EXPECT_EQ(c & 0xFF000000u, 0u);
    EXPECT_NE(s.Title->ActiveText, kNoColour);
    EXPECT_NE(s.Title->InActiveText, kNoColour);
}

TEST_P(ShippedSkin, DefinitionGivesEveryKeyTheReaderKnows) {
    const std::vector<std::uint8_t> bytes = ReadAll(kSkinSource / GetParam() / "skin.ini");
    const TIniText ini(std::string(bytes.begin(), bytes.end()));
    auto expect = [&](const std::string& section, std::initializer_list<std::string> keys) {
        for (const std::string& k : keys) EXPECT_TRUE(ini.Find(section, k).has_value()) << section << "/" << k;
    };
    expect("TitlebarSkin", {"SkinName"});
    for (std::string e : {"Left", "Right", "Top", "Bottom"})
        expect("Personality", {e, e + "TopHeight", e + "BotHeight", e + "Frame", e + "Stretch", e + "Trans"});
    expect("Personality", {"TextBack", "TextShift", "TextShiftVert", "TextRightClip", "TextAlignment",
                           "Textbackground", "TXTBackleft", "TXTBackRight", "ActiveTextR", "ActiveTextG",
                           "ActiveTextB", "InActiveTextR", "InActiveTextG", "InActiveTextB", "menuBar", "TileMenu",
                           "TileLeftMenu", "TileRightMenu"});
    expect("Fonts", {"FontHeight"});
    expect("Colours", {"WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight", "Menubar", "Menu",
                       "MenuText", "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow", "ButtonDkShadow",
                       "MenuBarText", "TitleTextActive", "TitleTextNoActive"});
    expect("MDICONTROLS", {"Image"});
    const std::initializer_list<std::string> stateColours = {"NormalColour", "MouseOverColour", "PressedColour",
                                                             "NormalColour2", "MouseOverColour2", "PressedColour2"};
    expect("Buttons", {"LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans", "Bitmap", "Tile",
                       "CheckButton", "RadioButton", "RadioButtonFrame", "CheckButtonFrame"});
    expect("Buttons", stateColours);
    expect("Progress", {"Bitmap", "Chunk", "Style", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans", "Tile"});
    for (std::string sec : {"GroupBoxEdge", "Toolbars", "StatusBarEdges", "SunkEdge", "ExtraImages", "Headerbar",
                            "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll", "VertScroll", "HorzScrollThumb",
                            "VertScrollThumb", "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
                            "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown", "Tabs", "ComboButton",
                            "UpDown.Horz", "UpDown.Vert"}) {
        expect(sec, {"Image", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans", "Tile"});
        expect(sec, stateColours);
    }
    expect("Tabs", {"Border"});
    expect("UpDown.Horz", {"GlyphImage"});
    expect("UpDown.Vert", {"GlyphImage"});
    expect("HorzScrollThumb", {"FrameCount"});
    expect("VertScrollThumb", {"FrameCount"});
    int captionButtons = 0, colourSections = 0;
    for (const std::string& sec : ini.SectionNames()) {
        std::string u = SkinLowerCase(sec);
        if (u.starts_with("button") && u != "buttons") {
            ++captionButtons;
            expect(sec, {"Action", "Align", "Xcoord", "Ycoord", "Visibility", "Visibility1", "CombineOp", "frame",
                         "ButtonImage"});
        }
        if (u.starts_with("colour") && u != "colours") {
            ++colourSections;
            expect(sec, {"color"});
        }
    }
    EXPECT_GE(captionButtons, 5);
    EXPECT_GE(colourSections, 2);
}

TEST_P(ShippedSkin, CaptionButtonsCoverEveryAction) {
    const TSkinElements& s = Skin();
    std::multiset<int> actions;
    int mdi = 0;
    for (const auto& b : s.SysButtons) {
        if (b->Visibility == kMdiButtonMark) {
            ++mdi;
            EXPECT_FALSE(b->Image.Empty()) << "MDI button " << b->Action;
            EXPECT_EQ(b->Image.Width() % 4, 0);
            continue;
        }
        actions.insert(b->Action);
        if (b->Action == 3) continue;  // the icon: the window's own
        EXPECT_EQ(b->FrameCount, 4) << b->Name;  // normal, pressed, hover, inactive
        ASSERT_FALSE(b->Image.Empty()) << b->Name;
        EXPECT_EQ(b->Image.Width() % 4, 0) << b->Name;
        // Inside the title bar and clear of the frame.
        EXPECT_GE(b->Ycoord, 0);
        EXPECT_LE(b->Ycoord + b->Image.Height(), s.Top->Image.Height() / s.Top->FrameCount);
        EXPECT_EQ(b->Align, 1) << b->Name;
        EXPECT_GE(b->Xcoord, b->Image.Width() / 4 + s.Right->Image.Width() / s.Right->FrameCount) << b->Name;
    }
    EXPECT_EQ(mdi, 3);
    EXPECT_EQ(actions.count(0), 1u);  // close
    EXPECT_EQ(actions.count(1), 2u);  // maximise and restore
    EXPECT_EQ(actions.count(2), 2u);  // minimise, beside maximise or alone
    EXPECT_EQ(actions.count(3), 1u);  // icon and system menu
}

TEST_P(ShippedSkin, ImagesSplitIntoWholeFrames) {
    const TSkinElements& s = Skin();
    const std::set<std::string_view> stacked = {"Top", "Bottom", "MenuBar", "Title"};
    for (std::string_view name : TSkinElements::SlotNames()) {
        const TDataSkinObject& o = *s.Slot(name);
        const bool st = stacked.count(name) > 0;
        const int n = o.FrameCount;
        const int along = st ? o.Image.Height() : o.Image.Width();
        EXPECT_EQ(along % n, 0) << name << ": " << along << " pixels in " << n << " frames";
        const int fw = st ? o.Image.Width() : o.Image.Width() / n;
        const int fh = st ? o.Image.Height() / n : o.Image.Height();
        if (name == "Title") continue;  // its margins place the caption text
        EXPECT_LE(o.LeftWidth + o.RightWidth, fw) << name;
        EXPECT_LE(o.TopHeight + o.BottomHeight, fh) << name;
    }
    EXPECT_EQ(s.Scrollbar->FrameCount, 23);
    EXPECT_EQ(s.Scrollbar->Image.Width() / 23, 16);   // bars are composed 16 pixels thick
    EXPECT_EQ(s.Scrollbar->Image.Height(), 16);
    EXPECT_EQ(s.HorzScrollThumb->Image.Height(), 16);
    EXPECT_EQ(s.VertScrollThumb->Image.Width() / s.VertScrollThumb->FrameCount, 16);
    EXPECT_EQ(s.Title->Image.Height() % 2, 0);         // TextBack: two frames stacked
    EXPECT_EQ(s.Buttons->CheckButton.Width() % s.Buttons->CheckButtonFrame, 0);
    EXPECT_EQ(s.Buttons->RadioButtonFrame, 4);
    EXPECT_EQ(s.UpDown.Vert->Image2.Width() % 8, 0);
    // The side edges' fixed top part is the title bar, so the title rows of
    // the frame are never stretched.
    const int title = s.Top->Image.Height() / s.Top->FrameCount;
    EXPECT_EQ(s.Left->TopHeight, title);
    EXPECT_EQ(s.Right->TopHeight, title);
}

TEST_P(ShippedSkin, FrameCornersAreKeyedSoTheWindowIsRounded) {
    const TSkinElements& s = Skin();
    for (const TDataSkinBorder* e : {s.Left.get(), s.Right.get(), s.Top.get(), s.Bottom.get()})
        EXPECT_EQ(e->Trans, 1) << e->Name;
    const TBitmap& left = s.Left->Image;
    const TBitmap& right = s.Right->Image;
    const int bw = left.Width() / 2, h = left.Height();
    for (int f = 0; f < 2; ++f) {
        EXPECT_TRUE(IsKey(Px(left, f * bw, 0)));                 // top-left corner
        EXPECT_TRUE(IsKey(Px(left, f * bw, h - 1)));             // bottom-left
        EXPECT_TRUE(IsKey(Px(right, f * bw + bw - 1, 0)));       // top-right
        EXPECT_TRUE(IsKey(Px(right, f * bw + bw - 1, h - 1)));   // bottom-right
        EXPECT_FALSE(IsKey(Px(left, f * bw, h / 2)));            // the straight edge
        EXPECT_FALSE(IsKey(Px(left, f * bw + bw - 1, 0)) && IsKey(Px(left, f * bw + bw - 1, 12)));
    }
    // The curve goes on into the fixed ends of the top edge, not its middle.
    const TBitmap& top = s.Top->Image;
    EXPECT_TRUE(IsKey(Px(top, 0, 0)));
    EXPECT_TRUE(IsKey(Px(top, top.Width() - 1, 0)));
    for (int x = s.Top->LeftWidth; x < top.Width() - s.Top->RightWidth; ++x)
        for (int y = 0; y < top.Height(); ++y) ASSERT_FALSE(IsKey(Px(top, x, y))) << x << "," << y;
    // Region building treats green 0 or 1 as the key: no such near-key pixel.
    for (std::string_view name : TSkinElements::SlotNames()) {
        const TBitmap& b = s.Slot(name)->Image;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) {
                const Rgb c = Px(b, x, y);
                ASSERT_FALSE(c.r == 255 && c.b == 255 && c.g == 1) << name;
            }
    }
}

TEST_P(ShippedSkin, OpaqueElementsHoldNoKeyPixels) {
    const TSkinElements& s = Skin();
    for (std::string_view name : TSkinElements::SlotNames()) {
        const TDataSkinObject& o = *s.Slot(name);
        if (o.Trans != 0 || name == "Title") continue;
        for (int y = 0; y < o.Image.Height(); ++y)
            for (int x = 0; x < o.Image.Width(); ++x)
                ASSERT_FALSE(IsKey(Px(o.Image, x, y))) << name << " would show fuchsia at " << x << "," << y;
    }
    for (int y = 0; y < s.Tabs->Image2.Height(); ++y)  // the tab border is drawn opaque
        for (int x = 0; x < s.Tabs->Image2.Width(); ++x) ASSERT_FALSE(IsKey(Px(s.Tabs->Image2, x, y)));
}

// Text colour against every non-key pixel of a region: the worst ratio.
double WorstContrast(Rgb text, const TBitmap& b, int x0, int y0, int x1, int y1) {
    double worst = 21;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (!IsKey(Px(b, x, y))) worst = std::min(worst, art::Contrast(text, Px(b, x, y)));
    return worst;
}

// WCAG levels: AA (4.5:1) for every skin, AAA (7:1) for the high-contrast one.
double RequiredTextContrast(const std::string& skin) { return skin == "contrast" ? 7.0 : 4.5; }

TEST_P(ShippedSkin, TextMeetsWcagLevel) {
    const TSkinElements& s = Skin();
    const double aa = RequiredTextContrast(GetParam());
    struct Case {
        const char* what;
        double ratio;
    };
    std::vector<Case> cases;
    const TBitmap& top = s.Top->Image;
    const int th = top.Height() / 2;
    // Caption text over the title bar's middle (the rows text can take, not
    // the outline) and over its text background.
    cases.push_back({"active caption on title", WorstContrast(ToRGB(s.Colours.TitleTextActive), top, 8, 3, top.Width() - 8, th - 3)});
    cases.push_back({"inactive caption on title", WorstContrast(ToRGB(s.Colours.TitleTextNoActive), top, 8, th + 3, top.Width() - 8, 2 * th - 3)});
    const TBitmap& back = s.Title->Image;
    cases.push_back({"active caption on text back", WorstContrast(ToRGB(s.Colours.TitleTextActive), back, 0, 0, back.Width(), back.Height() / 2)});
    cases.push_back({"inactive caption on text back", WorstContrast(ToRGB(s.Colours.TitleTextNoActive), back, 0, back.Height() / 2, back.Width(), back.Height())});
    // Button captions over the inside of their frames (margins excluded).
    const TDataSkinButton& b = *s.Buttons;
    const int fw = b.Image.Width() / 5;
    auto inside = [&](int frame) {
        return std::tuple(b.LeftWidth + (frame - 1) * fw, b.TopHeight, frame * fw - b.RightWidth, b.Image.Height() - b.BottomHeight);
    };
    auto button = [&](const char* what, TColour text, int frame) {
        const auto [x0, y0, x1, y1] = inside(frame);
        cases.push_back({what, WorstContrast(ToRGB(text), b.Image, x0, y0, x1, y1)});
    };
    button("button text, normal", b.NormalColour2, 1);
    button("button text, pressed", b.PressedColour2, 2);
    button("button text, hot", b.MouseOverColour2, 4);
    button("button text, default", b.NormalColour2, 5);
    // Menus, tabs, status bar, window text.
    const TBitmap& item = s.MenuItem->Image;
    const int iw = item.Width() / 5;
    cases.push_back({"selected menu item", WorstContrast(ToRGB(s.Colours.HilightText), item, 3 * iw + s.MenuItem->LeftWidth, s.MenuItem->TopHeight, 4 * iw - s.MenuItem->RightWidth, item.Height() - s.MenuItem->BottomHeight)});
    cases.push_back({"menu text", art::Contrast(ToRGB(s.Colours.MenuText), ToRGB(s.Colours.Menu))});
    cases.push_back({"highlighted text", art::Contrast(ToRGB(s.Colours.HilightText), ToRGB(s.Colours.Hilight))});
    const TBitmap& bar = s.MenuBar->Image;
    cases.push_back({"menu bar text", WorstContrast(ToRGB(s.Colours.MenuBarText), bar, 0, 0, bar.Width(), bar.Height() / 2 - 1)});
    const TBitmap& tabs = s.Tabs->Image;
    const int tw = tabs.Width() / 5;
    cases.push_back({"tab caption", WorstContrast(ToRGB(s.Tabs->NormalColour2), tabs, s.Tabs->LeftWidth, s.Tabs->TopHeight, tw - s.Tabs->RightWidth, tabs.Height() - s.Tabs->BottomHeight)});
    cases.push_back({"selected tab caption", WorstContrast(ToRGB(s.Tabs->MouseOverColour2), tabs, tw + s.Tabs->LeftWidth, s.Tabs->TopHeight, 2 * tw - s.Tabs->RightWidth, tabs.Height() - s.Tabs->BottomHeight)});
    cases.push_back({"status text", WorstContrast(ToRGB(s.StatusBarEdges->NormalColour2), s.StatusBarEdges->Image, 1, 2, 10, 11)});
    cases.push_back({"window text on face", art::Contrast(ToRGB(s.Colours.WindowText), ToRGB(s.Colours.ButtonFace))});
    // Content colours, where the skin gives them.
    const TSkinColours& c = s.Colours;
    if (HasColour(c.Client)) {
        const std::pair<const char*, std::pair<TColour, TColour>> content[] = {
            {"client text", {c.ClientText, c.Client}},         {"edit text", {c.EditText, c.Edit}},
            {"selected item", {c.EditHilightText, c.EditHilight}}, {"disabled text", {c.DisabledText, c.Client}},
            {"disabled edit text", {c.DisabledText, c.Edit}},  {"label text", {c.LabelText, c.Client}},
            {"hot text", {c.HotText, c.Client}},               {"hot text in a list", {c.HotText, c.Edit}},
        };
        for (const auto& [what, pair] : content) {
            ASSERT_TRUE(HasColour(pair.first) && HasColour(pair.second)) << what << ": every content key or none";
            cases.push_back({what, art::Contrast(ToRGB(pair.first), ToRGB(pair.second))});
        }
    }
    for (const Case& c : cases) {
        std::cout << "  " << GetParam() << ": " << c.what << " " << c.ratio << ":1\n";
        EXPECT_GE(c.ratio, aa) << c.what;
    }
}

TEST_P(ShippedSkin, CaptionGlyphsStandOutFromTheTitle) {
    // Non-text contrast (3:1): each caption button's glyph against what lies
    // behind it, in every frame.
    const TSkinElements& s = Skin();
    const TBitmap& top = s.Top->Image;
    const int th = top.Height() / 2;
    for (const auto& b : s.SysButtons) {
        if (b->Visibility == kMdiButtonMark || b->Image.Empty()) continue;
        const int fw = b->Image.Width() / b->FrameCount;
        for (int k = 1; k <= b->FrameCount; ++k) {
            const int titleRow = b->Ycoord + b->Image.Height() / 2 + (k == 4 ? th : 0);
            const Rgb behind = IsKey(Px(b->Image, (k - 1) * fw + 1, b->Image.Height() / 2))
                                   ? Px(top, top.Width() / 2, titleRow)
                                   : Px(b->Image, (k - 1) * fw + 1, b->Image.Height() / 2);
            // The glyph: the pixel of the frame that differs most from behind.
            double best = 1;
            for (int y = 0; y < b->Image.Height(); ++y)
                for (int x = (k - 1) * fw; x < k * fw; ++x)
                    if (!IsKey(Px(b->Image, x, y))) best = std::max(best, art::Contrast(Px(b->Image, x, y), behind));
            EXPECT_GE(best, 3.0) << b->Name << " frame " << k;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, ShippedSkin, testing::Values("default", "dusk", "contrast"));

TEST(SkinArt, HighContrastPaletteMeetsWcagAAAForEveryTextPair) {
    const art::TPalette p = art::ContrastPalette();
    struct Pair {
        const char* what;
        Rgb text, back;
    };
    const Pair pairs[] = {
        {"text on face", p.text, p.face},
        {"text on window", p.text, p.window},
        {"muted text on face", p.textMuted, p.face},
        {"muted text on window", p.textMuted, p.window},
        {"text on accent", p.accentText, p.accent},
        {"caption on title top", p.titleText, p.titleTop},
        {"caption on title bottom", p.titleText, p.titleBottom},
        {"inactive caption on title top", p.titleInactiveText, p.titleInactiveTop},
        {"inactive caption on title bottom", p.titleInactiveText, p.titleInactiveBottom},
        {"caption glyph on hot button", p.titleText, p.captionHot},
        {"caption glyph on pressed button", p.titleText, p.captionPressed},
        {"button text, top", p.text, p.buttonTop},
        {"button text, bottom", p.text, p.buttonBottom},
        {"button text, hot top", p.text, p.buttonHotTop},
        {"button text, hot bottom", p.text, p.buttonHotBottom},
        {"button text, pressed", p.text, p.buttonPressed},
        {"menu bar text", p.menuBarText, p.menuBar},
        {"menu text", p.text, p.menu},
        {"scroll arrow on track", p.arrow, p.track},
    };
    for (const Pair& c : pairs) EXPECT_GE(art::Contrast(c.text, c.back), 7.0) << c.what;
}

}  // namespace
}  // namespace srt
