// TSkinData: stored values, the SkinStream block, loading, and the calls it
// makes into the skin manager.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "component/filer.h"
#include "skin/data/bmp.h"
#include "skin/data/menuglyphs.h"
#include "skin/data/skindata.h"
#include "skin/data/skinreader.h"

namespace {

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> Skin(const char* name) {
    std::vector<std::uint8_t> bytes = ReadFileBytes(std::string(SRT_SKIN_DIR) + "/" + name + ".skn");
    EXPECT_FALSE(bytes.empty()) << name;
    return bytes;
}

std::vector<std::uint8_t> Block(const std::vector<std::uint8_t>& packed) {
    const auto n = static_cast<std::uint32_t>(packed.size());
    std::vector<std::uint8_t> out;
    out.reserve(4 + packed.size());
    for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(n >> shift));
    out.insert(out.end(), packed.begin(), packed.end());
    return out;
}

// Records every call; linked as the manager for one test.
struct FakeManager : ISkinManagerLink {
    static inline std::vector<std::string>* log = nullptr;
    void Say(const std::string& s) { log->push_back(s); }
    void AddSkinData(TSkinData*) override { Say("add"); }
    void RemoveSkinData(TSkinData*) override { Say("remove"); }
    void InstallHook() override { Say("hook"); }
    void RequestAction(TSkinManagerAction a, TSkinData* source, int ms) override {
        Say("request " + std::to_string(a) + " " + (source ? source->Name() : "-") + " " + std::to_string(ms));
    }
    void FreeFormCaches() override { Say("caches"); }
    void StartSkinning() override { Say("start"); }
    void SkinWindow(TComponent*) override { Say("skin window"); }
};

class WithManager : public ::testing::Test {
protected:
    void SetUp() override {
        FakeManager::log = &calls;
        SetSkinManager(&manager);
    }
    void TearDown() override {
        SetSkinManager(nullptr);
        FakeManager::log = nullptr;
    }
    std::vector<std::string> calls;
    FakeManager manager;
};

TClassRegistry Classes() {
    TClassRegistry classes;
    classes.Register<TSkinData>();
    return classes;
}

// A stored description of a component holding one TSkinData.
TStoredObject Stored(std::vector<std::uint8_t> block, bool active = true) {
    TStoredObject root{"TComponent", "Form1", {}, {}};
    TStoredObject data{"TSkinData", "SkinData1", {}, {}};
    data.properties.push_back({"Active", TStoredValue::Ident(active ? "True" : "False")});
    data.properties.push_back({"SkinStream", TStoredValue::Block(std::move(block))});
    root.children.push_back(data);
    return root;
}

}  // namespace

TEST(SkinData, ValuesAtCreation) {
    TSkinData data(nullptr);
    EXPECT_FALSE(data.Active());
    EXPECT_EQ(data.DisableTag(), 99);
    EXPECT_EQ(data.SkinControls(), kDefaultSkinControls);
    EXPECT_FALSE(data.HasControl(xcFastReport));
    EXPECT_TRUE(data.HasControl(xcSystemMenu));
    EXPECT_EQ(data.SkinFormtype(), sfMainform);
    EXPECT_TRUE(data.MenuUpdate());
    EXPECT_TRUE(data.Empty());
    EXPECT_TRUE(data.NCPaint);
    EXPECT_TRUE(data.DefaultIcon.Empty());
    EXPECT_EQ(data.Skin3rdList().Lines(), DefaultSkin3rd());
    EXPECT_EQ(data.SkinFile(), "");

    std::vector<std::string> names;
    for (const TPropInfo* p : TSkinData::StaticClass().Properties())
        if (!TComponent::StaticClass().FindProperty(p->Name)) names.push_back(p->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"Active", "DisableTag", "SkinControls", "Skin3rd", "SkinFile",
                                               "SkinStore", "SkinFormtype", "MenuUpdate", "OnFormSkin",
                                               "OnSkinChanged", "OnSkinControl"}));
}

