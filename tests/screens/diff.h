// Comparing a screenshot with the expected one.
#pragma once

#include "tools/png/png.h"

namespace srt::screens {

using png::TImage;

// The number of pixels that differ, the first of them (row by row) and an
// image marking them: differing pixels red, the rest a faded copy of
// `actual`. When the sizes differ every pixel of the larger one counts and
// the first is (0, 0).
struct TDifference {
    long count = 0;
    int firstX = -1, firstY = -1;
    TImage marked;
};
TDifference Compare(const TImage& expected, const TImage& actual);

}  // namespace srt::screens
