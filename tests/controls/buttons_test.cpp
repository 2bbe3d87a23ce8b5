// Button skins: frames by state, the click rules, the hot hand-over, and the
// check and radio cells.
#include "fixture.h"

#include "skin/controls/buttons.h"
#include "skin/draw/skindraw.h"

using namespace ctltest;
using namespace srt;

namespace {

// A check box object whose published "Checked" always reads True.
class TStubbornCheck : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    using TWinControl::TWinControl;
    bool Checked() const { return true; }
    void SetChecked(bool) {}

protected:
    void CreateParams(TCreateParams& p) override {
        TWinControl::CreateParams(p);
        p.WinClassName = L"BUTTON";
        p.Style |= BS_CHECKBOX;
    }
};
SRT_DEFINE_CLASS(TStubbornCheck, TWinControl, {
    b.Boolean("Checked", &TStubbornCheck::Checked, &TStubbornCheck::SetChecked);
})

std::vector<std::pair<WPARAM, LPARAM>> g_commands;
WNDPROC g_parentProc = nullptr;
LRESULT CALLBACK RecordCommands(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_COMMAND) g_commands.emplace_back(wparam, lparam);
    return CallWindowProcW(g_parentProc, hwnd, msg, wparam, lparam);
}

class Buttons : public Fixture {
protected:
    TButton* NewButton(int x, int* clicks) {
        auto* b = new TButton(form);
        b->SetParent(form);
        b->SetBounds(x, 10, 80, 26);
        b->SetCaption("Go");
        b->OnClick.Code = [clicks](TObject*) { ++*clicks; };
        return b;
    }
    TSkinButton* Skin(TButton* b) {
        skins->ClassifyComponents(form);
        for (TSkinControl* c : skins->Controls())
            if (c->Control() == b) return dyncast<TSkinButton>(c);
        return nullptr;
    }
    static void Mouse(HWND w, UINT msg) { SendMessageW(w, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(5, 5)); }
};

}  // namespace

TEST(ButtonFrames, DisabledWinsThenPressedThenHotAndFocus) {
    EXPECT_EQ(ButtonFrame(false, false, false, true), bfNormal);
    EXPECT_EQ(ButtonFrame(true, false, false, true), bfHot);
    EXPECT_EQ(ButtonFrame(false, false, true, true), bfHot);
    EXPECT_EQ(ButtonFrame(true, true, true, true), bfPressed);
    EXPECT_EQ(ButtonFrame(true, true, true, false), bfDisabled);
}

TEST_F(Buttons, ClickOnlyForAPressThatEndsOnTheButton) {
    int clicks = 0;
    TButton* b = NewButton(10, &clicks);
    TSkinButton* skin = Skin(b);
    ASSERT_NE(skin, nullptr);
    HWND h = b->Handle();
    Mouse(h, WM_LBUTTONDOWN);
    EXPECT_TRUE(skin->State() & kPressed);
    EXPECT_EQ(GetFocus(), h);
    Mouse(h, WM_LBUTTONUP);
    Pump();
    EXPECT_EQ(clicks, 1);
    // A release without a press on the button.
    Mouse(h, WM_LBUTTONUP);
    Pump();
    EXPECT_EQ(clicks, 1);
    // A press that leaves the button: the release never reaches it.
    Mouse(h, WM_LBUTTONDOWN);
    SendMessageW(h, CM_MOUSELEAVE, 0, 0);
    Mouse(h, WM_LBUTTONUP);
    Pump();
    EXPECT_EQ(clicks, 1);
    // The keyboard still clicks through the button's own procedure.
    SetFocus(h);
    SendMessageW(h, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(skin->State() & kPressed);
    SendMessageW(h, WM_KEYUP, VK_SPACE, 0);
    Pump();
    EXPECT_FALSE(skin->State() & kPressed);
    EXPECT_EQ(clicks, 2);
}

TEST_F(Buttons, RawButtonClickIsPostedToItsParent) {
    HWND button = Raw(L"BUTTON", BS_PUSHBUTTON, 10, 10, 80, 25);
    AttachRaw<TSkinButton>(button);
    g_commands.clear();
    g_parentProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordCommands)));
    Mouse(button, WM_LBUTTONDOWN);
    Mouse(button, WM_LBUTTONUP);
    Pump();
    SetWindowLongPtrW(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_parentProc));
    ASSERT_EQ(g_commands.size(), 1u);  // the skin's, not a second one from the button
    EXPECT_EQ(g_commands[0].first, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED));
    EXPECT_EQ(g_commands[0].second, reinterpret_cast<LPARAM>(button));
}

