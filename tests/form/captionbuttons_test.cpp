#include "skin/form/captionbuttons.h"

#include <gtest/gtest.h>

namespace srt {
namespace {

struct Owner : TNCOwner {
    std::vector<TNCObject*> painted;
    void PaintNCObject(TNCObject& o) override { painted.push_back(&o); }
};

TDataSkinSysButton& AddButton(TSkinElements& s, int action, int align, int x, int y, int vis,
                              int vis1 = 0, int frames = 3, int w = 16, int h = 14) {
    auto r = std::make_unique<TDataSkinSysButton>("Button" + std::to_string(s.SysButtons.size()));
    r->Action = action;
    r->Align = align;
    r->Xcoord = x;
    r->Ycoord = y;
    r->Visibility = vis;
    r->Visibility1 = vis1;
    r->FrameCount = frames;
    r->Image.SetSize(w * frames, h);
    s.SysButtons.push_back(std::move(r));
    return *s.SysButtons.back();
}

TButtonContext Normal() {
    TButtonContext c;
    c.borderIcons = biSystemMenu | biMinimize | biMaximize;
    c.windowWidth = 300;
    c.metrics = {4, 24, 5, 6};
    c.textRect = {20, 4, 120, 20};
    return c;
}

TEST(CaptionButtons, VisibilityByCodesAndBorderIcons) {
    TDataSkinSysButton r("b");
    auto c = Normal();
    EXPECT_TRUE(ButtonVisible(r, c));  // close, code 0
    c.borderKind = bkThin;
    EXPECT_FALSE(ButtonVisible(r, c));
    c = Normal();
    c.borderIcons = 0;
    EXPECT_FALSE(ButtonVisible(r, c));  // close needs the system menu
    r.Action = 40;
    EXPECT_TRUE(ButtonVisible(r, c));
    // Maximise and minimise need their boxes whatever the codes say.
    r.Action = 1;
    r.Visibility = 500;
    c.borderIcons = biSystemMenu | biMinimize;
    EXPECT_FALSE(ButtonVisible(r, c));
    r.Action = 2;
    EXPECT_TRUE(ButtonVisible(r, c));
    c.borderIcons = biSystemMenu;
    EXPECT_FALSE(ButtonVisible(r, c));
    // Maximise shows when normal, restore when maximised.
    r.Action = 22;
    r.Visibility = 2;
    c = Normal();
    EXPECT_TRUE(ButtonVisible(r, c));
    c.showState = ssMaximized;
    EXPECT_FALSE(ButtonVisible(r, c));
    r.Visibility = 1;
    EXPECT_TRUE(ButtonVisible(r, c));
    // Active-only and inactive-only looks.
    r.Visibility = 3;
    c.active = false;
    EXPECT_FALSE(ButtonVisible(r, c));
    r.Visibility = 4;
    EXPECT_TRUE(ButtonVisible(r, c));
    // Codes 6/8 need the box and the system menu; the second code only the box.
    r.Visibility = 6;
    c.borderIcons = biMaximize;
    EXPECT_FALSE(ButtonVisible(r, c));
    r.Visibility = 200;
    r.Visibility1 = 6;
    EXPECT_TRUE(ButtonVisible(r, c));
    r.Visibility1 = 7;
    EXPECT_FALSE(ButtonVisible(r, c));
    r.Visibility = 5;  // unknown code
    r.Visibility1 = 0;
    EXPECT_FALSE(ButtonVisible(r, c));
    r.Visibility = 2001;
    EXPECT_FALSE(ButtonVisible(r, c));
}

TEST(CaptionButtons, MdiButtonsOnlyInAFrameWithAMaximisedChild) {
    TDataSkinSysButton r("mdi");
    r.Action = 9;
    r.Visibility = r.Visibility1 = kMdiButtonMark;
    auto c = Normal();
    EXPECT_FALSE(ButtonVisible(r, c));
    c.mdiChildMaximized = true;
    EXPECT_FALSE(ButtonVisible(r, c));  // no menu bar
    c.menuHeight = 19;
    EXPECT_TRUE(ButtonVisible(r, c));
}

TEST(CaptionButtons, LayoutByAnchorAndHitTesting) {
    TSkinElements s;
    AddButton(s, 0, 1, 24, 5, 0);            // close, right-anchored
    AddButton(s, 1, 1, 44, 5, 2);            // maximise
    AddButton(s, 40, 0, 6, 4, 200);          // custom, from the left
    AddButton(s, 41, 2, 2, 4, 200);          // left of the text
    AddButton(s, 42, 3, 2, 4, 200);          // right of the text
    AddButton(s, 9, kMdiButtonMark, 20, 0, kMdiButtonMark, kMdiButtonMark);
    AddButton(s, -1, 0, 0, 0, 200, 0, 1, 300, 24);  // decoration, no action
    Owner owner;
    TCaptionButtons b;
    TBitmap icon(16, 16), defaultIcon;
    b.Build(&owner, s, icon, defaultIcon);
    ASSERT_EQ(b.Count(), 7u);
    auto c = Normal();
    EXPECT_EQ(b.Layout(c), 256);  // where the right-anchored row begins
    EXPECT_EQ(b[0].FBounds, (TSkinRect{276, 5, 292, 19}));
    EXPECT_EQ(b[1].FBounds, (TSkinRect{256, 5, 272, 19}));
    EXPECT_EQ(b[2].FBounds, (TSkinRect{6, 4, 22, 18}));
    EXPECT_EQ(b[3].FBounds, (TSkinRect{2, 4, 18, 18}));
    EXPECT_EQ(b[4].FBounds, (TSkinRect{122, 4, 138, 18}));
    EXPECT_FALSE(b[5].FVisible);
    EXPECT_EQ(b.Hit(280, 10), &b[0]);
    EXPECT_EQ(b.Hit(292, 10), nullptr);  // right edge is outside
    EXPECT_EQ(b.Hit(10, 10), &b[2]);     // first in record order wins over the decoration
    EXPECT_EQ(b.Hit(200, 2), nullptr);   // only the decoration, which has no action
    // Maximised MDI frame: the child's buttons sit in the menu bar.
    c.mdiChildMaximized = true;
    c.menuHeight = 20;
    c.menuBarLeftWidth = 3;
    b.Layout(c);
    EXPECT_EQ(b[5].FBounds, (TSkinRect{272, 27, 288, 41}));
    c.rightToLeft = true;
    b.Layout(c);
    EXPECT_EQ(b[5].FBounds.Left, 20 + 4 + 3);
    // Hidden buttons are not hit even where they were laid out before.
    c = Normal();
    c.borderIcons = biSystemMenu;
    b.Layout(c);
    EXPECT_EQ(b.Hit(260, 10), nullptr);
}

TEST(CaptionButtons, IconButtonsTakeTheWindowIcon) {
    TSkinElements s;
    auto& iconRecord = AddButton(s, 3, 0, 4, 4, 0, 0, 1, 0, 0);
    iconRecord.Image = TBitmap();
    iconRecord.FrameCount = 2;
    Owner owner;
    TCaptionButtons b;
    TBitmap icon(16, 16), defaultIcon;
    b.Build(&owner, s, icon, defaultIcon);
    EXPECT_EQ(iconRecord.Image.Width(), 16);
    EXPECT_EQ(iconRecord.FrameCount, 1);
    EXPECT_EQ(defaultIcon.Width(), 16);
    EXPECT_TRUE(b[0].IsIconButton());
}

TEST(CaptionButtons, FramesPerState) {
    TDataSkinSysButton r("b");
    r.FrameCount = 4;
    EXPECT_EQ(ButtonPaintFrame(r, true), 1);
    EXPECT_EQ(ButtonPaintFrame(r, false), 4);
    r.FrameCount = 3;
    EXPECT_EQ(ButtonPaintFrame(r, false), 1);
    EXPECT_EQ(ButtonStateFrame(r, TNCObject::stPressed), 2);
    EXPECT_EQ(ButtonStateFrame(r, TNCObject::stHover), 3);
    r.FrameCount = 2;  // fewer frames than the state: the last one, never past the image
    EXPECT_EQ(ButtonStateFrame(r, TNCObject::stHover), 2);
    r.FrameCount = 4;
    r.Visibility = kMdiButtonMark;
    EXPECT_EQ(ButtonStateFrame(r, TNCObject::stHover), 4);
}

TEST(CaptionButtons, HotObjectMoves) {
    Owner owner;
    TDataSkinSysButton r1("a"), r2("b");
    TWinSysButton a(&owner, &r1), b(&owner, &r2);
    a.FVisible = b.FVisible = true;
    a.MouseMove();
    EXPECT_EQ(owner.HotObject(), &a);
    EXPECT_EQ(a.FState, TNCObject::stHover);
    a.MouseMove();  // no repaint while it stays hot
    EXPECT_EQ(owner.painted.size(), 1u);
    b.MouseDown();
    EXPECT_EQ(a.FState, TNCObject::stNormal);
    EXPECT_EQ(owner.HotObject(), &b);
    EXPECT_EQ(b.FState, TNCObject::stPressed);
    b.MouseUp();
    EXPECT_EQ(b.FState, TNCObject::stHover);
    // A hidden object takes the hot look from the other but not for itself.
    a.FVisible = false;
    a.MouseMove();
    EXPECT_EQ(owner.HotObject(), nullptr);
    EXPECT_EQ(b.FState, TNCObject::stNormal);
    // A hot object hidden meanwhile still lets go.
    b.MouseMove();
    b.FVisible = false;
    b.MouseLeave();
    EXPECT_EQ(owner.HotObject(), nullptr);
    {
        TWinSysButton c(&owner, &r1);
        c.FVisible = true;
        c.MouseMove();
    }
    EXPECT_EQ(owner.HotObject(), nullptr);  // a destroyed object is never left hot
}

TEST(CaptionActions, Table) {
    using C = TCaptionCommand;
    EXPECT_EQ(CaptionActionEffect(0, ssNormal).command, C::Close);
    EXPECT_EQ(CaptionActionEffect(1, ssNormal).sysCommand, sc::Maximize);
    EXPECT_EQ(CaptionActionEffect(22, ssMaximized).command, C::Restore);
    EXPECT_EQ(CaptionActionEffect(2, ssNormal).sysCommand, sc::Minimize);
    EXPECT_EQ(CaptionActionEffect(23, ssMinimized).sysCommand, sc::Restore);
    for (int a : {3, 11, 12}) EXPECT_EQ(CaptionActionEffect(a, ssNormal).command, C::SystemMenu);
    EXPECT_EQ(CaptionActionEffect(60, ssNormal).sysCommand, sc::Minimize);
    EXPECT_EQ(CaptionActionEffect(8, ssNormal).sysCommand, sc::Restore);
    EXPECT_EQ(CaptionActionEffect(62, ssNormal).sysCommand, sc::Close);
    EXPECT_EQ(CaptionActionEffect(9, ssNormal).command, C::MdiChildCommand);
    EXPECT_EQ(CaptionActionEffect(40, ssNormal).command, C::PostQuery);
}

TEST(SystemMenu, ItemsAndEnabling) {
    auto items = SystemMenuItems(biSystemMenu, false);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].caption, " Restore ");
    EXPECT_EQ(items[1].tag, kSysMenuMoveTag);
    EXPECT_EQ(items[1].image, -1);
    EXPECT_EQ(items[2].tag, kSysMenuSeparatorTag);
    EXPECT_EQ(items[3].shortCut, "Shift+F4");
    EXPECT_EQ(items[3].image, 3);
    items = SystemMenuItems(biSystemMenu | biMinimize | biMaximize, true);
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[1].caption, " Move ");
    EXPECT_EQ(items[2].caption, " Size ");
    EXPECT_EQ(items[3].caption, " Maximize ");
    EXPECT_EQ(items[4].caption, " Minimize ");
    EXPECT_TRUE(SystemMenuItemEnabled(0, ssMaximized));
    EXPECT_FALSE(SystemMenuItemEnabled(1, ssMaximized));
    EXPECT_FALSE(SystemMenuItemEnabled(0, ssNormal));
    EXPECT_FALSE(SystemMenuItemEnabled(2, ssMinimized));
    EXPECT_TRUE(SystemMenuItemEnabled(3, ssMinimized));
    // As the platform's: a maximised window neither moves nor sizes, a
    // minimised one moves.
    EXPECT_FALSE(SystemMenuItemEnabled(kSysMenuMoveTag, ssMaximized));
    EXPECT_TRUE(SystemMenuItemEnabled(kSysMenuMoveTag, ssMinimized));
    EXPECT_TRUE(SystemMenuItemEnabled(kSysMenuSizeTag, ssNormal));
    EXPECT_FALSE(SystemMenuItemEnabled(kSysMenuSizeTag, ssMinimized));
}

