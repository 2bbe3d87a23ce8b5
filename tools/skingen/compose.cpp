#include "tools/skingen/compose.h"

#include <algorithm>

#include "tools/skingen/raster.h"

namespace srt::art {

void StretchCopy(TBitmap& dst, Rc d, const TBitmap& src, Rc s) {
    if (d.W() <= 0 || d.H() <= 0 || s.W() <= 0 || s.H() <= 0) return;
    for (int y = 0; y < d.H(); ++y) {
        const int dy = d.t + y, sy = s.t + y * s.H() / d.H();
        if (dy < 0 || dy >= dst.Height() || sy < 0 || sy >= src.Height()) continue;
        for (int x = 0; x < d.W(); ++x) {
            const int dx = d.l + x, sx = s.l + x * s.W() / d.W();
            if (dx < 0 || dx >= dst.Width() || sx < 0 || sx >= src.Width()) continue;
            dst.ScanLine(dy)[dx] = At(src, sx, sy);
        }
    }
}

void Blit(TBitmap& dst, int x, int y, const TBitmap& src) {
    StretchCopy(dst, {x, y, x + src.Width(), y + src.Height()}, src, {0, 0, src.Width(), src.Height()});
}

void DrawTransparent(TBitmap& dst, int x, int y, const TBitmap& src) {
    const std::uint32_t key = Pack(kKey);
    for (int j = 0; j < src.Height(); ++j)
        for (int i = 0; i < src.Width(); ++i) {
            const int dx = x + i, dy = y + j;
            if (dx < 0 || dy < 0 || dx >= dst.Width() || dy >= dst.Height()) continue;
            if (At(src, i, j) != key) dst.ScanLine(dy)[dx] = At(src, i, j);
        }
}

Rc FrameRect(const TBitmap& image, bool stacked, int n, int k) {
    n = std::max(1, n);
    if (stacked) {
        const int fh = image.Height() / n;
        return {0, (k - 1) * fh, image.Width(), k * fh};
    }
    const int fw = image.Width() / n;
    return {(k - 1) * fw, 0, k * fw, image.Height()};
}

TBitmap CreateSkinBitmap(int w, int h, const TBitmap& image, Margins m, bool stacked, bool tile, int n, int k) {
    TBitmap out(w, h);
    const Rc f = FrameRect(image, stacked, n, k);
    const int sx = f.l, sy = f.t, fw = f.W(), fh = f.H();
    int L = m.l, T = m.t, R = m.r, B = m.b;
    if (L + R > w) L = R = 0;
    if (T + B > h) T = B = 0;
    auto copy = [&](Rc d, Rc s) { StretchCopy(out, d, image, s); };
    if (L * T > 0) copy({0, 0, L, T}, {sx, sy, sx + L, sy + T});
    if (L * B > 0) copy({0, h - B, L, h}, {sx, sy + fh - B, sx + L, sy + fh});
    if (R * T > 0) copy({w - R, 0, w, T}, {sx + fw - R, sy, sx + fw, sy + T});
    if (L > 0) copy({0, T, L, h - B}, {sx, sy + T, sx + L, sy + fh - B});
    if (T > 0) copy({L, 0, w - R, T}, {sx + L, sy, sx + fw - R, sy + T});
    const Rc cs{sx + L, sy + T, sx + fw - R, sy + fh - B};
    if (tile) {
        const int tw = cs.W(), th = cs.H();
        if (tw > 0 && th > 0)
            for (int x = L; x < w - R; x += tw)
                for (int y = T; y < h - B; y += th) copy({x, y, x + tw, y + th}, cs);
    } else {
        copy({L, T, w - R, h - B}, cs);
    }
    if (R * B > 0) copy({w - R, h - B, w, h}, {sx + fw - R, sy + fh - B, sx + fw, sy + fh});
    if (R > 0) copy({w - R, T, w, h - B}, {sx + fw - R, sy + T, sx + fw, sy + fh - B});
    if (B > 0) copy({L, h - B, w - R, h}, {sx + L, sy + fh - B, sx + fw - R, sy + fh});
    return out;
}

void DrawSkinImage(TBitmap& dst, Rc r, const TBitmap& image, bool stacked, bool tile, bool trans, int n, int k,
                   Margins m) {
    if (r.W() <= 0 || r.H() <= 0 || image.Empty()) return;
    const TBitmap b = CreateSkinBitmap(r.W(), r.H(), image, m, stacked, tile, n, k);
    if (trans) DrawTransparent(dst, r.l, r.t, b);
    else Blit(dst, r.l, r.t, b);
}

void DrawSkinStrip(TBitmap& dst, Rc r, const TBitmap& image, bool stacked, bool trans, int n, int k, int left,
                   int right) {
    if (r.W() <= 0 || r.H() <= 0 || image.Empty()) return;
    const Rc f = FrameRect(image, stacked, n, k);
    const int w = r.W(), h = r.H();
    TBitmap b(w, h);
    StretchCopy(b, {0, 0, left, h}, image, {f.l, f.t, f.l + left, f.b});
    const int mw = f.W() - left - right;
    if (mw > 0)
        for (int x = left; x < w - right; x += mw)
            StretchCopy(b, {x, 0, x + mw, h}, image, {f.l + left, f.t, f.l + left + mw, f.b});
    StretchCopy(b, {w - right, 0, w, h}, image, {f.r - right, f.t, f.r, f.b});
    if (trans) DrawTransparent(dst, r.l, r.t, b);
    else Blit(dst, r.l, r.t, b);
}

void DrawSkinFrame(TBitmap& dst, Rc r, const TBitmap& image, bool trans, int n, int k) {
    if (r.W() <= 0 || r.H() <= 0 || image.Empty()) return;
    TBitmap b(r.W(), r.H());
    StretchCopy(b, {0, 0, r.W(), r.H()}, image, FrameRect(image, false, n, k));
    if (trans) DrawTransparent(dst, r.l, r.t, b);
    else Blit(dst, r.l, r.t, b);
}

void DrawSkinBorder(TBitmap& dst, Rc r, const TBitmap& image, int n, int k, Margins m) {
    if (image.Empty()) return;
    const TBitmap full = CreateSkinBitmap(r.W(), r.H(), image, m, false, false, n, k);
    int L = m.l, T = m.t, R = m.r, B = m.b;
    if (L + R > r.W()) L = R = 0;
    if (T + B > r.H()) T = B = 0;
    // Everything but the centre.
    for (int y = 0; y < r.H(); ++y)
        for (int x = 0; x < r.W(); ++x) {
            if (x >= L && x < r.W() - R && y >= T && y < r.H() - B) continue;
            const int dx = r.l + x, dy = r.t + y;
            if (dx >= 0 && dy >= 0 && dx < dst.Width() && dy < dst.Height()) dst.ScanLine(dy)[dx] = At(full, x, y);
        }
}

}  // namespace srt::art