TEST(SkinData, DefaultSkin3rdListsTheClassesInOrder) {
    // Class names and kinds as the classification rules list them.
    const char* groups[][2] = {
        {"TTBDock TTBToolbar", "panel"},
        {"TImageEnMView TImageEnView", "scrollbar"},
        {"TRzButton", "button"},
        {"TRzCheckGroup", "checkgroup"},
        {"TRzRadioGroup", "radiogroup"},
        {"TRzRadioButton", "radiobutton"},
        {"TRzCheckBox", "checkbox"},
        {"TRzButtonEdit", "edit"},
        {"TRzDBRadioGroup", "radiogroup"},
        {"TRzDBRadioButton", "radiobutton"},
        {"TRzDBCheckBox TDBCheckboxEh TDBCheckboxEh TLMDCHECKBOX TLMDDBCHECKBOX", "checkbox"},
        {"TLMDRadiobutton", "radiobutton"},
        {"TLMDGROUPBOX TLMDSIMPLEPANEL TLMDDBCalendar TLMDButtonPanel TLMDLMDCalculator TLMDHeaderPanel "
         "TLMDTechnicalLine TLMDLMDClock", "panel"},
        {"TLMDTrackbar", "trackbar"},
        {"TLMDListCombobox TLMDCheckListCombobox TLMDHeaderListCombobox TLMDImageCombobox TLMDColorCombobox "
         "TLMDFontCombobox TLMDFontSizeCombobox TLMDFontSizeCombobox TLMDPrinterCombobox TLMDDriveCombobox "
         "TLMDCalculatorComboBox TLMDTrackBarComboBox TLMDCalendarComboBox", "combobox"},
        {"TLMDRADIOGROUP", "radiogroup"},
        {"TLMDCheckGroup", "checkgroup"},
        {"TLMDDBRADIOGROUP", "radiogroup"},
        {"TLMDDBCheckGroup", "checkgroup"},
        {"TLMDEDIT TLMDMASKEDIT TLMDBROWSEEDIT TLMDEXTSPINEDIT TLMDCALENDAREDIT TLMDFILEOPENEDIT "
         "TLMDFILESAVEEDIT TLMDCOLOREDIT TLMDDBEDIT TLMDDBMASKEDIT TLMDDBEXTSPINEDIT TLMDDBSPINEDIT "
         "TLMDDBEDITDBLookup TLMDEDITDBLookup", "edit"},
        {"TDBLookupCombobox TWWDBCombobox TWWDBLookupCombo TWWDBCombobox TWWKeyCombo TWWTempKeyCombo "
         "TWWDBDateTimePicker", "combobox"},
        {"TWWRADIOGROUP", "radiogroup"},
        {"TDXDBPICKEDIT TDXDBCALCEDIT TDXDBIMAGEEDIT TDXDBPOPUPEDIT TDXDBEXTLOOKUPEDIT TDXDBLOOKUPEDIT "
         "TDXDBDATEEDIT TDXDATEEDIT TDXPICKEDIT TDXPOPUPEDIT", "combobox"},
        {"TDXDBCURRENCYEDIT TDXDBEDIT TDXDBMASKEDIT TDXDBHYPERLINKEDIT TDXEDIT TDXMASKEDIT TWWDBEDIT "
         "TDXBUTTONEDIT TDXCURRENCYEDIT TDXHYPERLINKEDIT TOVCPICTUREFIELD TOVCDBPICTUREFIELD TOVCSLIDEREDIT "
         "TOVCDBSLIDEREDIT TOVCSIMPLEFIELD TOVCDBSIMPLEFIELD TO32DBFLEXEDIT TOVCNUMERICFIELD TOVCDBNUMERICFIELD",
         "edit"},
    };
    std::vector<std::string> expected;
    for (const auto& g : groups) {
        std::istringstream names(g[0]);
        for (std::string n; names >> n;) expected.push_back(n + "=" + g[1]);
    }
    const std::vector<std::string>& lines = DefaultSkin3rd();
    ASSERT_EQ(lines.size(), 95u);
    ASSERT_EQ(expected.size(), 95u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t eq = lines[i].find('=');
        ASSERT_NE(eq, std::string::npos) << lines[i];
        EXPECT_EQ(lines[i].substr(0, eq), expected[i].substr(0, expected[i].find('='))) << "line " << i;
        EXPECT_EQ(srt::SkinLowerCase(lines[i]).substr(eq), expected[i].substr(eq)) << "line " << i;
    }
    // Kinds are written as their first line of each kind shows.
    EXPECT_EQ(lines[0], "TTBDock=Panel");
    EXPECT_EQ(lines[5], "TRzCheckGroup=CheckGroup");
    EXPECT_EQ(lines[9], "TRzButtonEdit=Edit");
}

