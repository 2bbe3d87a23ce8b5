// The component layer over real windows: handles on demand, a replaceable
// WindowProc, graphic controls fed by their parent, the application's boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "component/forms.h"

namespace {

class RecordingPrompts : public TPrompts {
public:
    std::vector<std::string> log;
    void Message(const std::string& caption, const std::string& text) override {
        log.push_back("message " + caption + "|" + text);
    }
    void Error(const std::string& caption, const std::string& text) override {
        log.push_back("error " + caption + "|" + text);
    }
};

class TProbe : public TGraphicControl {
    SRT_DECLARE_CLASS()
public:
    using TGraphicControl::TGraphicControl;
    int paints = 0;

protected:
    void Paint(TCanvas& canvas) override {
        ++paints;
        canvas.FillRect(ClientRect(), clBlack);
    }
};
SRT_DEFINE_CLASS(TProbe, TGraphicControl, )

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<TApplication>();
        app->SetPrompts(&prompts);
        app->SetTitle("Probe");
    }
    RecordingPrompts prompts;
    std::unique_ptr<TApplication> app;
};

}  // namespace

TEST_F(Controls, ApplicationWindowAndErrorBoxRules) {
    wchar_t cls[64];
    GetClassNameW(app->Handle(), cls, 64);
    EXPECT_STREQ(cls, L"TApplication");
    app->ShowException("Disk full");
    app->ShowException("Ends with a stop.");
    app->ShowException("Ends with a comma,");  // ',' sorts before '.'
    app->ShowException("错误");
    app->ShowMessage("Notice");
    EXPECT_EQ(prompts.log, (std::vector<std::string>{"error Probe|Disk full.", "error Probe|Ends with a stop.",
                                                     "error Probe|Ends with a comma,", "error Probe|错误.",
                                                     "message Probe|Notice"}));
}

TEST_F(Controls, ScreenListsFormsInCreationOrder) {
    auto* a = app->CreateForm<TForm>();
    auto* b = app->CreateForm<TForm>();
    ASSERT_EQ(Screen->FormCount(), 2);
    EXPECT_EQ(Screen->Forms(0), a);
    EXPECT_EQ(Screen->Forms(1), b);
    EXPECT_EQ(app->MainForm(), a);
    delete a;
    EXPECT_EQ(Screen->FormCount(), 1);
    EXPECT_EQ(Screen->Forms(0), b);
    EXPECT_FALSE(Screen->MenuFont()->Name().empty());
}

TEST_F(Controls, HandlesAreCreatedOnDemandWithTheParents) {
    auto* form = app->CreateForm<TForm>();
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetCaption("按钮");
    EXPECT_FALSE(form->HandleAllocated());
    HWND h = button->Handle();
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(form->HandleAllocated());
    EXPECT_EQ(GetParent(h), form->Handle());
    EXPECT_EQ(TWinControl::FindControl(h), button);
    wchar_t cls[32];
    GetClassNameW(h, cls, 32);
    EXPECT_STREQ(cls, L"Button");
    EXPECT_EQ(button->GetTextW(), L"按钮");
    delete form;  // frees the button and both windows
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(Controls, AReplacedWindowProcSeesMessagesAndCanBePutBack) {
    auto* form = app->CreateForm<TForm>();
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->HandleNeeded();
    int seen = 0;
    TWndMethod previous = edit->WindowProc;
    edit->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_SETTEXT) ++seen;
        previous(m);
    };
    SetWindowTextW(edit->Handle(), L"abc");
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(edit->GetTextW(), L"abc");
    edit->WindowProc = previous;
    SetWindowTextW(edit->Handle(), L"def");
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(edit->GetTextW(), L"def");
}

TEST_F(Controls, ButtonClicksRunOnClick) {
    auto* form = app->CreateForm<TForm>();
    auto* button = new TButton(form);
    button->SetParent(form);
    int clicks = 0;
    button->OnClick.Code = [&](TObject* s) {
        EXPECT_EQ(s, button);
        ++clicks;
    };
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
}

TEST_F(Controls, GraphicControlsArePaintedAndClickedThroughTheirParent) {
    auto* form = app->CreateForm<TForm>();
    form->SetClientWidth(200);
    form->SetClientHeight(100);
    auto* probe = new TProbe(form);
    probe->SetParent(form);
    probe->SetBounds(10, 20, 30, 40);
    int clicks = 0;
    std::vector<UINT> seen;
    TWndMethod previous = probe->WindowProc;
    probe->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        previous(m);
    };
    probe->OnClick.Code = [&](TObject*) { ++clicks; };
    form->Show();
    UpdateWindow(form->Handle());
    EXPECT_GE(probe->paints, 1);
    // The parent's window shows the probe's black at the probe's place.
    HDC dc = GetDC(form->Handle());
    EXPECT_EQ(GetPixel(dc, 15, 25), RGB(0, 0, 0));
    EXPECT_NE(GetPixel(dc, 5, 5), RGB(0, 0, 0));
    ReleaseDC(form->Handle(), dc);
    SendMessageW(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(12, 22));
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 22));
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(12, 22));
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(100, 90));  // outside: nothing
    EXPECT_EQ(clicks, 1);
    std::vector<UINT> mouse;
    for (UINT m : seen)
        if (m != WM_PAINT) mouse.push_back(m);
    EXPECT_EQ(mouse, (std::vector<UINT>{CM_MOUSEENTER, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(Controls, FontsAndColoursFollowTheParent) {
    auto* form = app->CreateForm<TForm>();
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    auto* label = new TLabel(form);
    label->SetParent(form);
    form->Font()->SetName("宋体");
    EXPECT_EQ(memo->Font()->Name(), "宋体");
    memo->Font()->SetName("Fixedsys");
    EXPECT_FALSE(memo->ParentFont());
    form->Font()->SetHeight(-20);
    EXPECT_EQ(memo->Font()->Height(), -11);
    EXPECT_EQ(label->Font()->Height(), -20);
    form->SetColor(clWhite);
    EXPECT_EQ(label->Color(), clWhite);  // ParentColor
    EXPECT_EQ(memo->Color(), clWindow);
}

TEST_F(Controls, SetEnumPropertyByNameOnARealControl) {
    auto* form = app->CreateForm<TForm>();
    auto* memo = new TMemo(form);
    EXPECT_TRUE(memo->InheritsFrom("TCustomMemo"));
    EXPECT_TRUE(memo->InheritsFrom("TCustomEdit"));
    EXPECT_FALSE(memo->InheritsFrom("TButton"));
    EXPECT_TRUE(form->InheritsFrom("TCustomForm"));
    SetEnumProp(*memo, "ScrollBars", "ssBoth");
    EXPECT_EQ(memo->ScrollBars(), ssBoth);
    SetOrdProp(*memo, "Font.Height", -15);
    EXPECT_EQ(memo->Font()->Height(), -15);
}

TEST_F(Controls, TimersTick) {
    TTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer.Code = [&](TObject*) { ++ticks; };
    timer.SetInterval(10);
    DWORD start = GetTickCount();
    while (ticks == 0 && GetTickCount() - start < 3000) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        else Sleep(1);
    }
    EXPECT_GE(ticks, 1);
    timer.SetEnabled(false);
}
