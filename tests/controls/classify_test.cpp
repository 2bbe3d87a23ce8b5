// The classification rules over the component layer, with a recording target.
#include <gtest/gtest.h>

#include <map>

#include "skin/controls/classify.h"

using namespace srt;

namespace {

// Stand-ins with the framework's class names and ancestry.
class TWinControl : public TComponent {
    SRT_DECLARE_CLASS()
public:
    using TComponent::TComponent;
    std::int32_t Color() const { return color_; }
    void SetColor(std::int32_t v) { color_ = v; }
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v) { parentColor_ = v; }
    std::int32_t color_ = 0;
    bool parentColor_ = true;
};
SRT_DEFINE_CLASS(TWinControl, TComponent, {
    b.Integer("Color", &TWinControl::Color, &TWinControl::SetColor);
    b.Boolean("ParentColor", &TWinControl::ParentColor, &TWinControl::SetParentColor);
})
#define WIN_CLASS(C, P)                  \
    class C : public P {                 \
        SRT_DECLARE_CLASS()              \
    public:                              \
        using P::P;                      \
    };                                   \
    SRT_DEFINE_CLASS(C, P, )
WIN_CLASS(TButton, TWinControl)
WIN_CLASS(TCustomEdit, TWinControl)
WIN_CLASS(TEdit, TCustomEdit)
WIN_CLASS(TCustomMemo, TCustomEdit)
WIN_CLASS(TMemo, TCustomMemo)
WIN_CLASS(TCustomForm, TWinControl)
WIN_CLASS(TUpDown, TWinControl)
WIN_CLASS(TLMDEdit, TButton)  // named in the default Skin3rd list as an edit
WIN_CLASS(TRzCheckGroup, TWinControl)
WIN_CLASS(TPanelLike, TWinControl)
class TLabel : public TComponent {
    SRT_DECLARE_CLASS()
public:
    using TComponent::TComponent;
};
SRT_DEFINE_CLASS(TLabel, TComponent, )
class TDateTimePicker : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    using TWinControl::TWinControl;
    int Kind() const { return kind_; }
    void SetKind(int v) { kind_ = v; }
    int kind_ = 0;
};
SRT_DEFINE_CLASS(TDateTimePicker, TWinControl, {
    b.Enum("Kind", "TDateTimeKind", {"dtkDate", "dtkTime"}, &TDateTimePicker::Kind, &TDateTimePicker::SetKind);
})
class TToolBar : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    using TWinControl::TWinControl;
    bool Flat() const { return flat_; }
    void SetFlat(bool v) { flat_ = v; }
    bool flat_ = false;
};
SRT_DEFINE_CLASS(TToolBar, TWinControl, { b.Boolean("Flat", &TToolBar::Flat, &TToolBar::SetFlat); })

struct TAttach {
    TComponent* control;
    TSkinKind kind;
    bool colour;
    bool byHandle;
};

class TRecorder : public TClassifyTarget {
public:
    TRecorder() : data(nullptr) {}
    TSkinData data;
    std::vector<TAttach> attached;
    std::vector<TSkinEntry> entries;
    std::map<TComponent*, std::uintptr_t> handles;
    std::map<TComponent*, std::uint32_t> styles;
    std::map<TComponent*, std::vector<TComponent*>> children;
    std::vector<std::pair<TObject*, TComponent*>> adopted;
    std::string formName = "Form1";
    std::uintptr_t next = 0x100;

    TSkinData& Data() override { return data; }
    TObject* Sender() override { return &data; }
    std::string FormName() override { return formName; }
    std::vector<TSkinEntry> Entries() override { return entries; }
    std::uintptr_t Handle(TComponent* c) override { return handles.count(c) ? handles[c] : 0; }
    void HandleNeeded(TComponent* c) override { handles[c] = next++; }
    std::uint32_t Style(TComponent* c) override { return styles.count(c) ? styles[c] : 0; }
    std::vector<TComponent*> Children(TComponent* c) override { return children[c]; }
    void Adopt(TObject* skin, TComponent* control) override { adopted.push_back({skin, control}); }
    void Attach(TComponent* control, TSkinKind kind, bool colour, bool byHandle) override {
        attached.push_back({control, kind, colour, byHandle});
        entries.push_back({byHandle ? nullptr : control, Handle(control)});
    }
    TSkinKind KindOf(TComponent* c) const {
        for (const TAttach& a : attached)
            if (a.control == c) return a.kind;
        return TSkinKind::None;
    }
};

class Classify : public ::testing::Test {
protected:
    TRecorder t;
    TCustomForm form{nullptr};
};

}  // namespace

