// Screenshots of other processes' windows, read back from the screen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tools/png/png.h"

namespace srt::screens {

using png::TImage;

// What a pixel outside every captured window reads as: the desktop behind a
// window's cut corners is not the window's look.
constexpr std::uint32_t kOutside = 0xFF00FF;
// What the pixels of a caret read as: it blinks.
constexpr std::uint32_t kCaret = 0x00FFFF;

// The screen rectangle covering `windows` (window rectangles, frames
// included), read from the screen DC into a 32-bit DIB. Pixels outside every
// window's rectangle and region read kOutside; a caret inside one of them,
// kCaret.
TImage Capture(const std::vector<HWND>& windows);

// Captures every 150 ms until three captures in a row agree (the windows
// have painted and hold still), at most `limitMs`; false when they never did
// (`image` is then the last capture).
bool CaptureSettled(const std::vector<HWND>& windows, TImage& image, int limitMs = 5000);

}  // namespace srt::screens
