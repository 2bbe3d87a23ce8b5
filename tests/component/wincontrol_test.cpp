// Windowed controls: the window tree follows the control tree as controls
// are made, moved, recreated and freed; a window leads back to its control.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "component/forms.h"
#include "component/groups.h"

namespace {

// An edit whose window can be recreated, as a style change needs.
class TRecreatable : public TEdit {
public:
    using TEdit::TEdit;
    void Recreate() {
        DestroyHandle();
        HandleNeeded();
    }
};

// The child windows of `parent` in window order.
std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> out;
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) out.push_back(w);
    return out;
}

RECT WindowRectInParent(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class WinControls : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<TApplication>();
        form = app->CreateForm<TForm>();
        form->SetBounds(30, 30, 300, 200);
    }
    std::unique_ptr<TApplication> app;
    TForm* form = nullptr;
};

TEST_F(WinControls, FreeingAParentTakesTheChildWindowsAndLeavesTheChildrenUsable) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* button = new TButton(form);
    button->SetParent(panel);
    HWND buttonWindow = button->Handle();
    HWND panelWindow = panel->Handle();
    ASSERT_NE(buttonWindow, nullptr);
    EXPECT_EQ(GetParent(buttonWindow), panelWindow);
    EXPECT_EQ(GetParent(panelWindow), form->Handle());
    EXPECT_EQ(TWinControl::FindControl(buttonWindow), button);
    EXPECT_EQ(TWinControl::FindControl(panelWindow), panel);

    delete panel;  // the button (owned by the form) stays, without a parent
    EXPECT_FALSE(IsWindow(buttonWindow));
    EXPECT_FALSE(button->HandleAllocated());
    EXPECT_EQ(button->Parent(), nullptr);
    EXPECT_EQ(form->ControlCount(), 0);
    // Put somewhere else, it gets a window again.
    button->SetParent(form);
    ASSERT_NE(button->Handle(), nullptr);
    EXPECT_EQ(GetParent(button->Handle()), form->Handle());

    // A child freed first leaves its parent's list and takes its window.
    HWND again = button->Handle();
    delete button;
    EXPECT_FALSE(IsWindow(again));
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_EQ(TWinControl::FindControl(again), nullptr);
}

TEST_F(WinControls, AWindowForeignToUsLeadsToNoControl) {
    HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, form->Handle(), nullptr, nullptr, nullptr);
    EXPECT_EQ(TWinControl::FindControl(plain), nullptr);
    EXPECT_EQ(TWinControl::FindControl(nullptr), nullptr);
    DestroyWindow(plain);
}

TEST_F(WinControls, RecreatedWindowKeepsTextPlaceAndChildOrder) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(5, 6, 200, 100);
    auto* edit = new TRecreatable(form);
    edit->SetParent(form);
    edit->SetBounds(10, 120, 150, 24);
    auto* second = new TButton(form);
    auto* first = new TButton(form);
    second->SetParent(panel);
    first->SetParent(panel);
    first->SetTabOrder(0);
    second->SetTabOrder(1);
    HWND old = edit->Handle();
    edit->SetTextW(L"Zeile 1 — 字幕 ✓");
    edit->Recreate();
    HWND now = edit->Handle();
    ASSERT_NE(now, nullptr);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(TWinControl::FindControl(now), edit);
    EXPECT_EQ(edit->GetTextW(), L"Zeile 1 — 字幕 ✓");
    const RECT r = WindowRectInParent(now);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 120);
    EXPECT_EQ(r.right - r.left, 150);
    // The panel's children come in tab order, not in insertion order.
    EXPECT_EQ(ChildWindows(panel->Handle()), (std::vector<HWND>{first->Handle(), second->Handle()}));
}