TEST_F(Buttons, OneHotButtonAfterMovingBetweenTwo) {
    int clicks = 0;
    TButton* a = NewButton(10, &clicks);
    TButton* b = NewButton(100, &clicks);
    TSkinButton* sa = Skin(a);
    TSkinButton* sb = Skin(b);
    ASSERT_TRUE(sa && sb);
    SendMessageW(a->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(sa->State() & kHot);
    EXPECT_EQ(skins->HotControl(), sa);
    SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_FALSE(sa->State() & kHot);
    EXPECT_TRUE(sb->State() & kHot);
    EXPECT_EQ(skins->HotControl(), sb);
    skins->LeaveHot();
    EXPECT_FALSE(sb->State() & kHot);
    EXPECT_EQ(skins->HotControl(), nullptr);
}

TEST_F(Buttons, FramesOnScreenByState) {
    int clicks = 0;
    TButton* b = NewButton(10, &clicks);
    TSkinButton* skin = Skin(b);
    ASSERT_NE(skin, nullptr);
    TDataSkinButton& e = *data->Buttons;
    RECT r;
    GetWindowRect(b->Handle(), &r);
    const RECT size{0, 0, r.right - r.left, r.bottom - r.top};
    auto expected = [&](int frame, int x, int y) {
        ::TBitmap f =
            CreateSkinBitmap(size, e.Image, {5, frame}, {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight},
                             (e.Tile == 1) ? TFill::Tile : TFill::Stretch);
        const COLORREF c = f.Pixel(x, y);
        return c == kSkinKey && e.Trans == 1 ? Gdi(data->Colours.ButtonFace) : c;
    };
    const int x = 1, y = size.bottom / 2;  // the left edge, clear of the caption
    SetFocus(form->Handle());
    EXPECT_EQ(At(Paint(*skin), x, y), expected(bfNormal, x, y));
    SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(At(Paint(*skin), x, y), expected(bfHot, x, y));
    Mouse(b->Handle(), WM_LBUTTONDOWN);
    EXPECT_EQ(At(Paint(*skin), x, y), expected(bfPressed, x, y));
    b->SetEnabled(false);
    EXPECT_EQ(At(Paint(*skin), x, y), expected(bfDisabled, x, y));
    EXPECT_NE(expected(bfNormal, x, y), expected(bfPressed, x, y));
}

TEST_F(Buttons, CheckAndRadioCells) {
    HWND check = Raw(L"BUTTON", BS_AUTO3STATE, 10, 10, 120, 20);
    HWND radio = Raw(L"BUTTON", BS_AUTORADIOBUTTON, 10, 40, 120, 20);
    auto* sc = AttachRaw<TSkinCheckBox>(check);
    auto* sr = AttachRaw<TSkinRadioButton>(radio);
    EXPECT_EQ(sc->Cell(), 1);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(sc->Cell(), 2);
    SendMessageW(check, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(sc->Cell(), 4);
    EnableWindow(check, FALSE);
    EXPECT_EQ(sc->Cell(), 4);
    SendMessageW(check, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(sc->Cell(), 3);
    EXPECT_EQ(sr->Cell(), 1);
    SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(sr->Cell(), 2);

    auto* stubborn = new TStubbornCheck(form);
    stubborn->SetParent(form);
    stubborn->SetBounds(10, 70, 120, 20);
    auto* ss = new TSkinCheckBox(skins.get());
    ss->InitControl(stubborn, data.get(), true);
    EXPECT_EQ(SendMessageW(stubborn->Handle(), BM_GETSTATE, 0, 0) & BST_CHECKED, 0);
    EXPECT_EQ(ss->Cell(), 2);  // the published property decides
}

TEST_F(Buttons, MarkPlacementAndPixels) {
    EXPECT_EQ(MarkRect({0, 0, 100, 21}, 16, 13, false).left, 0);
    EXPECT_EQ(MarkRect({0, 0, 100, 21}, 16, 13, true).right, 99);
    EXPECT_EQ(MarkRect({0, 0, 100, 21}, 13, 13, false).left, 0);
    EXPECT_EQ(MarkRect({0, 0, 100, 21}, 10, 10, false).left, 2);
    EXPECT_EQ(MarkRect({0, 0, 100, 21}, 16, 13, false).top, 4);

    HWND check = Raw(L"BUTTON", BS_AUTOCHECKBOX, 10, 10, 120, 21);
    auto* sc = AttachRaw<TSkinCheckBox>(check);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    TDataSkinButton& e = *data->Buttons;
    const int n = e.CheckButtonFrame, w = e.CheckButton.Width() / n, h = e.CheckButton.Height();
    ::TBitmap shown = Paint(*sc);
    const RECT mark = MarkRect({0, 0, 120, 21}, w, h, false);
    int same = 0, total = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const COLORREF src = e.CheckButton.Pixel(w + x, y);  // cell 2
            if (src == kSkinKey) continue;
            ++total;
            same += At(shown, mark.left + x, mark.top + y) == src;
        }
    }
    EXPECT_GT(total, 0);
    EXPECT_EQ(same, total);
}

// A strip of two cells has no disabled or indeterminate cell: the native
// mark of those states must stay as the control drew it.
TEST_F(Buttons, AMissingCellLeavesTheNativeMark) {
    const COLORREF fill = RGB(1, 2, 3);
    TDataSkinButton& e = *data->Buttons;
    ASSERT_FALSE(e.CheckButton.Empty());
    ASSERT_FALSE(e.RadioButton.Empty());
    ASSERT_GE(e.CheckButton.Width() / 2, 1);
    ASSERT_GE(e.RadioButton.Width() / 2, 1);
    e.CheckButtonFrame = 2;
    e.RadioButtonFrame = 2;
    HWND check = Raw(L"BUTTON", BS_AUTO3STATE, 10, 10, 120, 21);
    HWND radio = Raw(L"BUTTON", BS_AUTORADIOBUTTON, 10, 40, 120, 21);
    auto* sc = AttachRaw<TSkinCheckBox>(check);
    auto* sr = AttachRaw<TSkinRadioButton>(radio);
    const RECT checkMark = MarkRect({0, 0, 120, 21}, e.CheckButton.Width() / 2, e.CheckButton.Height(), false);
    const RECT radioMark = MarkRect({0, 0, 120, 21}, e.RadioButton.Width() / 2, e.RadioButton.Height(), false);
    // Pixels of the mark rectangle that differ from the fill.
    auto touched = [&](TSkinControl& skin, const RECT& mark) {
        ::TBitmap shown = Paint(skin, fill);
        int changed = 0;
        for (int y = mark.top; y < mark.bottom; ++y)
            for (int x = mark.left; x < mark.right; ++x) changed += At(shown, x, y) != fill;
        return changed;
    };

    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_GT(touched(*sc, checkMark), 0);  // cell 2 exists
    SendMessageW(check, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(touched(*sc, checkMark), 0);
    SendMessageW(check, BM_SETCHECK, BST_UNCHECKED, 0);
    EnableWindow(check, FALSE);
    EXPECT_EQ(sc->Cell(), 3);
    EXPECT_EQ(touched(*sc, checkMark), 0);

    EXPECT_GT(touched(*sr, radioMark), 0);  // cell 1 exists
    EnableWindow(radio, FALSE);
    SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(sr->Cell(), 4);
    EXPECT_EQ(touched(*sr, radioMark), 0);
}

// A dialog's split buttons, command links and push boxes look like its push
// buttons, not like check boxes or radio buttons.
TEST_F(Buttons, PushLikeKindsOfADialogGetThePushButtonLook) {
    TControlSkins dialog(nullptr, data.get(), form->Handle());
    const DWORD kinds[] = {BS_PUSHBUTTON, BS_PUSHBOX, BS_SPLITBUTTON, BS_DEFSPLITBUTTON, BS_COMMANDLINK,
                           BS_DEFCOMMANDLINK};
    std::vector<HWND> buttons;
    for (DWORD kind : kinds) {
        HWND b = Raw(L"BUTTON", kind, 10, 10 + 30 * static_cast<int>(buttons.size()), 90, 26);
        SetWindowTextW(b, L"Go");
        buttons.push_back(b);
    }
    dialog.ClassifyByWindowClass();
    TBitmap push;
    for (size_t i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE(kinds[i]);
        auto* skin = dyncast<TSkinButton>(dialog.FindByHandle(buttons[i]));
        ASSERT_NE(skin, nullptr);
        TBitmap look = Paint(*skin);
        if (i == 0) {
            push = std::move(look);
            continue;
        }
        int differ = 0;
        for (int y = 0; y < look.Height(); ++y)
            for (int x = 0; x < look.Width(); ++x) differ += look.Pixel(x, y) != push.Pixel(x, y);
        EXPECT_EQ(differ, 0);
    }
}