TEST(SkinData, OurSkinLoadsWithEverySlotFilled) {
    for (const char* name : {"default", "dusk"}) {
        TSkinData data(nullptr);
        ASSERT_TRUE(data.LoadFromBytes(Skin(name))) << name;
        EXPECT_FALSE(data.Empty());
        for (std::string_view slot : srt::TSkinElements::SlotNames()) {
            const srt::TDataSkinObject* record = data.Slot(slot);
            ASSERT_NE(record, nullptr) << name << " " << slot;
            EXPECT_FALSE(record->Image.Empty()) << name << " " << slot;
        }
        EXPECT_FALSE(data.SysButtons.empty());
        EXPECT_GE(data.ColourList.size(), 2u);
        EXPECT_FALSE(data.SkinName.empty());
    }
}

TEST(SkinData, StoredDescriptionRoundTripKeepsTheSkinStreamBytes) {
    const std::vector<std::uint8_t> packed = Skin("default");
    TComponent form(nullptr);
    ReadComponent(form, Stored(Block(packed)), Classes());
    auto* data = form.FindComponentAs<TSkinData>("SkinData1");
    ASSERT_NE(data, nullptr);
    EXPECT_FALSE(data->Empty());
    EXPECT_TRUE(data->Active());
    EXPECT_EQ(data->SkinStream(), packed);

    const TStoredObject written = WriteComponent(form);
    ASSERT_EQ(written.children.size(), 1u);
    const TStoredObject& child = written.children[0];
    const TStoredProperty* block = child.Find("SkinStream");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->value.bytes, Block(packed));
    // Written last, after the published properties, which are always stored.
    EXPECT_EQ(child.properties.back().name, "SkinStream");
    for (const char* name : {"Active", "DisableTag", "SkinControls", "Skin3rd", "SkinFormtype", "MenuUpdate"})
        EXPECT_NE(child.Find(name), nullptr) << name;
    EXPECT_EQ(child.Find("SkinFile"), nullptr);

    TComponent again(nullptr);
    ReadComponent(again, WriteStoredObject(written), Classes());
    auto* copy = again.FindComponentAs<TSkinData>("SkinData1");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->SkinStream(), packed);
    EXPECT_EQ(copy->Skin3rdList().Lines(), DefaultSkin3rd());
    EXPECT_EQ(copy->SkinControls(), kDefaultSkinControls);
}

TEST(SkinData, EmptyStreamTurnsActiveOffAtLoaded) {
    for (std::int32_t n : {0, -5}) {
        std::vector<std::uint8_t> block = {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16),
                                           std::uint8_t(n >> 24)};
        TComponent form(nullptr);
        ReadComponent(form, Stored(block), Classes());
        auto* data = form.FindComponentAs<TSkinData>("SkinData1");
        ASSERT_NE(data, nullptr);
        EXPECT_TRUE(data->Empty());
        EXPECT_FALSE(data->Active());
        EXPECT_TRUE(data->SkinStream().empty());
        EXPECT_EQ(WriteComponent(form).children[0].Find("SkinStream")->value.bytes,
                  (std::vector<std::uint8_t>{0, 0, 0, 0}));
    }
}

TEST(SkinData, WrongVersionShowsTheMessageAndKeepsTheRecords) {
    std::vector<std::string> messages;
    TSkinData::SetMessageHandler([&](const std::string& m) { messages.push_back(m); });
    TSkinData data(nullptr);
    ASSERT_TRUE(data.LoadFromBytes(Skin("default")));
    const int width = data.Top->Image.Width();
    const std::string name = data.SkinName;

    std::vector<std::uint8_t> unpacked = srt::BuildSkinPackage({{"skin.ini", {'[', 'a', ']'}}});
    unpacked[0] = 0x21;  // version 20001
    EXPECT_FALSE(data.LoadFromBytes(srt::PackSkin(unpacked)));
    TSkinData::SetMessageHandler(nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], srt::kOlderSkinFileMessage);
    EXPECT_TRUE(data.Empty());
    EXPECT_EQ(data.Top->Image.Width(), width);
    EXPECT_EQ(data.SkinName, name);
}

TEST(SkinData, PackageWithoutDefinitionLeavesTheRecordsAndRaisesNothing) {
    TSkinData data(nullptr);
    ASSERT_TRUE(data.LoadFromBytes(Skin("default")));
    const int width = data.Left->Image.Width();
    const auto unpacked = srt::BuildSkinPackage({{"left.bmp", std::vector<std::uint8_t>(10, 1)}});
    EXPECT_NO_THROW(EXPECT_FALSE(data.LoadFromBytes(srt::PackSkin(unpacked))));
    EXPECT_TRUE(data.Empty());
    EXPECT_EQ(data.Left->Image.Width(), width);
}

