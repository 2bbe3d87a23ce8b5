// The component classes of the gallery through the classification rules.
#include "fixture.h"

#include "component/buttons.h"
#include "component/groups.h"
#include "component/pickers.h"
#include "component/richedit.h"
#include "skin/controls/buttons.h"
#include "skin/controls/edits.h"
#include "skin/controls/scrollbars.h"

using namespace ctltest;
using namespace srt;

namespace {

class Components : public Fixture {
protected:
    template <class C>
    C* Make(int tag = 0) {
        auto* c = new C(form);
        c->SetParent(form);
        c->SetBounds(10, 10 + 30 * count++, 120, 24);
        c->SetTag(tag);
        return c;
    }
    // The control skin attached to `c`, by object or by window.
    TSkinControl* SkinOf(TWinControl* c) {
        for (TSkinControl* s : skins->Controls())
            if (s->Control() == c || (!s->Control() && c->HandleAllocated() && s->Handle() == c->Handle())) return s;
        return nullptr;
    }
    template <class S>
    bool Has(TWinControl* c) {
        return dyncast<S>(SkinOf(c)) != nullptr;
    }
    void SetSkin3rd(std::vector<std::string> lines) { data->SetSkin3rd(TStringList(std::move(lines))); }
    int count = 0;
};

}  // namespace

TEST_F(Components, BuiltInRulesOnTheComponentClasses) {
    data->SetDisableTag(99);
    auto* combo = Make<TComboBox>();
    auto* combo95 = Make<TComboBox>(95);
    auto* date = Make<TDateTimePicker>();
    auto* time = Make<TDateTimePicker>();
    time->SetKind(dtkTime);
    auto* updown = Make<TUpDown>();
    auto* bit = Make<TBitBtn>();
    auto* excluded = Make<TButton>(199);
    auto* panel97 = Make<TPanel>(97);
    panel97->SetBorderStyle(bsSingle);
    auto* panel = Make<TPanel>();
    auto* group = Make<TGroupBox>();
    auto* check = Make<TCheckBox>();
    auto* rich = Make<TRichEdit>();
    skins->ClassifyComponents(form);

    EXPECT_EQ(SkinOf(combo), nullptr);  // a combo box has no rule of its own
    EXPECT_TRUE(Has<TSkinComBox>(combo95));
    EXPECT_TRUE(Has<TSkinComBox>(date));
    EXPECT_TRUE(Has<TSkinEdit>(time));
    EXPECT_TRUE(Has<TSkinUpDown>(updown));
    EXPECT_TRUE(Has<TSkinButton>(bit));  // by ancestry
    EXPECT_EQ(SkinOf(excluded), nullptr);
    EXPECT_TRUE(Has<TSkinEdit>(panel97));
    EXPECT_EQ(SkinOf(panel97)->Control(), nullptr);  // by window handle
    EXPECT_EQ(SkinOf(panel), nullptr);
    EXPECT_EQ(SkinOf(group), nullptr);
    EXPECT_EQ(SkinOf(check), nullptr);  // check boxes need a Skin3rd line
    EXPECT_TRUE(Has<TSkinScrollBar>(rich));  // a scroll-bar host
}

TEST_F(Components, Skin3rdLinesForCheckBoxesGroupsAndAButtonClass) {
    SetSkin3rd({"TCheckBox=Checkbox", "TRadioButton=Radiobutton", "TCheckGroup=CheckGroup", "tbitbtn=EDIT"});
    auto* check = Make<TCheckBox>();
    check->SetColor(clWindow);
    auto* radio = Make<TRadioButton>();
    auto* checks = Make<TCheckGroup>();
    checks->SetBounds(150, 10, 160, 90);
    checks->SetItems({"One", "Two"});
    auto* bit = Make<TBitBtn>();
    skins->ClassifyComponents(form);

    EXPECT_TRUE(Has<TSkinCheckBox>(check));
    EXPECT_EQ(check->Color(), static_cast<TColor>(data->Colours.ButtonFace));  // the colour flag
    EXPECT_TRUE(Has<TSkinRadioButton>(radio));
    for (int i = 0; i < checks->ButtonCount(); ++i) {
        auto* item = static_cast<TWinControl*>(checks->Buttons(i));
        EXPECT_TRUE(Has<TSkinCheckBox>(item)) << i;
        EXPECT_FALSE(item->ParentColor());
    }
    EXPECT_TRUE(Has<TSkinEdit>(bit));  // the line beats the button ancestry
    skins->Release();
    EXPECT_EQ(check->Color(), clWindow);

    data->SetSkinControls(data->SkinControls() & ~SkinControl(xcEdit));
    skins->ClassifyComponents(form);
    EXPECT_EQ(SkinOf(bit), nullptr);  // and no other rule is tried
}

TEST_F(Components, CheckBoxStatesReachTheSkinCells) {
    SetSkin3rd({"TCheckBox=Checkbox"});
    auto* check = Make<TCheckBox>();
    check->SetAllowGrayed(true);
    skins->ClassifyComponents(form);
    auto* skin = dyncast<TSkinCheckBox>(SkinOf(check));
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->Cell(), 1);
    check->SetChecked(true);
    EXPECT_EQ(skin->Cell(), 2);
    check->SetState(cbGrayed);
    EXPECT_EQ(skin->Cell(), 4);
    SendMessageW(check->Handle(), BM_CLICK, 0, 0);  // a click moves the three states on
    EXPECT_EQ(check->State(), cbUnchecked);
    EXPECT_EQ(skin->Cell(), 1);
}
