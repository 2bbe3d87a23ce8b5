// The skin composition rules, platform-free, for previewing a skin without
// a window system: nine-piece images, three-piece strips, single stretched
// frames and colour-keyed drawing, on TBitmaps. Stretching drops or repeats
// rows and columns and never blends, as the painters' stretch mode does.
#pragma once

#include "component/graphics.h"
#include "skin/data/records.h"

namespace srt::art {

struct Rc {
    int l = 0, t = 0, r = 0, b = 0;
    int W() const { return r - l; }
    int H() const { return b - t; }
};

void StretchCopy(TBitmap& dst, Rc d, const TBitmap& src, Rc s);
void Blit(TBitmap& dst, int x, int y, const TBitmap& src);
// Blit leaving out key-coloured (fuchsia) pixels.
void DrawTransparent(TBitmap& dst, int x, int y, const TBitmap& src);

struct Margins {
    int l = 0, t = 0, r = 0, b = 0;
};
inline Margins MarginsOf(const TDataSkinObject& e) {
    return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
}

// Frame k (from 1) of n; side by side unless stacked.
Rc FrameRect(const TBitmap& image, bool stacked, int n, int k);

TBitmap CreateSkinBitmap(int w, int h, const TBitmap& image, Margins m, bool stacked, bool tile, int n, int k);
void DrawSkinImage(TBitmap& dst, Rc r, const TBitmap& image, bool stacked, bool tile, bool trans, int n, int k,
                   Margins m);
void DrawSkinStrip(TBitmap& dst, Rc r, const TBitmap& image, bool stacked, bool trans, int n, int k, int left,
                   int right);
void DrawSkinFrame(TBitmap& dst, Rc r, const TBitmap& image, bool trans, int n, int k);
void DrawSkinBorder(TBitmap& dst, Rc r, const TBitmap& image, int n, int k, Margins m);

}  // namespace srt::art