TEST(SkinData, SkinFileSwitchesSkinsAndAMissingFileKeepsTheCurrentSkin) {
    TSkinData data(nullptr);
    data.SetSkinFile(std::string(SRT_SKIN_DIR) + "/dusk.skn");
    EXPECT_FALSE(data.Empty());
    EXPECT_EQ(data.SkinStream(), Skin("dusk"));
    const std::string dusk = data.SkinName;
    const srt::TColour face = data.Colours.ButtonFace;

    // A missing file keeps the current skin in use, and says why.
    data.SetSkinFile(std::string(SRT_SKIN_DIR) + "/no-such-skin.skn");
    EXPECT_FALSE(data.Empty());
    EXPECT_NE(data.SkinFileError().find("not found"), std::string::npos);
    EXPECT_EQ(data.SkinFile(), std::string(SRT_SKIN_DIR) + "/no-such-skin.skn");
    EXPECT_EQ(data.SkinName, dusk);
    EXPECT_EQ(data.Colours.ButtonFace, face);
    EXPECT_EQ(data.SkinStream(), Skin("dusk"));

    data.SetSkinFile(std::string(SRT_SKIN_DIR) + "/default.skn");
    EXPECT_FALSE(data.Empty());
    EXPECT_NE(data.SkinName, dusk);
}

TEST(SkinData, SkinStoreReadsNoneAtRunTimeAndGoodInDesignMode) {
    TSkinData data(nullptr);
    EXPECT_EQ(data.SkinStore(), "(none)");
    data.LoadFromBytes(Skin("default"));
    EXPECT_EQ(data.SkinStore(), "(none)");
    data.SetSkinStore("(Good)");
    EXPECT_EQ(data.SkinStore(), "(none)");
    data.SetDesigning(true);
    EXPECT_EQ(data.SkinStore(), "(Good)");
    // In design mode a file name empties the stream and loads nothing.
    data.SetSkinFile(std::string(SRT_SKIN_DIR) + "/dusk.skn");
    EXPECT_TRUE(data.SkinStream().empty());
    EXPECT_EQ(data.SkinStore(), "(none)");
}

TEST_F(WithManager, LoadedRegistersInstallsTheHookAndActivates) {
    {
        TComponent form(nullptr);
        ReadComponent(form, Stored(Block(Skin("default"))), Classes());
        EXPECT_EQ(calls, (std::vector<std::string>{"add", "hook", "request 1 SkinData1 250"}));
        calls.clear();
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"remove"}));
}

TEST_F(WithManager, LoadedWithAnEmptySkinOnlyRegisters) {
    TComponent form(nullptr);
    ReadComponent(form, Stored({0, 0, 0, 0}), Classes());
    EXPECT_EQ(calls, (std::vector<std::string>{"add", "hook"}));
    EXPECT_FALSE(form.FindComponentAs<TSkinData>("SkinData1")->Active());
}

TEST_F(WithManager, ActiveWritesRequestDeferredActions) {
    TComponent form(nullptr);
    ReadComponent(form, Stored(Block(Skin("default"))), Classes());
    auto* data = form.FindComponentAs<TSkinData>("SkinData1");
    calls.clear();
    data->SetActive(true);  // unchanged
    data->SetActive(false);
    data->SetActive(true);
    // Each request names its source.
    EXPECT_EQ(calls, (std::vector<std::string>{"request 2 SkinData1 250", "request 1 SkinData1 250"}));

    calls.clear();
    data->SetSkinFile(std::string(SRT_SKIN_DIR) + "/dusk.skn");
    EXPECT_EQ(calls, (std::vector<std::string>{"caches", "request 3 SkinData1 250"}));

    // Switching on while empty asks for nothing.
    calls.clear();
    data->SetActive(false);
    data->SetSkinFile("");
    data->SetActive(true);
    EXPECT_EQ(calls, (std::vector<std::string>{"request 2 SkinData1 250"}));

    calls.clear();
    data->SetSkinFormtype(sfOnlyThisForm);
    data->SetActive(false);
    data->SetActive(true);
    data->SetSkinFormtype(sfDialog);
    data->SetActive(false);
    EXPECT_EQ(calls, (std::vector<std::string>{"request 2 SkinData1 250"}));
}

