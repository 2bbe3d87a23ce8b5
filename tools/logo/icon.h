// The program's icon, drawn from the logo: 16, 32 and 48 pixels square,
// 32-bit colour with alpha, in one .ico file. Platform-free.
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

inline constexpr int kIconSizes[] = {16, 32, 48};

// Draws the icon at `size` pixels. 16 pixels shows the reduced logo with
// opaque or clear pixels only (it is drawn over key colours in skinned
// captions); larger sizes show the whole logo with soft edges.
IconImage DrawIcon(int size);

// The .ico file of the three sizes, smallest first, as committed in
// resources/icon/SrtRetime.ico.
std::vector<std::uint8_t> IconBytes();

}  // namespace srt::logo
