// Form skins on forms of the application: the Tag 99 rule, and switching
// skinning off and on again over the screen's forms.
#include "formskin_fixture.h"

#include "component/forms.h"

namespace srt {
namespace {

using namespace formtest;

class AppFormSkin : public FormSkin {
protected:
    TForm* NewForm(const char* caption, int tag = 0) {
        auto* form = new TForm(&app);
        form->SetCaption(caption);
        form->SetBounds(60, 60, 300, 200);
        form->SetTag(tag);
        form->SetVisible(true);
        return form;
    }
    std::uintptr_t Id(TForm* form) { return reinterpret_cast<std::uintptr_t>(form->Handle()); }
    void TearDown() override {
        Tick(maDeactivate);  // no form skin outlives the forms
        FormSkin::TearDown();
    }
    TApplication app;
};

TEST_F(AppFormSkin, Tag99FormsKeepTheirOwnFrame) {
    data.SetDisableTag(5);  // not consulted for forms
    TForm* own = NewForm("Own frame", 99);
    const LONG_PTR style = GetWindowLongPtrW(own->Handle(), GWL_STYLE);
    EXPECT_FALSE(manager.SkinWindow(Id(own)));
    EXPECT_EQ(GetWindowLongPtrW(own->Handle(), GWL_STYLE), style);
    EXPECT_NE(SendMessageW(own->Handle(), kWmSkinQuery, 0, 0), 1);
    TForm* tagged = NewForm("Tag 5", 5);
    EXPECT_TRUE(manager.SkinWindow(Id(tagged)));
}

TEST_F(AppFormSkin, ActiveOffThenOnSkinsEveryFormAgain) {
    TForm* first = NewForm("First");
    TForm* second = NewForm("Second");
    TForm* own = NewForm("Own", 99);
    ASSERT_NE(Skinned(first->Handle()), nullptr);
    ASSERT_NE(Skinned(second->Handle()), nullptr);
    EXPECT_EQ(first->Color(), static_cast<TColor>(data.Colours.ButtonFace));

    Tick(maDeactivate);
    EXPECT_TRUE(manager.Forms().empty());
    EXPECT_NE(SendMessageW(first->Handle(), kWmSkinQuery, 0, 0), 1);
    EXPECT_NE(GetWindowLongPtrW(first->Handle(), GWL_STYLE) & WS_SYSMENU, 0);

    Tick(maActivate);
    EXPECT_TRUE(manager.Active());
    EXPECT_EQ(manager.Forms().size(), 2u);
    EXPECT_EQ(SendMessageW(first->Handle(), kWmSkinQuery, 0, 0), 1);
    EXPECT_EQ(SendMessageW(second->Handle(), kWmSkinQuery, 0, 0), 1);
    EXPECT_NE(SendMessageW(own->Handle(), kWmSkinQuery, 0, 0), 1);
    EXPECT_EQ(Skin(first->Handle())->LifeState(), fsRunning);
}

TEST_F(AppFormSkin, RefreshGivesOwnedFormsTheSkinColour) {
    TForm* main = NewForm("Main");
    auto* owned = new TForm(main);
    owned->SetColor(clWindow);
    TWinSkinForm* skin = Skinned(main->Handle());
    ASSERT_NE(skin, nullptr);
    skin->Refresh();
    EXPECT_EQ(owned->Color(), static_cast<TColor>(data.Colours.ButtonFace));
}

// Someone replaces the form's method on top of the form skin's: letting go
// leaves theirs in place, and ours only passes messages on.
TEST_F(AppFormSkin, DetachUnderAnotherFormMethodKeepsTheirChain) {
    TForm* form = NewForm("Hooked");
    ASSERT_NE(Skinned(form->Handle()), nullptr);
    int seen = 0;
    TWndMethod below = form->WindowProc;
    form->WindowProc = [&seen, below](TMessage& m) {
        ++seen;
        below(m);
    };
    Tick(maDeactivate);
    seen = 0;
    SetWindowTextW(form->Handle(), L"Renamed");
    EXPECT_GT(seen, 0);
    wchar_t text[16] = {};
    GetWindowTextW(form->Handle(), text, 16);
    EXPECT_STREQ(text, L"Renamed");
    SendMessageW(form->Handle(), kWmSkinReapply, 0, 0);  // reaches no freed form skin
}

}  // namespace
}  // namespace srt
