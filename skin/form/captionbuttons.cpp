#include "skin/form/captionbuttons.h"

#include <algorithm>

namespace srt {

void TWinSysButton::Draw() {
    if (FVisible) FOwner->PaintNCObject(*this);
}

namespace {

bool FirstCode(int code, const TDataSkinSysButton& r, const TButtonContext& c) {
    const std::uint8_t i = c.borderIcons;
    switch (code) {
    case 0:
        if (c.borderKind == bkThin) return false;
        return !(r.Action == 0 && !(i & biSystemMenu));
    case 1: return c.showState == ssMaximized;
    case 2: return c.showState != ssMaximized;
    case 3: return c.active;
    case 4: return !c.active;
    case 6: return (i & biMaximize) && (i & biSystemMenu);
    case 7: return !(i & biMaximize);
    case 8: return (i & biMinimize) && (i & biSystemMenu);
    case 9: return !(i & biMinimize);
    case kMdiButtonMark: return c.mdiChildMaximized && c.menuHeight > 0;
    default: return code >= 200 && code <= 2000;
    }
}

bool SecondCode(int code, bool first, const TButtonContext& c) {
    const std::uint8_t i = c.borderIcons;
    switch (code) {
    case 0: return true;
    case 1: return c.showState == ssMaximized;
    case 2: return c.showState != ssMaximized;
    case 3: return c.active;
    case 4: return !c.active;
    case 6: return i & biMaximize;
    case 7: return !(i & biMaximize);
    case 8: return i & biMinimize;
    case 9: return !(i & biMinimize);
    case kMdiButtonMark: return first;
    default: return code >= 200 && code <= 2000;
    }
}

int Frames(const TDataSkinSysButton& r) { return std::max(r.FrameCount, 1); }

}  // namespace

bool ButtonVisible(const TDataSkinSysButton& r, const TButtonContext& c) {
    if (r.Action == 1 && !(c.borderIcons & biMaximize)) return false;
    if (r.Action == 2 && !(c.borderIcons & biMinimize)) return false;
    const bool v1 = FirstCode(r.Visibility, r, c);
    return v1 && SecondCode(r.Visibility1, v1, c);
}

int ButtonPaintFrame(const TDataSkinSysButton& r, bool active) {
    if (r.FrameCount < 4) return 1;
    return active ? 1 : 4;
}

int ButtonStateFrame(const TDataSkinSysButton& r, int state) {
    int k = state;
    if (state == TNCObject::stHover && r.Visibility == kMdiButtonMark) k = 4;
    // An image with fewer frames than the state shows its last frame.
    return std::clamp(k, 1, Frames(r));
}

TCaptionEffect CaptionActionEffect(int action, TShowState show) {
    switch (action) {
    case 0: return {TCaptionCommand::Close};
    case 1: case 22:
        return show == ssMaximized ? TCaptionEffect{TCaptionCommand::Restore, sc::Restore}
                                   : TCaptionEffect{TCaptionCommand::Maximize, sc::Maximize};
    case 2: case 23:
        return show != ssMinimized ? TCaptionEffect{TCaptionCommand::Minimize, sc::Minimize}
                                   : TCaptionEffect{TCaptionCommand::Restore, sc::Restore};
    case 3: case 11: case 12: return {TCaptionCommand::SystemMenu};
    case 7: case 60: return {TCaptionCommand::MdiChildCommand, sc::Minimize};
    case 8: case 61: return {TCaptionCommand::MdiChildCommand, sc::Restore};
    case 9: case 62: return {TCaptionCommand::MdiChildCommand, sc::Close};
    default: return {TCaptionCommand::PostQuery};
    }
}

int CaptionButtonHitCode(int action) {
    switch (action) {
    case 0: return htClose;
    case 1: case 22: return htMaxButton;
    case 2: case 23: return htMinButton;
    case 3: case 11: case 12: return htSysMenu;
    default: return htNowhere;
    }
}

TCaptionName CaptionButtonName(int action, TShowState show) {
    const TCaptionEffect effect = CaptionActionEffect(action, show);
    switch (effect.command) {
    case TCaptionCommand::Close: return {sc::Close, "Close"};
    case TCaptionCommand::Maximize: return {sc::Maximize, "Maximise"};
    case TCaptionCommand::Minimize: return {sc::Minimize, "Minimise"};
    case TCaptionCommand::Restore: return {sc::Restore, "Restore"};
    case TCaptionCommand::MdiChildCommand:
        switch (effect.sysCommand) {
        case sc::Close: return {sc::Close, "Close"};
        case sc::Minimize: return {sc::Minimize, "Minimise"};
        default: return {sc::Restore, "Restore"};
        }
    default: return {};
    }
}

void TCaptionButtons::Build(TNCOwner* owner, const TSkinElements& skin, const TBitmap& iconBitmap,
                            TBitmap& defaultIcon) {
    buttons_.clear();
    for (const auto& record : skin.SysButtons) {
        if (!record) continue;
        auto button = std::make_unique<TWinSysButton>(owner, record.get());
        if (button->IsIconButton()) {
            if (record->Image.Empty() && !iconBitmap.Empty()) record->Image.Assign(iconBitmap);
            if (defaultIcon.Empty() && !iconBitmap.Empty()) defaultIcon.Assign(iconBitmap);
            record->FrameCount = 1;
        }
        buttons_.push_back(std::move(button));
    }
}

bool TCaptionButtons::UpdateVisible(std::size_t index, const TButtonContext& ctx) {
    TWinSysButton& b = *buttons_[index];
    b.FVisible = ButtonVisible(*b.FRecord, ctx);
    return b.FVisible;
}

int TCaptionButtons::Layout(const TButtonContext& c) {
    int buttonsRight = 0;
    bool anchoredRight = false;
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        if (!UpdateVisible(i, c)) continue;
        TWinSysButton& b = *buttons_[i];
        const TDataSkinSysButton& r = *b.FRecord;
        if (r.Image.Empty()) continue;
        const int w = r.Image.Width() / Frames(r), h = r.Image.Height();
        const TSkinRect base{0, 0, w, h};
        const int x = r.Xcoord, y = r.Ycoord;
        switch (r.Align) {
        case 0: b.FBounds = base.Offset(x, y); break;
        case 1:
            b.FBounds = base.Offset(c.windowWidth - x, y);
            buttonsRight = anchoredRight ? std::min(buttonsRight, b.FBounds.Left) : b.FBounds.Left;
            anchoredRight = true;
            break;
        case 2: case 8: b.FBounds = base.Offset(c.textRect.Left - w - x, y); break;
        case 3: case 9: b.FBounds = base.Offset(c.textRect.Right + x, y); break;
        case kMdiButtonMark: {
            const int top = (c.menuHeight - h) / 2 + c.metrics.TitleHeight;
            const int menuLeft = std::max(c.menuBarLeftWidth, 0);
            const int left = c.rightToLeft ? x + c.metrics.BorderLeft + menuLeft
                                           : c.windowWidth - x - c.metrics.BorderRight - menuLeft;
            b.FBounds = base.Offset(left, top);
            break;
        }
        default: b.FBounds = base; break;
        }
    }
    return buttonsRight;
}

