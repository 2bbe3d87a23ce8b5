// Caption buttons: the non-client objects of a skinned frame, which of them
// show, where they go, which frame they paint and what each does.
// Platform-free; the form skin paints and posts what these decide.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "skin/form/framegeom.h"
#include "skin/ncarea/ncobject.h"

namespace srt {

class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TNCOwner* owner, TDataSkinSysButton* record) : TNCObject(owner), FRecord(record) {}
    void Draw() override;
    bool IsIconButton() const { return FRecord->Action == 3 || FRecord->Action == 11; }
    TDataSkinSysButton* FRecord;  // owned by the skin data
};

// What the form skin knows when it decides visibility and layout.
struct TButtonContext {
    std::uint8_t borderIcons = 0;  // bi* bits
    TShowState showState = ssNormal;
    bool active = true;
    std::uint8_t borderKind = bkFrame;
    bool mdiChildMaximized = false;  // an MDI frame whose active child is maximised
    int menuHeight = 0;
    int windowWidth = 0;
    TFrameMetrics metrics;
    TSkinRect textRect;              // caption text of this paint
    bool rightToLeft = false;
    int menuBarLeftWidth = -1;       // the skin's menu bar element left width, -1 without one
};

bool ButtonVisible(const TDataSkinSysButton& record, const TButtonContext& ctx);

// Frame to paint inside a full caption paint: 1 active, 4 inactive, 1 when
// the image has fewer than 4 frames.
int ButtonPaintFrame(const TDataSkinSysButton& record, bool active);
// Frame for a state change: the state (1 normal, 2 pressed, 3 hover), 4 for
// a hovered MDI button; never past the image's last frame.
int ButtonStateFrame(const TDataSkinSysButton& record, int state);

// What a caption button does when released over it.
enum class TCaptionCommand {
    Close,             // hover timer off, post WM_CLOSE
    Maximize,          // post SC_MAXIMIZE, show state maximised
    Restore,           // post SC_RESTORE, show state normal
    Minimize,          // post SC_MINIMIZE, show state minimised
    SystemMenu,        // open the system menu
    MdiChildCommand,   // send sysCommand to the active MDI child
    PostQuery,         // post the skin query with the action in wParam
};
struct TCaptionEffect {
    TCaptionCommand command;
    unsigned sysCommand = 0;  // SC_* for Maximize/Restore/Minimize/MdiChildCommand
};
TCaptionEffect CaptionActionEffect(int action, TShowState showState);

// The platform's hit-test code for a caption button of `action`: close,
// maximise (restore too), minimise, the icon's system menu; htNowhere for
// the MDI child buttons of the menu bar and buttons the platform has no
// code for.
int CaptionButtonHitCode(int action);

// The name a caption button's tooltip shows: what it does now. The platform
// names the same commands in the window's system menu (by `sysCommand`);
// `fallback` is the name where that menu has no such item. No name (an
// empty fallback, command 0) for buttons that open a menu or post a query.
struct TCaptionName {
    unsigned sysCommand = 0;  // SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE
    const char* fallback = "";
};
TCaptionName CaptionButtonName(int action, TShowState showState);

// The caption buttons of one form skin, one per record in record order.
class TCaptionButtons {
public:
    // Icon buttons (actions 3, 11) with an empty image take a copy of the
    // window icon, as does an empty default icon; their frame count becomes 1.
    void Build(TNCOwner* owner, const TSkinElements& skin, const TBitmap& iconBitmap,
               TBitmap& defaultIcon);
    void Clear() { buttons_.clear(); }

    bool UpdateVisible(std::size_t index, const TButtonContext& ctx);
    // Bounds of every visible button with an image; returns FButtonsRight,
    // where the row of right-anchored buttons begins: the smallest left edge
    // among them (0 when none).
    int Layout(const TButtonContext& ctx);
    // First visible button with an action >= 0 containing the point.
    TWinSysButton* Hit(int x, int y) const;
    // The hit-test code of that button (htNowhere without one).
    int HitCode(int x, int y) const;
    // Where the visible buttons anchored at the left end (the largest right
    // edge among them; 0 when none), as last laid out.
    int LeftButtonsEnd() const;

    std::size_t Count() const { return buttons_.size(); }
    TWinSysButton& operator[](std::size_t i) const { return *buttons_[i]; }

private:
    std::vector<std::unique_ptr<TWinSysButton>> buttons_;
};

// The skinned system menu's items for the caption-button styles: what every
// caption button does, and moving and sizing the window from the keyboard
// as the platform's system menu offers them.
struct TSystemMenuItem {
    std::string caption;
    int tag;
    std::string shortCut;
    int image = tag;  // the skin's menu glyph; -1 for none
};
constexpr int kSysMenuSeparatorTag = 100;
constexpr int kSysMenuMoveTag = 4, kSysMenuSizeTag = 5;
std::vector<TSystemMenuItem> SystemMenuItems(std::uint8_t borderIcons, bool sizeable);
bool SystemMenuItemEnabled(int tag, TShowState showState);

// Clicks on the icon button: the second within the double-click time
// closes the window. Ticks compare by unsigned difference, so a wrapped tick
// count still works; the first click is never a double click.
class TIconClicks {
public:
    // True for a double click (and forgets it); otherwise remembers now.
    bool Click(std::uint32_t now, std::uint32_t dblClickTime) {
        if (seen_ && now - last_ <= dblClickTime) {
            seen_ = false;
            return true;
        }
        seen_ = true;
        last_ = now;
        return false;
    }

private:
    bool seen_ = false;
    std::uint32_t last_ = 0;
};

}  // namespace srt