TEST_F(WithManager, OtherFormTypesStartSkinningAtLoaded) {
    TStoredObject stored = Stored({0, 0, 0, 0}, false);
    stored.children[0].properties.push_back({"SkinFormtype", TStoredValue::Ident("sfDialog")});
    TComponent form(nullptr);
    ReadComponent(form, stored, Classes());
    EXPECT_EQ(calls, (std::vector<std::string>{"add", "start"}));
}

TEST(MenuGlyphs, CommittedResourceIsWhatTheGeneratorDraws) {
    const std::vector<std::uint8_t> committed = ReadFileBytes(std::string(SRT_SOURCE_DIR) + "/resources/glyphs/menuglyphs.bmp");
    EXPECT_EQ(committed, srt::WriteBmp1(srt::DrawMenuGlyphs()));

    const TBitmap strip = srt::ReadBmp(committed);
    ASSERT_EQ(strip.Width(), 64);
    ASSERT_EQ(strip.Height(), 16);
    TMenuImages images;
    ASSERT_TRUE(images.Load(strip));
    ASSERT_EQ(images.ImageCount(), 4);
    std::vector<std::vector<std::uint32_t>> cells;
    for (int i = 0; i < 4; ++i) {
        const TBitmap& g = images.Image(i);
        std::vector<std::uint32_t> px;
        int ink = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const std::uint32_t p = g.ScanLine(y)[x];
                EXPECT_TRUE(p == 0 || p == 0xFFFFFF);
                ink += p == 0;
                px.push_back(p);
                // A one-pixel white margin keeps glyphs apart in a menu.
                if (x == 0 || y == 0 || x == 15 || y == 15) {
                    EXPECT_EQ(p, 0xFFFFFFu) << i;
                }
            }
        EXPECT_GT(ink, 10) << i;
        cells.push_back(px);
    }
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j) EXPECT_NE(cells[i], cells[j]);
    EXPECT_FALSE(images.Load(TBitmap(48, 16)));
    EXPECT_EQ(images.ImageCount(), 0);
}

TEST(SkinData, MainWindowCarriesTheDefaultSkin) {
    const TStoredObject form = ReadStoredObject(ReadFileBytes(SRT_FORM1_BIN));
    TStoredObject holder{"TComponent", "Form1", {}, {}};
    for (const TStoredObject& child : form.children)
        if (child.name == "SkinData1") holder.children.push_back(child);
    ASSERT_EQ(holder.children.size(), 1u);
    EXPECT_EQ(holder.children[0].className, "TSkinData");

    TComponent owner(nullptr);
    ReadComponent(owner, holder, Classes());
    auto* data = owner.FindComponentAs<TSkinData>("SkinData1");
    ASSERT_NE(data, nullptr);
    EXPECT_FALSE(data->Empty());
    EXPECT_TRUE(data->Active());
    EXPECT_EQ(data->SkinStream(), Skin("default"));
    EXPECT_EQ(data->DisableTag(), 99);
    EXPECT_EQ(data->SkinControls(), kDefaultSkinControls);
    EXPECT_EQ(data->Skin3rdList().Lines(), DefaultSkin3rd());
    EXPECT_EQ(data->SkinFormtype(), sfMainform);
    EXPECT_TRUE(data->MenuUpdate());
}

#ifdef _WIN32
TEST(SkinData, ContentBrushesComeAndGoWithTheSkinsColours) {
    TSkinData data(nullptr);
    ASSERT_TRUE(data.LoadFromBytes(Skin("dusk")));
    ASSERT_NE(data.ClientBrush(), nullptr);
    ASSERT_NE(data.EditBrush(), nullptr);
    LOGBRUSH lb{};
    ASSERT_EQ(GetObjectW(data.EditBrush(), sizeof lb, &lb), static_cast<int>(sizeof lb));
    EXPECT_EQ(lb.lbColor, data.Colours.Edit);
    const HBRUSH dusk = data.ClientBrush();

    // The default skin defines none: no brushes, and the old ones are freed.
    ASSERT_TRUE(data.LoadFromBytes(Skin("default")));
    EXPECT_EQ(data.ClientBrush(), nullptr);
    EXPECT_EQ(data.EditBrush(), nullptr);
    EXPECT_EQ(data.EditHilightBrush(), nullptr);
    EXPECT_NE(data.ButtonFaceBrush(), nullptr);
    EXPECT_EQ(GetObjectType(dusk), 0u);
}
#endif