// Every caption button that does something has a name, and the system
// menu's command that does the same; a maximise button of a maximised
// window restores.
TEST(SystemMenu, CaptionButtonNames) {
    auto name = [](int action, TShowState show) {
        const TCaptionName n = CaptionButtonName(action, show);
        return std::make_pair(n.sysCommand, std::string(n.fallback));
    };
    using P = std::pair<unsigned, std::string>;
    EXPECT_EQ(name(0, ssNormal), P(sc::Close, "Close"));
    EXPECT_EQ(name(1, ssNormal), P(sc::Maximize, "Maximise"));
    EXPECT_EQ(name(22, ssMaximized), P(sc::Restore, "Restore"));
    EXPECT_EQ(name(2, ssNormal), P(sc::Minimize, "Minimise"));
    EXPECT_EQ(name(23, ssMinimized), P(sc::Restore, "Restore"));
    EXPECT_EQ(name(60, ssNormal), P(sc::Minimize, "Minimise"));
    EXPECT_EQ(name(61, ssNormal), P(sc::Restore, "Restore"));
    EXPECT_EQ(name(9, ssNormal), P(sc::Close, "Close"));
    // The icon opens a menu; an action of the skin's own posts a query.
    EXPECT_EQ(name(3, ssNormal), P(0u, ""));
    EXPECT_EQ(name(40, ssNormal), P(0u, ""));
}

TEST(SystemMenu, IconDoubleClick) {
    TIconClicks clicks;
    EXPECT_FALSE(clicks.Click(100, 500));  // the first click after start-up
    EXPECT_TRUE(clicks.Click(600, 500));
    EXPECT_FALSE(clicks.Click(700, 500));  // a third click starts over
    EXPECT_FALSE(clicks.Click(1201, 500));
    TIconClicks wrap;
    EXPECT_FALSE(wrap.Click(0xFFFFFF00u, 500));
    EXPECT_TRUE(wrap.Click(0xF0u, 500));  // across the tick wrap
}

}  // namespace
}  // namespace srt