TEST_F(Classify, BuiltInRulesByClassAndAncestry) {
    auto* memo = new TMemo(&form);
    auto* edit = new TEdit(&form);
    auto* button = new TButton(&form);
    auto* label = new TLabel(&form);
    auto* updown = new TUpDown(&form);
    ClassifyComponents(t, &form);
    EXPECT_EQ(t.KindOf(memo), TSkinKind::ScrollBar);
    EXPECT_EQ(t.KindOf(edit), TSkinKind::Edit);
    EXPECT_EQ(t.KindOf(button), TSkinKind::Button);
    EXPECT_EQ(t.KindOf(label), TSkinKind::None);
    EXPECT_EQ(t.KindOf(updown), TSkinKind::UpDown);
    ASSERT_EQ(t.attached.size(), 4u);
    EXPECT_TRUE(t.attached[0].colour);     // memo: scroll bar, colour on
    EXPECT_TRUE(t.attached[1].byHandle);   // edit: by window handle
    EXPECT_FALSE(t.attached[2].colour);    // button: colour off
    // Windowed components got their windows before the rules ran.
    EXPECT_NE(t.Handle(edit), 0u);
}

TEST_F(Classify, MemoIsAnEditWithoutScrollBarSkinning) {
    t.data.SetSkinControls(kDefaultSkinControls & ~SkinControl(xcScrollbar));
    auto* memo = new TMemo(&form);
    ClassifyComponents(t, &form);
    EXPECT_EQ(t.KindOf(memo), TSkinKind::Edit);
}

TEST_F(Classify, TagRules) {
    auto* excluded = new TButton(&form);
    excluded->SetTag(199);
    auto* kept = new TButton(&form);
    kept->SetTag(99);
    auto* combo = new TWinControl(&form);
    combo->SetTag(95);
    auto* scroll = new TWinControl(&form);
    scroll->SetTag(196);
    auto* edit = new TWinControl(&form);
    edit->SetTag(97);
    auto* scrollable = new TWinControl(&form);
    scrollable->SetTag(55);
    ClassifyComponents(t, &form);
    EXPECT_EQ(t.KindOf(excluded), TSkinKind::None);  // DisableTag 99
    EXPECT_EQ(t.KindOf(kept), TSkinKind::None);
    EXPECT_EQ(t.KindOf(combo), TSkinKind::ComboBox);
    EXPECT_EQ(t.KindOf(scroll), TSkinKind::ScrollBar);
    EXPECT_EQ(t.KindOf(edit), TSkinKind::Edit);
    EXPECT_EQ(t.KindOf(scrollable), TSkinKind::ScrollBar);

    TRecorder second;
    second.data.SetDisableTag(0);
    TCustomForm other(nullptr);
    auto* tagged = new TButton(&other);
    tagged->SetTag(99);
    ClassifyComponents(second, &other);
    EXPECT_EQ(second.KindOf(tagged), TSkinKind::Button);
}

TEST_F(Classify, Skin3rdBeatsAncestryAndNeedsItsSwitch) {
    auto* lmd = new TLMDEdit(&form);
    ClassifyComponents(t, &form);
    EXPECT_EQ(t.KindOf(lmd), TSkinKind::Edit);

    TRecorder off;
    off.data.SetSkinControls(kDefaultSkinControls & ~SkinControl(xcEdit));
    TCustomForm other(nullptr);
    auto* bare = new TLMDEdit(&other);
    ClassifyComponents(off, &other);
    EXPECT_EQ(off.KindOf(bare), TSkinKind::None);  // no button rule either
}

TEST(Skin3rd, LookupIgnoresCaseAndTakesTheFirstLine) {
    TStringList lines({"TMyThing=Radiogroup", "tmything=edit", "TOther=", "TLong=" + std::string(60, 'x')});
    EXPECT_EQ(Skin3rdKind(lines, "TMYTHING"), "radiogroup");
    EXPECT_EQ(Skin3rdKind(lines, "TOTHER"), "");
    EXPECT_EQ(Skin3rdKind(lines, "TLONG")->size(), 50u);
    EXPECT_FALSE(Skin3rdKind(lines, "TMYTHIN"));
    EXPECT_FALSE(Skin3rdKind(lines, "TMYTHINGS"));
    TSkinData data(nullptr);
    EXPECT_EQ(data.Skin3rdList().Count(), 95);
    EXPECT_EQ(Skin3rdKind(data.Skin3rdList(), "TLMDEDIT"), "edit");
}

TEST_F(Classify, UnknownKindOrEmptyKindStillStopsTheBuiltInRules) {
    t.data.Skin3rd()->Clear();
    t.data.Skin3rd()->Add("TButton=gizmo");
    auto* button = new TButton(&form);
    ClassifyComponents(t, &form);
    EXPECT_EQ(t.KindOf(button), TSkinKind::None);
}

TEST_F(Classify, CheckGroupSkinsItsChildrenFirst) {
    auto* group = new TRzCheckGroup(&form);
    auto* a = new TWinControl(&form);
    auto* b = new TWinControl(&form);
    t.children[group] = {a, b};
    ClassifyComponents(t, &form);
    ASSERT_GE(t.attached.size(), 3u);
    EXPECT_EQ(t.attached[0].control, a);
    EXPECT_EQ(t.attached[0].kind, TSkinKind::CheckBox);
    EXPECT_TRUE(t.attached[0].colour);
    EXPECT_FALSE(a->ParentColor());
    EXPECT_EQ(t.attached[1].control, b);
    EXPECT_EQ(t.attached[2].control, group);
    EXPECT_EQ(t.attached[2].kind, TSkinKind::Box);
}

