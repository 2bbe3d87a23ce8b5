// Text contrast measured from a screenshot. Each region of the image (a
// control's client area, say) is read as one background, its most common
// colour, with text drawn on it: the most common colour among the pixels
// that stand clearly apart from the background (faint gradients and the
// fringes of smoothed glyphs are not text). Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/png/png.h"

namespace srt::screens {

using png::TImage;

// Relative luminance and contrast ratio of 0x00RRGGBB colours.
double Luminance(std::uint32_t rgb);
double Contrast(std::uint32_t a, std::uint32_t b);

struct TRegion {
    std::string name;
    int left = 0, top = 0, right = 0, bottom = 0;  // image pixels, right and bottom excluded
};

struct TRegionContrast {
    std::size_t region = 0;  // index into the regions measured
    std::uint32_t background = 0;
    std::uint32_t text = 0;
    long textPixels = 0;  // 0: no text found
    double ratio = 0;     // text against background; 21 when there is no text
};

// `owner` names, per pixel, the index of the region it belongs to (-1: none),
// so that a region nested in another counts only once. Pixels equal to
// `ignore` (kOutside, kCaret) count nowhere.
std::vector<TRegionContrast> MeasureContrast(const TImage& image, const std::vector<TRegion>& regions,
                                             const std::vector<int>& owner,
                                             const std::vector<std::uint32_t>& ignore);

// The owner map of `regions` painted in order (later ones over earlier
// ones); the `inset` pixels along each region's edge belong to none.
std::vector<int> PaintOwners(const TImage& image, const std::vector<TRegion>& regions, int inset);

}  // namespace srt::screens
