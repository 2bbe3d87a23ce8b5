// The program's icon, drawn from the logo at every size a window shows it
// from 100 to 200 %: 16, 20, 24, 32, 40, 48 and 64 pixels square, 32-bit
// colour with alpha, in one .ico file. Platform-free.
#pragma once

#include <cstdint>
#include <vector>

namespace srt::logo {

// One picture of the icon: size x size pixels, top row first, each
// 0xAARRGGBB with straight (not premultiplied) alpha.
struct IconImage {
    int size = 0;
    std::vector<std::uint32_t> pixels;
};

inline constexpr int kIconSizes[] = {16, 20, 24, 32, 40, 48, 64};

// Draws the icon at `size` pixels. Below 32 pixels it shows the reduced logo
// laid out for that size, with opaque or clear pixels only (it is drawn over
// key colours in skinned captions); larger sizes show the whole logo with
// soft edges.
IconImage DrawIcon(int size);

// The .ico file of every size, smallest first, as committed in
// resources/icon/SrtRetime.ico.
std::vector<std::uint8_t> IconBytes();

}  // namespace srt::logo
