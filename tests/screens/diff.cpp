#include "tests/screens/diff.h"

#include <algorithm>

namespace srt::screens {

TDifference Compare(const TImage& expected, const TImage& actual) {
    TDifference d;
    const int width = std::max(expected.width, actual.width), height = std::max(expected.height, actual.height);
    d.marked = {width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0xFF0000)};
    const bool sameSize = expected.width == actual.width && expected.height == actual.height;
    if (!sameSize) {
        d.count = static_cast<long>(width) * height;
        d.firstX = d.firstY = 0;
    }
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x) {
            const std::uint32_t p = actual.At(x, y);
            bool same = false;
            if (sameSize) {
                same = expected.At(x, y) == p;
                if (!same && d.count++ == 0) d.firstX = x, d.firstY = y;
            }
            // Faded: each channel halfway to white.
            const std::uint32_t faded = ((p >> 1) & 0x7F7F7F) + 0x808080;
            d.marked.pixels[static_cast<std::size_t>(y) * width + x] = same ? faded : 0xFF0000;
        }
    return d;
}

}  // namespace srt::screens
