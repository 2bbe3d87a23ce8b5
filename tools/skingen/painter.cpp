#include "tools/skingen/painter.h"

#include <algorithm>

namespace srt::art {

TBitmap Painter::Frames(int fw, int fh, int n, bool stacked, const std::function<void(View&, int)>& draw) const {
    const int w = S(fw), h = S(fh);
    TBitmap image(stacked ? w : w * n, stacked ? h * n : h);
    View all(image);
    all.Fill(kKey);
    for (int k = 1; k <= n; ++k) {
        View v = stacked ? all.Sub(0, (k - 1) * h, w, h) : all.Sub((k - 1) * w, 0, w, h);
        draw(v, k);
    }
    return image;
}

void Painter::Panel(View& v, double x0, double y0, double x1, double y1, double r, Rgb under, Rgb outline,
                    const std::function<Rgb(int)>& fill) const {
    const int w = L(1);
    const Shape outer = RoundRectShape(x0, y0, x1, y1, r);
    const Shape inner = RoundRectShape(x0 + w, y0 + w, x1 - w, y1 - w, std::max(0.0, r - w));
    for (int y = 0; y < v.Height(); ++y)
        for (int x = 0; x < v.Width(); ++x)
            if (View::Coverage(outer, x, y) > 0) v.Set(x, y, under);
    v.FillShape(outer, outline);
    v.FillShape(inner, fill);
    v.KeyOutside(outer);
}

void Painter::Panel(View& v, double x0, double y0, double x1, double y1, double r, Rgb under, Rgb outline,
                    Rgb top, Rgb bottom) const {
    const int w = L(1);
    const int h = std::max(1, int(y1 - y0) - 2 * w);
    Panel(v, x0, y0, x1, y1, r, under, outline, [&](int y) {
        return Mix(top, bottom, std::clamp((y - y0 - w) / double(std::max(1, h - 1)), 0.0, 1.0));
    });
}

void Painter::FramePanel(View& v, int inset, double r, Rgb under, Rgb outline, Rgb top, Rgb bottom) const {
    const int i = S(inset);
    Panel(v, i, i, v.Width() - i, v.Height() - i, r, under, outline, top, bottom);
}

void Painter::Outline(View& v, int x0, int y0, int x1, int y1, int w, Rgb c) {
    for (int i = 0; i < w; ++i) v.Frame(x0 + i, y0 + i, x1 - i, y1 - i, c);
}

void Painter::Triangle(View& v, int x, int y, int base, Dir d, Rgb c) {
    const int rows = (base + 1) / 2;
    for (int i = 0; i < rows; ++i) {
        const int len = base - 2 * (rows - 1 - i);  // from the tip outwards
        const int off = (base - len) / 2;
        switch (d) {
            case Dir::Up: v.HLine(x + off, x + off + len, y + i, c); break;
            case Dir::Down: v.HLine(x + off, x + off + len, y + rows - 1 - i, c); break;
            case Dir::Left: v.VLine(x + i, y + off, y + off + len, c); break;
            case Dir::Right: v.VLine(x + rows - 1 - i, y + off, y + off + len, c); break;
        }
    }
}

void Painter::CentredTriangle(View& v, int base, Dir d, Rgb c) const {
    const int b = S(base), rows = (b + 1) / 2;
    const bool across = d == Dir::Left || d == Dir::Right;
    const int w = across ? rows : b, h = across ? b : rows;
    Triangle(v, (v.Width() - w) / 2, (v.Height() - h) / 2, b, d, c);
}

void Painter::ChevronDown(View& v, int x, int y, int h, int stroke, Rgb c) {
    for (int i = 0; i < h; ++i) {
        v.HLine(x + i, x + i + stroke, y + i, c);
        v.HLine(x + 2 * h - i - stroke, x + 2 * h - i, y + i, c);
    }
}

}  // namespace srt::art
