// Readable text and no white field in screenshots of skinned windows
// (Win32): every client area of the skinned windows and of their visible
// descendants is measured as one background with text on it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tools/png/png.h"

namespace srt::screens {

// The skins' promises: 4.5:1 for Dusk, 7:1 for High Contrast.
double ContrastGoal(const std::string& skin);

// The text of every client area of `windows` (captured in `image`, whose
// origin is their top-left corner) and their descendants stands `goal`:1
// against its background, a caption shows, no background is a light field
// and no skinned window a white one; `pictures` (screen rectangles) are no
// text. Failures are reported as test failures named `name`.
void ExpectReadable(const std::string& name, const png::TImage& image, const std::vector<HWND>& windows, double goal,
                    const std::vector<RECT>& pictures = {});

}  // namespace srt::screens