TEST_F(WinControls, BoundsBeforeAndAfterTheWindowAndNoNegativeSize) {
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(7, 8, 90, 21);
    const RECT before = WindowRectInParent(edit->Handle());
    EXPECT_EQ(before.left, 7);
    EXPECT_EQ(before.top, 8);
    EXPECT_EQ(before.right - before.left, 90);
    EXPECT_EQ(before.bottom - before.top, 21);
    edit->SetLeft(40);
    edit->SetHeight(30);
    const RECT after = WindowRectInParent(edit->Handle());
    EXPECT_EQ(after.left, 40);
    EXPECT_EQ(after.top, 8);
    EXPECT_EQ(after.bottom - after.top, 30);
    edit->SetBounds(1, 2, -5, -6);
    EXPECT_EQ(edit->Width(), 0);
    EXPECT_EQ(edit->Height(), 0);
    RECT client = edit->ClientRect();
    EXPECT_EQ(client.right, 0);
}

TEST_F(WinControls, VisibilityEnablingAndWhatCanTakeTheFocus) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* edit = new TEdit(form);
    edit->SetParent(panel);
    form->Show();
    EXPECT_TRUE(IsWindowVisible(edit->Handle()));
    EXPECT_TRUE(edit->CanFocus());

    edit->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(edit->Handle()));
    EXPECT_FALSE(edit->CanFocus());
    edit->SetVisible(true);
    EXPECT_TRUE(IsWindowVisible(edit->Handle()));

    panel->SetEnabled(false);  // a disabled parent keeps the focus from its children
    EXPECT_FALSE(IsWindowEnabled(panel->Handle()));
    EXPECT_FALSE(edit->CanFocus());
    panel->SetEnabled(true);
    edit->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(edit->Handle()));
    EXPECT_FALSE(edit->CanFocus());
    edit->SetEnabled(true);

    // A control made hidden and disabled gets its window that way.
    auto* late = new TEdit(form);
    late->SetVisible(false);
    late->SetEnabled(false);
    late->SetParent(form);
    EXPECT_FALSE(IsWindowVisible(late->Handle()));
    EXPECT_FALSE(IsWindowEnabled(late->Handle()));
}

TEST_F(WinControls, FocusGoesThroughTheFormAndIsForgottenWithTheControl) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* a = new TEdit(form);
    a->SetParent(panel);
    auto* b = new TEdit(form);
    b->SetParent(form);
    form->Show();
    SetActiveWindow(form->Handle());
    b->SetFocus();
    EXPECT_EQ(form->ActiveControl(), b);
    EXPECT_TRUE(b->Focused());
    a->SetFocus();
    EXPECT_EQ(form->ActiveControl(), a);
    EXPECT_EQ(GetFocus(), a->Handle());
    EXPECT_FALSE(b->Focused());

    // While another window is active the form only remembers its control;
    // one that goes meanwhile is forgotten, however it was owned.
    TComponent elsewhere(nullptr);
    auto* c = new TEdit(&elsewhere);
    c->SetParent(panel);
    c->SetFocus();
    EXPECT_EQ(form->ActiveControl(), c);
    auto* other = app->CreateForm<TForm>();
    other->Show();
    SetActiveWindow(other->Handle());
    ASSERT_NE(GetActiveWindow(), form->Handle());
    EXPECT_EQ(form->ActiveControl(), c);
    delete c;
    EXPECT_EQ(form->ActiveControl(), nullptr);
    SetActiveWindow(form->Handle());  // activation must not reach the freed control

    // So is one inside a container that goes.
    a->SetFocus();
    SetActiveWindow(other->Handle());
    EXPECT_EQ(form->ActiveControl(), a);
    delete panel;
    EXPECT_EQ(form->ActiveControl(), nullptr);
    SetActiveWindow(form->Handle());
}

TEST_F(WinControls, MovingAControlWithAWindowMovesTheWindow) {
    auto* left = new TPanel(form);
    left->SetParent(form);
    auto* right = new TPanel(form);
    right->SetParent(form);
    auto* edit = new TEdit(form);
    edit->SetParent(left);
    HWND window = edit->Handle();
    edit->SetParent(right);
    ASSERT_TRUE(edit->HandleAllocated());
    EXPECT_EQ(GetParent(edit->Handle()), right->Handle());
    EXPECT_EQ(TWinControl::FindControl(edit->Handle()), edit);
    (void)window;
    // Freeing the old parent leaves the moved control alone.
    delete left;
    EXPECT_TRUE(IsWindow(edit->Handle()));
    EXPECT_EQ(edit->Parent(), right);
}

}  // namespace
