// A skin's element records at another DPI: every length the definition
// gives scaled by srt::ScaleToDpi, every image taken from the package's
// entry drawn for that scale (NAME@125/@150/@200.bmp) when it has the size
// the scaled lengths ask for, else scaled from the 96-DPI image frame by
// frame: nearest-neighbour at whole factors, a nine-slice scale otherwise
// (corners and edges nearest-neighbour to their scaled margins, the centre
// stretched or tiled as the record's fill says). Platform-free.
#pragma once

#include <memory>
#include <string_view>

#include "component/graphics.h"
#include "skin/data/records.h"

namespace srt {

class TSkinReader;

// The package entry suffix drawn for `dpi`: "@125" at 120, "@150" at 144,
// "@200" at 192; empty at any other DPI.
std::string_view ScaleSuffixFor(int dpi);

// How an image is cut: `frames` equal frames side by side or stacked (the
// division's leftover pixels are dropped), each with fixed margins in image
// pixels, its centre tiled at natural size or stretched.
struct TImageSlices {
    int frames = 1;
    bool stacked = false;
    int left = 0, top = 0, right = 0, bottom = 0;
    bool tileCentre = false;
};

// The size `image` cut as `slices` has at `dpi`: each frame's width and
// height through ScaleToDpi, times the frame count along its layout.
void ScaledImageSize(const TBitmap& image, const TImageSlices& slices, int dpi, int& width, int& height);

// `image` at `dpi` (see above); an empty image stays empty.
TBitmap ScaleSkinImage(const TBitmap& image, const TImageSlices& slices, int dpi);

// `base` (read at 96 DPI) at `dpi`. `package` is the package `base` was read
// from, for its per-scale entries (those of `dpi` that it holds packed are
// unpacked for the call, in one pass); null scales every image.
std::unique_ptr<TSkinElements> ScaleSkinElements(const TSkinElements& base, int dpi, const TSkinReader* package);

}  // namespace srt
