// Tooltips of a skinned window's caption buttons: one tooltip window owned
// by the form skin, one tool per button that does something, its rectangle
// the button's bounds from the frame's layout (what painting and hit testing
// read) and its text the button's name. The platform names the commands in
// the window's system menu; an application gives its own texts by naming
// those items. Win32, GUI thread only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "skin/form/captionbuttons.h"

namespace srt {

// One caption button's tool: bounds in window coordinates and its name.
struct TCaptionTip {
    TSkinRect bounds;
    std::wstring text;
    bool operator==(const TCaptionTip&) const = default;
};

// The tools for `buttons` as laid out now: visible buttons with an action
// that has a name, in record order. Names come from `sysMenu` (its item's
// text without the mnemonic mark and the short cut) or the fallback.
std::vector<TCaptionTip> CaptionTipsFor(const TCaptionButtons& buttons, TShowState showState, HMENU sysMenu);

class TCaptionTips {
public:
    TCaptionTips() = default;
    ~TCaptionTips() { Destroy(); }
    TCaptionTips(const TCaptionTips&) = delete;
    TCaptionTips& operator=(const TCaptionTips&) = delete;

    // Replaces the tools of `window` when they differ (the tooltip window is
    // made on the first call that has a tool).
    void Update(HWND window, std::vector<TCaptionTip> tips);
    // A mouse message over the non-client area (screen point): moves pass
    // on as client moves, so the tooltip shows after its delay; a press
    // hides it.
    void Relay(HWND window, UINT msg, POINT screen);
    void Destroy();

    HWND Handle() const { return tip_; }
    const std::vector<TCaptionTip>& Tips() const { return tips_; }
    // Where the window's client area begins, in window coordinates: the
    // tools' rectangles are the bounds moved by minus this.
    static POINT ClientOrigin(HWND window);

private:
    void SetRects(HWND window);

    HWND tip_ = nullptr;
    std::vector<TCaptionTip> tips_;
    POINT origin_{};
};

}  // namespace srt
