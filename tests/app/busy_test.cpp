// Filling the main window's memo in growing chunks: the text arrives whole
// and unchanged, CR LF pairs never split, in few appends.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "busy.h"
#include "mainform.h"
#include "texts.h"

namespace {

int replaceCalls = 0;
WNDPROC memoProc = nullptr;

LRESULT CALLBACK CountingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == EM_REPLACESEL) ++replaceCalls;
    return CallWindowProcW(memoProc, h, msg, wp, lp);
}

class Busy : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        Application->SetTitle("SrtRetime");
        RegisterMainFormClasses(Application->Classes(), Application->GraphicFormats());
        form = Application->CreateForm<TForm1>();
        form->HandleNeeded();
        memo = form->Memo1->Handle();
        replaceCalls = 0;
        memoProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(memo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
    }
    void TearDown() override {
        if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(memo, GWLP_WNDPROC)) == &CountingProc)
            SetWindowLongPtrW(memo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(memoProc));
        app_.reset();
    }
    std::wstring MemoText() {
        std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(memo)) + 1, L'\0');
        s.resize(static_cast<std::size_t>(GetWindowTextW(memo, s.data(), static_cast<int>(s.size()))));
        return s;
    }

    std::unique_ptr<TApplication> app_;
    TForm1* form = nullptr;
    HWND memo = nullptr;
};

// Lines of 31 characters, the last two CR LF: a first chunk of 30 ends on
// a CR.
std::wstring Lines(int count, const wchar_t* tag) {
    std::wstring s;
    for (int i = 0; i < count; ++i) s += std::wstring(tag) + L" 00:00:01,000 --> 00:00:02,5\r\n";
    return s;
}

TEST_F(Busy, FillsInAppendsThatGrowWithTheTextAndKeepsEveryPair) {
    const std::string caption = form->Caption();
    const std::wstring text = Lines(1000, L"甲");  // 31000 characters
    {
        srt::app::TBusy busy(*form, srt::app::texts::kOpening, srt::app::TLanguage::English);
        busy.FillMemo(*form->Memo1, text, 30);
    }
    EXPECT_EQ(MemoText(), text);
    // 31, 31, 62, ... doubling: log2(31000 / 31) + 2 appends, where chunks
    // of 31 would take 1000.
    EXPECT_GE(replaceCalls, 2);
    EXPECT_LE(replaceCalls, 12);
    EXPECT_EQ(form->Caption(), caption);

    // Filling again (an adjust) replaces the text rather than adding to it.
    const std::wstring later = Lines(700, L"乙");
    {
        srt::app::TBusy busy(*form, srt::app::texts::kOpening, srt::app::TLanguage::English);
        busy.FillMemo(*form->Memo1, later, 30);
    }
    EXPECT_EQ(MemoText(), later);
}

TEST_F(Busy, ATextShorterThanTheFirstChunkGoesInOneAppend) {
    const std::wstring text = Lines(2, L"x");
    {
        srt::app::TBusy busy(*form, srt::app::texts::kOpening, srt::app::TLanguage::English);
        busy.FillMemo(*form->Memo1, text);
    }
    EXPECT_EQ(MemoText(), text);
    EXPECT_EQ(replaceCalls, 1);
}

}  // namespace
