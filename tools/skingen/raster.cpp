#include "tools/skingen/raster.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace srt::art {

png::TImage ImageOf(const TBitmap& b) {
    png::TImage image{b.Width(), b.Height(), {}};
    image.pixels.reserve(static_cast<std::size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) image.pixels.push_back(At(b, x, y) & 0xFFFFFF);
    return image;
}
namespace {

std::uint8_t Channel(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

double Linear(std::uint8_t c) {
    const double s = c / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
    return Rgb{Channel(a.r + (b.r - a.r) * t), Channel(a.g + (b.g - a.g) * t),
               Channel(a.b + (b.b - a.b) * t)};
}
Rgb Lighten(Rgb c, double t) { return Mix(c, Rgb{255, 255, 255}, t); }
Rgb Darken(Rgb c, double t) { return Mix(c, Rgb{0, 0, 0}, t); }

double Luminance(Rgb c) { return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b); }

double Contrast(Rgb a, Rgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Shape RoundRectShape(double x0, double y0, double x1, double y1, double r) {
    return RoundRectShape(x0, y0, x1, y1, r, r, r, r);
}

Shape RoundRectShape(double x0, double y0, double x1, double y1, double rtl, double rtr, double rbr,
                     double rbl) {
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
        auto corner = [&](double cx, double cy, double r) {
            const double dx = x - cx, dy = y - cy;
            return dx * dx + dy * dy <= r * r;
        };
        if (x < x0 + rtl && y < y0 + rtl) return corner(x0 + rtl, y0 + rtl, rtl);
        if (x >= x1 - rtr && y < y0 + rtr) return corner(x1 - rtr, y0 + rtr, rtr);
        if (x >= x1 - rbr && y >= y1 - rbr) return corner(x1 - rbr, y1 - rbr, rbr);
        if (x < x0 + rbl && y >= y1 - rbl) return corner(x0 + rbl, y1 - rbl, rbl);
        return true;
    };
}

Shape CircleShape(double cx, double cy, double r) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

Shape SegmentShape(double ax, double ay, double bx, double by, double hw) {
    return [=](double x, double y) {
        const double vx = bx - ax, vy = by - ay;
        const double len2 = vx * vx + vy * vy;
        double t = len2 > 0 ? ((x - ax) * vx + (y - ay) * vy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        const double dx = x - (ax + t * vx), dy = y - (ay + t * vy);
        return dx * dx + dy * dy <= hw * hw;
    };
}

Shape PolygonShape(std::initializer_list<std::pair<double, double>> points) {
    std::vector<std::pair<double, double>> p(points);
    return [p](double x, double y) {
        int sign = 0;
        for (std::size_t i = 0; i < p.size(); ++i) {
            const auto [ax, ay] = p[i];
            const auto [bx, by] = p[(i + 1) % p.size()];
            const double cross = (bx - ax) * (y - ay) - (by - ay) * (x - ax);
            const int s = cross > 0 ? 1 : cross < 0 ? -1 : 0;
            if (s == 0) continue;
            if (sign == 0) sign = s;
            else if (s != sign) return false;
        }
        return true;
    };
}

Shape Union(Shape a, Shape b) {
    return [a, b](double x, double y) { return a(x, y) || b(x, y); };
}
Shape Minus(Shape a, Shape b) {
    return [a, b](double x, double y) { return a(x, y) && !b(x, y); };
}

Rgb View::Get(int x, int y) const {
    if (!Inside(x, y)) return Rgb{};
    return Unpack(At(*img_, ox_ + x, oy_ + y));
}

void View::Set(int x, int y, Rgb c) {
    if (!Inside(x, y)) return;
    const int ax = ox_ + x, ay = oy_ + y;
    if (ax < 0 || ay < 0 || ax >= img_->Width() || ay >= img_->Height()) return;
    img_->ScanLine(ay)[ax] = Pack(c);
}

void View::Blend(int x, int y, Rgb c, double alpha) {
    if (alpha <= 0) return;
    Set(x, y, alpha >= 1 ? c : Mix(Get(x, y), c, alpha));
}

void View::Rect(int x0, int y0, int x1, int y1, Rgb c) {
    for (int y = std::max(y0, 0); y < std::min(y1, h_); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, w_); ++x) Set(x, y, c);
}

void View::Frame(int x0, int y0, int x1, int y1, Rgb c) {
    HLine(x0, x1, y0, c);
    HLine(x0, x1, y1 - 1, c);
    VLine(x0, y0, y1, c);
    VLine(x1 - 1, y0, y1, c);
}

void View::VGradient(int x0, int y0, int x1, int y1, Rgb top, Rgb bottom) {
    for (int y = y0; y < y1; ++y) {
        const double t = y1 - y0 > 1 ? double(y - y0) / (y1 - y0 - 1) : 0;
        HLine(x0, x1, y, Mix(top, bottom, t));
    }
}

void View::Line(int x0, int y0, int x1, int y1, Rgb c) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Set(x0, y0, c);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x0 += sx; }
        if (e2 <= dx) { err += dx; y0 += sy; }
    }
}

double View::Coverage(const Shape& s, int x, int y) {
    int hits = 0;
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            if (s(x + (i + 0.5) / 4.0, y + (j + 0.5) / 4.0)) ++hits;
    return hits / 16.0;
}

void View::FillShape(const Shape& s, Rgb c) {
    FillShape(s, [c](int) { return c; });
}

void View::FillShape(const Shape& s, const std::function<Rgb(int y)>& colour) {
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) Blend(x, y, colour(y), Coverage(s, x, y));
}

void View::KeyOutside(const Shape& s) {
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            if (Coverage(s, x, y) < 0.5) Set(x, y, kKey);
}

}  // namespace srt::art