TWinSysButton* TCaptionButtons::Hit(int x, int y) const {
    for (const auto& b : buttons_)
        if (b->FVisible && b->FRecord->Action >= 0 && b->FBounds.Contains(x, y)) return b.get();
    return nullptr;
}

int TCaptionButtons::HitCode(int x, int y) const {
    const TWinSysButton* b = Hit(x, y);
    return b ? CaptionButtonHitCode(b->FRecord->Action) : htNowhere;
}

int TCaptionButtons::LeftButtonsEnd() const {
    int end = 0;
    for (const auto& b : buttons_)
        if (b->FVisible && b->FRecord->Align == 0 && !b->FRecord->Image.Empty()) end = std::max(end, b->FBounds.Right);
    return end;
}

std::vector<TSystemMenuItem> SystemMenuItems(std::uint8_t icons, bool sizeable) {
    std::vector<TSystemMenuItem> items{{" Restore ", 0, ""}, {" Move ", kSysMenuMoveTag, "", -1}};
    if (sizeable) items.push_back({" Size ", kSysMenuSizeTag, "", -1});
    if (icons & biMaximize) items.push_back({" Maximize ", 1, ""});
    if (icons & biMinimize) items.push_back({" Minimize ", 2, ""});
    items.push_back({"-", kSysMenuSeparatorTag, ""});
    items.push_back({" Close ", 3, "Shift+F4"});
    return items;
}

bool SystemMenuItemEnabled(int tag, TShowState show) {
    switch (tag) {
    case 0: return show != ssNormal;
    case 1: return show != ssMaximized;
    case 2: return show != ssMinimized;
    case kSysMenuMoveTag: return show != ssMaximized;
    case kSysMenuSizeTag: return show == ssNormal;
    default: return true;
    }
}

}  // namespace srt
