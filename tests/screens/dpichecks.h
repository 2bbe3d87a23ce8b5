// The screenshots at the screen's DPI (the Wine prefix's LogPixels, named by
// SRT_TEST_DPI) and what is checked in them beyond the pictures: each painted
// caption button answers its hit-test code at its centre. (That every caption
// fits its control at the screen's DPI is measured by tests/dpi.)
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/png/png.h"

namespace srt::screens {

using png::TImage;

// SRT_TEST_DPI, 96 without.
int ScreenDpi();

// A picture's name at the screen's DPI: "main-active" at 96,
// "main-active-144dpi" at 144.
std::string NameAtScreenDpi(const std::string& name);

// The top left corner of the rectangle covering `windows` (what a capture
// of them starts at).
POINT CaptureOrigin(const std::vector<HWND>& windows);

// A caption button found painted at rest: its record's action, the code
// WM_NCHITTEST should answer for it, where it lies (screen) and its first
// frame's pixels (0xFF000000: transparent).
struct TPaintedButton {
    int action = 0;
    LRESULT code = 0;
    RECT bounds{};
    std::vector<std::uint32_t> rest;
};

// The caption buttons that the skin `skinFile` (a .skn) places on `window`
// at `dpi` (anchored to the window's left or right edge) and that `shot`
// (captured at `origin`) shows there in their first frame.
std::vector<TPaintedButton> PaintedCaptionButtons(HWND window, const TImage& shot, POINT origin,
                                                  const std::wstring& skinFile, int dpi);

// True when `shot` (captured at `origin`) shows `button` in its first frame.
bool AtRest(const TPaintedButton& button, const TImage& shot, POINT origin);

// Moves `windows` together, as little as needed, so that they lie on the
// screen: the screen reads black where a capture reaches past it (scaled
// windows are large).
void OntoTheScreen(const std::vector<HWND>& windows);

// Every caption button of `windows` painted in `shot` where the shipped skin
// `skin`'s ("": Daylight, the stored one) records place them at the screen's
// DPI answers WM_NCHITTEST at its centre with its code or the caption's (the
// form skin takes its buttons' clicks through the caption's mouse
// messages); `showsButtons` (one of `windows`, or null) shows at least one.
void ExpectButtonsAnswer(const std::string& name, const std::vector<HWND>& windows, const TImage& shot,
                         const std::string& skin, HWND showsButtons = nullptr);

}  // namespace srt::screens
