// The window's two languages: switching relabels it live and back to the
// very texts it was stored with, and every English caption fits its control
// in the window's font.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "component/wstr.h"
#include "mainform.h"
#include "tests/app/formhost.h"
#include "texts.h"

namespace {

using srt::app::TLanguage;
namespace texts = srt::app::texts;

class Quiet : public TPrompts {
public:
    std::vector<std::string> log;
    void Message(const std::string&, const std::string& text) override { log.push_back(text); }
    void Error(const std::string&, const std::string& text) override { log.push_back(text); }
};

class Language : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = std::make_unique<srt::testing::TMainFormHost>(prompts);
        form = host_->form;
    }
    // The window's own texts, in the order of the stored description.
    std::vector<std::string> Texts() {
        return {form->Caption(),          form->Button1->Caption(),  form->Button2->Caption(),
                form->Button3->Caption(), form->Label1->Caption(),   form->Edit1->Hint(),
                form->OpenDialog1->Filter(), form->SaveDialog1->Filter()};
    }
    // The width and height `text` takes in `control`'s font.
    SIZE Extent(TControl& control, const std::wstring& text) {
        SIZE size{};
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, control.Font()->Handle());
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return size;
    }

    Quiet prompts;
    std::unique_ptr<srt::testing::TMainFormHost> host_;
    TForm1* form = nullptr;
};

TEST_F(Language, TheStoredTextsAreTheChinesePairs) {
    const std::vector<std::string> stored = Texts();
    EXPECT_EQ(stored, (std::vector<std::string>{Narrow(texts::kCaption.zh), Narrow(texts::kOpen.zh),
                                                 Narrow(texts::kAdjust.zh), Narrow(texts::kSave.zh),
                                                 Narrow(texts::kOffsetLabel.zh), Narrow(texts::kOffsetHint.zh),
                                                 Narrow(texts::kOpenFilter.zh), Narrow(texts::kSaveFilter.zh)}));
    form->SetLanguage(TLanguage::English);
    EXPECT_EQ(form->Language(), TLanguage::English);
    EXPECT_EQ(form->Button2->Caption(), "Adjust");
    EXPECT_EQ(form->SaveDialog1->Filter(), "SRT subtitle file|*.srt");
    form->SetLanguage(TLanguage::Chinese);
    EXPECT_EQ(Texts(), stored);
}

TEST_F(Language, LaterMessagesFollowTheSwitch) {
    form->Button2Click(form);
    form->SetLanguage(TLanguage::English);
    form->Button2Click(form);
    form->Memo1->SetTextW(L"x");
    form->Button2Click(form);
    EXPECT_EQ(prompts.log, (std::vector<std::string>{"\xe8\xaf\xb7\xe6\x89\x93\xe5\xbc\x80\xe4\xb8\x80\xe4\xb8\xaa"
                                                     "Srt\xe6\xa0\xbc\xe5\xbc\x8f\xe5\xad\x97\xe5\xb9\x95\xe6\x96"
                                                     "\x87\xe4\xbb\xb6\xef\xbc\x81",
                                                     "Please open a subtitle file in SRT format!",
                                                     "Please enter the offset! (in milliseconds)"}));
}

// A button's caption needs its frame's room: 4 pixels a side for the skin's
// edges and the focus rectangle.
TEST_F(Language, EnglishCaptionsFitTheirControls) {
    form->SetLanguage(TLanguage::English);
    for (TButton* button : {form->Button1, form->Button2, form->Button3}) {
        const SIZE size = Extent(*button, Widen(button->Caption()));
        EXPECT_LE(size.cx, button->Width() - 8) << button->Caption();
        EXPECT_LE(size.cy, button->Height() - 8) << button->Caption();
    }
    // The label is as high as its Chinese text's cell; the English one no higher.
    const SIZE label = Extent(*form->Label1, Widen(form->Label1->Caption()));
    EXPECT_LE(label.cx, form->Label1->Width());
    EXPECT_LE(label.cy, Extent(*form->Label1, texts::kOffsetLabel.zh).cy);
    // The caption is no wider than the Chinese one, which fits beside the
    // caption buttons.
    EXPECT_LE(Extent(*form, Widen(form->Caption())).cx, Extent(*form, texts::kCaption.zh).cx);
}

}  // namespace
