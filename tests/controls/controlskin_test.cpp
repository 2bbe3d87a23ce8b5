// The control skin base: attaching to raw windows and to control objects,
// detaching once, colours, the owner's list and GDI use.
#include "fixture.h"

#include "skin/controls/buttons.h"
#include "skin/controls/edits.h"

using namespace ctltest;
using srt::TSkinButton;
using srt::TSkinCheckBox;
using srt::TSkinControl;
using srt::TSkinEdit;

namespace {

WNDPROC g_previous = nullptr;
int g_onTop = 0;
LRESULT CALLBACK OnTop(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    ++g_onTop;
    return CallWindowProcW(g_previous, hwnd, msg, wparam, lparam);
}

WNDPROC Proc(HWND hwnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)); }

class TCounting : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    int before = 0, after = 0;
    UINT swallow = 0;
    bool BeforeProc(TMessage& m) override {
        ++before;
        if (m.Msg == swallow) {
            m.Result = 42;
            return false;
        }
        return true;
    }
    void AfterProc(TMessage& m) override {
        ++after;
        TSkinControl::AfterProc(m);
    }
};

}  // namespace

TEST_F(Fixture, RawWindowSubclassedAndRestoredOnce) {
    HWND edit = Raw(L"EDIT", WS_BORDER, 10, 10, 100, 22);
    WNDPROC original = Proc(edit);
    auto* skin = AttachRaw<TCounting>(edit);
    EXPECT_NE(Proc(edit), original);
    skin->swallow = WM_USER + 5;
    EXPECT_EQ(SendMessageW(edit, WM_USER + 5, 0, 0), 42);
    SetWindowTextW(edit, L"typed");
    wchar_t text[16] = {};
    GetWindowTextW(edit, text, 16);
    EXPECT_STREQ(text, L"typed");  // passed on to the edit's own procedure
    EXPECT_GE(skin->after, 1);
    skin->Unsubclass();
    EXPECT_EQ(Proc(edit), original);
    // Someone else's procedure put in place after ours is never cut out.
    g_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OnTop)));
    skin->Unsubclass();
    EXPECT_EQ(Proc(edit), &OnTop);
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
}

TEST_F(Fixture, SubclassOnTopKeepsItsChainAfterOurSkinGoes) {
    HWND edit = Raw(L"EDIT", WS_BORDER, 10, 10, 100, 22);
    WNDPROC original = Proc(edit);
    auto* skin = AttachRaw<TCounting>(edit);
    g_onTop = 0;
    g_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OnTop)));
    skin->Free();  // our thunk stays in the chain, passing messages on
    EXPECT_EQ(skins->Controls().size(), 0u);
    SetWindowTextW(edit, L"still");
    wchar_t text[16] = {};
    GetWindowTextW(edit, text, 16);
    EXPECT_STREQ(text, L"still");
    EXPECT_GT(g_onTop, 0);
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
}

TEST_F(Fixture, ControlObjectAttachedOnceAndDetachedAtDestroy) {
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 25);
    auto* skin = new TCounting(skins.get());
    skin->InitControl(button, data.get(), false);
    skin->InitControl(button, data.get(), true);  // a second attach does nothing
    EXPECT_EQ(skins->Controls().size(), 1u);
    EXPECT_TRUE(button->DoubleBuffered());
    skin->swallow = WM_USER + 9;
    EXPECT_EQ(button->Perform(WM_USER + 9), 42);
    EXPECT_EQ(SendMessageW(button->Handle(), WM_USER + 9, 0, 0), 42);
    const int before = skin->before;
    delete button;  // WM_NCDESTROY puts the previous WindowProc back
    EXPECT_GT(skin->before, before);
    EXPECT_EQ(skin->Control(), nullptr);
    skin->Unsubclass();  // and a later detach has nothing to do
}

TEST_F(Fixture, WindowProcChainSurvivesAnotherSubclassOnTop) {
    auto* button = new TButton(form);
    button->SetParent(form);
    auto* skin = new TCounting(skins.get());
    skin->InitControl(button, data.get(), false);
    int outer = 0;
    TWndMethod ours = button->WindowProc;
    button->WindowProc = [&outer, ours](TMessage& m) {
        ++outer;
        ours(m);
    };
    skin->Free();
    button->SetCaption("after");  // passes through the left-over method
    EXPECT_EQ(button->Caption(), "after");
    EXPECT_GT(outer, 0);
}

TEST_F(Fixture, ColourTakenWhileSkinnedAndRestoredUnlessClosing) {
    data->Colours.ButtonFace = 0x00345678;
    auto* a = new TButton(form);
    a->SetParent(form);
    a->SetColor(clWhite);
    auto* b = new TButton(form);
    b->SetParent(form);
    b->SetColor(clWhite);
    auto* sa = new TSkinCheckBox(skins.get());
    sa->InitControl(a, data.get(), true);
    auto* sb = new TSkinCheckBox(skins.get());
    sb->InitControl(b, data.get(), true);
    EXPECT_EQ(a->Color(), 0x00345678);
    data->Colours.ButtonFace = 0x00111111;
    skins->SkinChange();
    EXPECT_EQ(a->Color(), 0x00111111);
    sa->Unsubclass();
    EXPECT_EQ(a->Color(), clWhite);
    skins->SetClosing(true);
    skins->Release();
    EXPECT_EQ(b->Color(), 0x00111111);
    EXPECT_TRUE(skins->Controls().empty());
}

TEST_F(Fixture, TextFromSetTextWithoutReadingBack) {
    HWND button = Raw(L"BUTTON", BS_PUSHBUTTON, 10, 10, 80, 25);
    struct TText : TSkinButton {
        using TSkinButton::TSkinButton;
        std::wstring Text() const { return FText; }
    };
    auto* skin = AttachRaw<TText>(button);
    EXPECT_EQ(skin->Text(), L"Raw");
    SetWindowTextW(button, L"Neu");
    EXPECT_EQ(skin->Text(), L"Neu");
}

TEST_F(Fixture, RepeatedPaintsKeepTheGdiObjectCount) {
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 90, 26);
    button->SetCaption("Adjust");
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 50, 120, 22);
    HWND combo = Raw(L"COMBOBOX", CBS_DROPDOWNLIST, 10, 90, 120, 200);
    HWND updown = Raw(UPDOWN_CLASSW, 0, 150, 90, 18, 30);
    skins->ClassifyComponents(form);
    AttachRaw<srt::TSkinComBox>(combo);
    AttachRaw<srt::TSkinUpDown>(updown);
    auto paintAll = [&] {
        for (TSkinControl* c : skins->Controls()) {
            Paint(*c);
            c->PaintControl(nullptr);
        }
        InvalidateRect(form->Handle(), nullptr, TRUE);
        UpdateWindow(form->Handle());
        RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    };
    // The platform keeps the device contexts of its first paints for reuse.
    paintAll();
    const int before = GdiObjects();
    for (int i = 0; i < 30; ++i) paintAll();
    EXPECT_EQ(GdiObjects(), before);
}
