// Small raster helpers for drawing skin art: solid and gradient fills,
// crisp pixel lines, and anti-aliased shapes by 4 x 4 supersampling. All
// drawing goes through a View, a clipped window onto a TBitmap (pixels
// 0x00RRGGBB). Platform-free and deterministic.
#pragma once

#include <cstdint>
#include <functional>

#include "component/graphics.h"
#include "tools/png/png.h"

namespace srt::art {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

constexpr Rgb Hex(std::uint32_t rgb) {
    return Rgb{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
               static_cast<std::uint8_t>(rgb)};
}
constexpr std::uint32_t Pack(Rgb c) { return std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b; }
constexpr Rgb Unpack(std::uint32_t p) { return Hex(p); }

// The stored pixel (0x00RRGGBB) at (x, y).
inline std::uint32_t At(const TBitmap& b, int x, int y) { return b.ScanLine(y)[x]; }

// The bitmap's pixels as the PNG codec takes them.
png::TImage ImageOf(const TBitmap& b);

// The key colour: pixels of this colour are left out when an element is
// drawn transparent.
constexpr Rgb kKey{255, 0, 255};

// a * (1 - t) + b * t, per channel, rounded.
Rgb Mix(Rgb a, Rgb b, double t);
Rgb Lighten(Rgb c, double t);  // towards white
Rgb Darken(Rgb c, double t);   // towards black

// WCAG relative luminance and contrast ratio (1 to 21).
double Luminance(Rgb c);
double Contrast(Rgb a, Rgb b);

// A point test in pixel coordinates of the view (pixel x covers x .. x + 1).
using Shape = std::function<bool(double x, double y)>;

Shape RoundRectShape(double x0, double y0, double x1, double y1, double r);
// Radii per corner: top-left, top-right, bottom-right, bottom-left.
Shape RoundRectShape(double x0, double y0, double x1, double y1, double rtl, double rtr,
                     double rbr, double rbl);
Shape CircleShape(double cx, double cy, double r);
// A stroke of half-width hw along the segment a-b.
Shape SegmentShape(double ax, double ay, double bx, double by, double hw);
// A convex polygon, points in either winding order.
Shape PolygonShape(std::initializer_list<std::pair<double, double>> points);
Shape Union(Shape a, Shape b);
Shape Minus(Shape a, Shape b);

class View {
public:
    View(TBitmap& image, int ox, int oy, int w, int h) : img_(&image), ox_(ox), oy_(oy), w_(w), h_(h) {}
    explicit View(TBitmap& image) : View(image, 0, 0, image.Width(), image.Height()) {}

    int Width() const { return w_; }
    int Height() const { return h_; }
    View Sub(int x, int y, int w, int h) const { return View(*img_, ox_ + x, oy_ + y, w, h); }

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    Rgb Get(int x, int y) const;
    void Set(int x, int y, Rgb c);
    void Blend(int x, int y, Rgb c, double alpha);

    void Fill(Rgb c) { Rect(0, 0, w_, h_, c); }
    void Rect(int x0, int y0, int x1, int y1, Rgb c);    // x1, y1 exclusive
    void Frame(int x0, int y0, int x1, int y1, Rgb c);   // one-pixel outline
    void HLine(int x0, int x1, int y, Rgb c) { Rect(x0, y, x1, y + 1, c); }
    void VLine(int x, int y0, int y1, Rgb c) { Rect(x, y0, x + 1, y1, c); }
    void VGradient(int x0, int y0, int x1, int y1, Rgb top, Rgb bottom);
    void Line(int x0, int y0, int x1, int y1, Rgb c);    // crisp, both ends included

    // Anti-aliased fill: each pixel is blended with its coverage.
    void FillShape(const Shape& s, Rgb c);
    // The same with a colour per row.
    void FillShape(const Shape& s, const std::function<Rgb(int y)>& colour);
    // Pixels that the shape covers less than half become the key colour.
    void KeyOutside(const Shape& s);

    // Coverage of pixel (x, y) by the shape, 0 to 1.
    static double Coverage(const Shape& s, int x, int y);

private:
    TBitmap* img_;
    int ox_, oy_, w_, h_;
};

}  // namespace srt::art
