// Menu item texts: "&" accelerator marks and shortcut key names.
// Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A shortcut: the virtual-key code in the low byte plus modifier bits.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

// The accelerator character of a caption, upper-cased: the character after
// the first "&" that is not doubled ("&&" is a literal "&"); 0 when none.
char AcceleratorOf(std::string_view caption);
// Whether `key` (a character or a virtual-key letter or digit) is the
// caption's accelerator, compared case-insensitively.
bool IsAccelerator(std::string_view caption, unsigned key);
// The caption without accelerator marks ("&&" becomes "&").
std::string StripHotkey(std::string_view caption);

// "Ctrl+S", "Shift+F4", "Alt+Enter"; empty for scNone.
std::string ShortCutToText(TShortCut shortCut);
// The inverse of ShortCutToText, case-insensitive; scNone for an unknown text.
TShortCut TextToShortCut(std::string_view text);
