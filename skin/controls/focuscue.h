// The keyboard-focus cue of the skinned buttons: a dotted rectangle inside
// the control in its caption colour, shown as the platform shows its own,
// only while the window's UI state lets focus cues show (no UISF_HIDEFOCUS:
// hidden after a mouse start, shown once Tab or Alt is used).
#pragma once

#include <windows.h>

namespace srt {

// How far inside a push button its cue lies.
constexpr int kButtonFocusInset = 4;

// The cue's rectangle inside a control's rectangle `r` (inset by `inset`);
// empty when the control is too small for one.
RECT FocusCueRect(const RECT& r, int inset);

// True when the UI state of `window`'s top-level window shows focus cues
// (a skinned window keeps it for itself and its controls).
bool FocusCuesShown(HWND window);

// True when a control with the focus state `focused` shows the cue.
inline bool ShowsFocusCue(HWND window, bool focused) { return focused && FocusCuesShown(window); }

// A dotted rectangle (one pixel on, one off, from the top-left corner)
// along the inside of `r` in `colour`.
void DrawFocusCue(HDC dc, const RECT& r, COLORREF colour);

}  // namespace srt