TEST_F(Classify, OnSkinControlTakesOverEveryControl) {
    TComponent mine(nullptr);
    int calls = 0;
    t.data.OnSkinControl.Code = [&](TObject* sender, TSkinData* data, TComponent* container, TComponent*,
                                    const std::string& cls, TObject*& skin) {
        EXPECT_EQ(sender, &t.data);
        EXPECT_EQ(data, &t.data);
        EXPECT_EQ(container, &form);
        EXPECT_EQ(cls, "TBUTTON");
        ++calls;
        skin = &mine;
    };
    new TButton(&form);
    new TButton(&form);
    ClassifyComponents(t, &form);
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(t.attached.empty());
    EXPECT_EQ(t.adopted.size(), 2u);
}

TEST_F(Classify, AlreadySkinnedAndPreviewForms) {
    auto* button = new TButton(&form);
    t.entries.push_back({button, 0});
    auto* edit = new TEdit(&form);
    t.handles[edit] = 0x77;
    t.entries.push_back({nullptr, 0x77});
    ClassifyComponents(t, &form);
    EXPECT_TRUE(t.attached.empty());

    // A raw-window entry met while a control has no window yet: only a
    // preview form leaves the control alone.
    TRecorder preview;
    preview.formName = "ReportPreviewForm";
    preview.entries.push_back({nullptr, 0x55});
    TCustomForm other(nullptr);
    auto* fresh = new TButton(&other);
    ClassifyComponents(preview, &other);
    EXPECT_EQ(preview.KindOf(fresh), TSkinKind::None);
    preview.formName = "Main";
    ClassifyComponents(preview, &other);
    EXPECT_EQ(preview.KindOf(fresh), TSkinKind::Button);
}

TEST_F(Classify, ToolbarsPickersAndNestedForms) {
    auto* bar = new TToolBar(&form);
    auto* time = new TDateTimePicker(&form);
    time->SetKind(1);
    auto* date = new TDateTimePicker(&form);
    auto* inner = new TCustomForm(&form);
    auto* nested = new TButton(inner);
    t.data.Colours.ButtonFace = 0x00C0D0E0;
    ClassifyComponents(t, &form);
    EXPECT_TRUE(bar->Flat());
    EXPECT_EQ(bar->Color(), 0x00C0D0E0);
    EXPECT_EQ(t.KindOf(bar), TSkinKind::None);
    EXPECT_EQ(t.KindOf(time), TSkinKind::Edit);
    EXPECT_EQ(t.KindOf(date), TSkinKind::ComboBox);
    EXPECT_EQ(inner->Color(), 0x00C0D0E0);
    EXPECT_EQ(t.KindOf(nested), TSkinKind::Button);
}

TEST(WindowClass, SystemDialogChildren) {
    EXPECT_EQ(WindowClassKind("button", 0x0), TSkinKind::Button);          // push
    EXPECT_EQ(WindowClassKind("button", 0x1), TSkinKind::Button);          // default push
    EXPECT_EQ(WindowClassKind("button", 0x3), TSkinKind::CheckBox);        // auto check box
    EXPECT_EQ(WindowClassKind("button", 0x6), TSkinKind::CheckBox);        // auto three-state
    EXPECT_EQ(WindowClassKind("button", 0x9), TSkinKind::RadioButton);     // auto radio
    EXPECT_EQ(WindowClassKind("button", 0x4), TSkinKind::RadioButton);
    EXPECT_EQ(WindowClassKind("button", 0x7), TSkinKind::None);            // group box
    EXPECT_EQ(WindowClassKind("button", 0xB), TSkinKind::None);            // owner-drawn
    EXPECT_EQ(WindowClassKind("button", 0x10000 | 0x20 | 0x3), TSkinKind::CheckBox);
    EXPECT_EQ(WindowClassKind("button", 0x8), TSkinKind::None);            // user button: the platform's
    // Split buttons, command links and push boxes are push buttons, not marks.
    for (std::uint32_t kind : {0xAu, 0xCu, 0xDu, 0xEu, 0xFu})
        EXPECT_EQ(WindowClassKind("button", kind), TSkinKind::Button) << kind;
    EXPECT_EQ(WindowClassKind("combobox", 0x1), TSkinKind::None);          // simple
    EXPECT_EQ(WindowClassKind("combobox", 0x2), TSkinKind::ComboBox);
    EXPECT_EQ(WindowClassKind("edit", 0), TSkinKind::Edit);
    EXPECT_EQ(WindowClassKind("systabcontrol32", 0x2000), TSkinKind::None);
    EXPECT_EQ(WindowClassKind("static", 0), TSkinKind::None);
}
