// The program's logo: a speech bubble with two subtitle lines, a clock, and
// a timeline of cues with a playhead. Drawn from shapes with 8 x 8 samples
// per pixel, edges blended towards the light window face, and reduced to
// 31 colours plus the transparent one.
#include "logo/logo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numeric>

namespace srt::logo {

namespace {

struct Rgb {
    double r, g, b;
};

constexpr Rgb kFace{243, 244, 246};  // the light window face edges blend into
constexpr Rgb kBlueTop{76, 141, 240};
constexpr Rgb kBlueBottom{43, 103, 210};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kAmber{245, 165, 36};
constexpr Rgb kInk{43, 58, 79};
constexpr Rgb kTrack{206, 215, 228};
constexpr Rgb kCue{58, 118, 222};

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Signed distances: negative inside.
double RoundRect(double x, double y, double x0, double y0, double x1, double y1, double radius) {
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const double hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    const double qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

double Circle(double x, double y, double cx, double cy, double radius) {
    return std::hypot(x - cx, y - cy) - radius;
}

// A segment from (ax, ay) to (bx, by) with round ends.
double Capsule(double x, double y, double ax, double ay, double bx, double by, double radius) {
    const double px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    const double t = Clamp01((px * dx + py * dy) / (dx * dx + dy * dy));
    return std::hypot(px - dx * t, py - dy * t) - radius;
}

// Inside the triangle (a, b, c), by the signs of the edge functions.
bool InTriangle(double x, double y, double ax, double ay, double bx, double by, double cx, double cy) {
    auto edge = [&](double x0, double y0, double x1, double y1) {
        return (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0);
    };
    const double e0 = edge(ax, ay, bx, by), e1 = edge(bx, by, cx, cy), e2 = edge(cx, cy, ax, ay);
    return (e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0);
}

// Geometry, in pixels of the 78 x 79 picture.
constexpr double kClockX = 60.0, kClockY = 18.0, kClockR = 15.0;
constexpr double kHeadX = 45.0;

// Paints colours over `out`, back to front.
struct Painter {
    Rgba& out;
    void operator()(Rgb c, double alpha = 1.0) const {
        out.r = c.r * alpha + out.r * (1 - alpha);
        out.g = c.g * alpha + out.g * (1 - alpha);
        out.b = c.b * alpha + out.b * (1 - alpha);
        out.a = alpha + out.a * (1 - alpha);
    }
};

}  // namespace

Rgba Sample(double x, double y) {
    Rgba out;
    const Painter paint{out};

    // Speech bubble with its tail pointing down to the timeline.
    const bool body = RoundRect(x, y, 2, 12, 58, 52, 10) <= 0;
    const bool tail = InTriangle(x, y, 12, 49, 27, 49, 9, 61.5);
    const bool clockGap = Circle(x, y, kClockX, kClockY, kClockR + 2.2) <= 0;
    if ((body || tail) && !clockGap) {
        paint(Mix(kBlueTop, kBlueBottom, Clamp01((y - 12) / 50)));
        // Two centred subtitle lines.
        if (Capsule(x, y, 14, 29, 41, 29, 2.7) <= 0) paint(kWhite, 0.96);
        if (Capsule(x, y, 19, 39.5, 36, 39.5, 2.7) <= 0) paint(kWhite, 0.96);
    }

    // Clock: white face, amber rim, four ticks, two hands.
    const double clock = Circle(x, y, kClockX, kClockY, kClockR);
    if (clock <= 0) {
        paint(clock > -2.6 ? kAmber : kWhite);
        const double tick = 8.6;
        for (auto [dx, dy] : {std::pair{0.0, -1.0}, {1.0, 0.0}, {0.0, 1.0}, {-1.0, 0.0}}) {
            if (Capsule(x, y, kClockX + dx * tick, kClockY + dy * tick, kClockX + dx * (tick + 1.4),
                        kClockY + dy * (tick + 1.4), 0.9) <= 0)
                paint(Mix(kInk, kWhite, 0.35));
        }
        if (Capsule(x, y, kClockX, kClockY, kClockX, kClockY - 8.0, 1.15) <= 0) paint(kInk);
        if (Capsule(x, y, kClockX, kClockY, kClockX + 5.0, kClockY + 2.6, 1.35) <= 0) paint(kInk);
        if (Circle(x, y, kClockX, kClockY, 2.0) <= 0) paint(kAmber);
    }

    // Timeline: a track, three cues, and the playhead.
    if (Capsule(x, y, 5, 71, 73, 71, 2.6) <= 0) paint(kTrack);
    for (auto [a, b] : {std::pair{8.0, 17.0}, {25.0, 36.0}, {53.0, 64.0}}) {
        if (Capsule(x, y, a, 71, b, 71, 2.6) <= 0) paint(kCue);
    }
    if (Capsule(x, y, kHeadX, 66.5, kHeadX, 77.0, 1.1) <= 0) paint(kAmber);
    if (Circle(x, y, kHeadX, 65.5, 3.0) <= 0) paint(kAmber);
    return out;
}

Rgba SampleSmall(double x, double y, int size) {
    Rgba out;
    const Painter paint{out};
    // Laid out on whole pixels of `size`: the 16-pixel design's edges
    // rounded to the pixel grid, strokes a pixel wide (two from 32 up).
    const double k = size / 16.0;
    const double stroke = std::max(1, size / 16);
    auto at = [k](double v) { return std::round(v * k); };
    // The clock in the top right corner, an odd number of pixels across so
    // that its one-pixel hands sit on its centre.
    double diameter = at(9);
    if (static_cast<int>(diameter) % 2 == 0) diameter -= 1;
    const double r = diameter / 2, cx = size - r, cy = r;
    const bool body = RoundRect(x, y, 0, at(4), at(13), at(13), 2.5 * k) <= 0;
    const bool tail = InTriangle(x, y, 2.5 * k, 12.5 * k, 6.5 * k, 12.5 * k, 2 * k, size);
    if ((body || tail) && Circle(x, y, cx, cy, r + 0.8 * k) > 0) {
        paint(Mix(kBlueTop, kBlueBottom, Clamp01((y - at(4)) / (size - at(4)))));
        if (RoundRect(x, y, at(2), at(7), at(7), at(7) + stroke, 0) <= 0) paint(kWhite);
        if (RoundRect(x, y, at(3), at(10), at(10), at(10) + stroke, 0) <= 0) paint(kWhite);
    }
    const double clock = Circle(x, y, cx, cy, r);
    if (clock <= 0) {
        paint(clock > -stroke ? kAmber : kWhite);
        const double half = stroke / 2;
        if (RoundRect(x, y, cx - half, std::floor(cy - 2.5 * k), cx + half, cy + half, 0) <= 0) paint(kInk);
        if (RoundRect(x, y, cx - half, cy - half, std::floor(cx + 2.5 * k), cy + half, 0) <= 0) paint(kInk);
    }
    return out;
}

namespace {

struct Pixel {
    std::array<int, 3> c;
    bool transparent;
};

// The logo's pixels at `dpi`: the plane drawn over LogoWidth(dpi) x
// LogoHeight(dpi) pixels, each sampled 8 x 8 times.
std::vector<Pixel> Render(int dpi) {
    constexpr int kSamples = 8;
    const int width = LogoWidth(dpi), height = LogoHeight(dpi);
    const double unit = dpi == kDesignDpi ? 1.0 : double(kDesignDpi) / dpi;  // plane units per pixel
    std::vector<Pixel> pixels;
    pixels.reserve(static_cast<std::size_t>(width * height));
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            Rgba sum;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Rgba s = Sample((px + (sx + 0.5) / kSamples) * unit, (py + (sy + 0.5) / kSamples) * unit);
                    sum.r += s.r, sum.g += s.g, sum.b += s.b, sum.a += s.a;
                }
            }
            const double n = kSamples * kSamples;
            const double a = sum.a / n;
            if (a < 0.3) {
                pixels.push_back({{0, 0, 0}, true});
                continue;
            }
            // Over the window face: the partly covered edge pixels.
            const Rgb c{sum.r / n + kFace.r * (1 - a), sum.g / n + kFace.g * (1 - a),
                        sum.b / n + kFace.b * (1 - a)};
            pixels.push_back({{static_cast<int>(std::lround(c.r)), static_cast<int>(std::lround(c.g)),
                               static_cast<int>(std::lround(c.b))},
                              false});
        }
    }
    return pixels;
}

using Colour = std::array<int, 3>;

int Distance(const Colour& a, const Colour& b) {
    // Weighted for the eye: green counts most, blue least.
    const int dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// Median cut on the distinct colours (weighted by use), then a few rounds
// of k-means. Deterministic: no randomness, stable orders.
std::vector<Colour> Quantize(const std::map<Colour, int>& histogram, std::size_t count) {
    struct Entry {
        Colour c;
        int n;
    };
    std::vector<Entry> all;
    for (const auto& [c, n] : histogram) all.push_back({c, n});
    if (all.size() <= count) {
        std::vector<Colour> out;
        for (const auto& e : all) out.push_back(e.c);
        return out;
    }
    std::vector<std::vector<Entry>> boxes{all};
    while (boxes.size() < count) {
        std::size_t best = 0;
        long bestScore = -1;
        int bestAxis = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].size() < 2) continue;
            for (int axis = 0; axis < 3; ++axis) {
                int lo = 255, hi = 0;
                long weight = 0;
                for (const auto& e : boxes[i]) {
                    lo = std::min(lo, e.c[axis]);
                    hi = std::max(hi, e.c[axis]);
                    weight += e.n;
                }
                const long score = static_cast<long>(hi - lo) * static_cast<long>(std::sqrt(double(weight)) * 16);
                if (score > bestScore) bestScore = score, best = i, bestAxis = axis;
            }
        }
        if (bestScore <= 0) break;
        auto& box = boxes[best];
        std::stable_sort(box.begin(), box.end(),
                         [bestAxis](const Entry& a, const Entry& b) { return a.c[bestAxis] < b.c[bestAxis]; });
        const long total = std::accumulate(box.begin(), box.end(), 0L, [](long s, const Entry& e) { return s + e.n; });
        long run = 0;
        std::size_t cut = 1;
        for (; cut < box.size() - 1; ++cut) {
            run += box[cut - 1].n;
            if (run * 2 >= total) break;
        }
        std::vector<Entry> upper(box.begin() + static_cast<std::ptrdiff_t>(cut), box.end());
        box.resize(cut);
        boxes.push_back(std::move(upper));
    }
    std::vector<Colour> palette;
    for (const auto& box : boxes) {
        double r = 0, g = 0, b = 0, n = 0;
        for (const auto& e : box) r += e.c[0] * e.n, g += e.c[1] * e.n, b += e.c[2] * e.n, n += e.n;
        palette.push_back({static_cast<int>(std::lround(r / n)), static_cast<int>(std::lround(g / n)),
                           static_cast<int>(std::lround(b / n))});
    }
    for (int round = 0; round < 8; ++round) {
        std::vector<std::array<double, 4>> acc(palette.size(), {0, 0, 0, 0});
        for (const auto& e : all) {
            std::size_t k = 0;
            for (std::size_t j = 1; j < palette.size(); ++j)
                if (Distance(e.c, palette[j]) < Distance(e.c, palette[k])) k = j;
            acc[k][0] += e.c[0] * e.n, acc[k][1] += e.c[1] * e.n, acc[k][2] += e.c[2] * e.n, acc[k][3] += e.n;
        }
        for (std::size_t j = 0; j < palette.size(); ++j)
            if (acc[j][3] > 0)
                palette[j] = {static_cast<int>(std::lround(acc[j][0] / acc[j][3])),
                              static_cast<int>(std::lround(acc[j][1] / acc[j][3])),
                              static_cast<int>(std::lround(acc[j][2] / acc[j][3]))};
    }
    return palette;
}

}  // namespace

void BuildLogo(TGIFImage& image, int dpi) {
    const std::vector<Pixel> pixels = Render(dpi);
    const int width = LogoWidth(dpi), height = LogoHeight(dpi);
    std::map<Colour, int> histogram;
    for (const Pixel& p : pixels)
        if (!p.transparent) ++histogram[p.c];
    const std::vector<Colour> palette = Quantize(histogram, kTransparentIndex);

    image.Clear();
    image.Header.Signature = {'G', 'I', 'F', '8', '9', 'a'};
    image.Header.Screen.Width = static_cast<std::uint16_t>(width);
    image.Header.Screen.Height = static_cast<std::uint16_t>(height);
    image.Header.Screen.Flags = 0x80 | 0x70 | ColorMapSizeBits(kColours);
    image.Header.Screen.BackgroundColorIndex = kTransparentIndex;
    image.Header.ColorMap.assign(kColours, TGIFColor{});
    for (std::size_t i = 0; i < palette.size(); ++i)
        image.Header.ColorMap[i] = {static_cast<std::uint8_t>(palette[i][0]),
                                    static_cast<std::uint8_t>(palette[i][1]),
                                    static_cast<std::uint8_t>(palette[i][2])};
    // Viewers that ignore transparency show the face colour.
    image.Header.ColorMap[kTransparentIndex] = {static_cast<std::uint8_t>(kFace.r),
                                                static_cast<std::uint8_t>(kFace.g),
                                                static_cast<std::uint8_t>(kFace.b)};

    auto frame = std::make_unique<TGIFFrame>();
    auto gce = std::make_unique<TGIFGraphicControlExtension>();
    gce->SetTransparent(true);
    gce->TransparentColorIndex = kTransparentIndex;
    frame->AddExtension(std::move(gce));
    frame->HasImage = true;
    frame->Descriptor.Width = static_cast<std::uint16_t>(width);
    frame->Descriptor.Height = static_cast<std::uint16_t>(height);
    frame->Pixels.reserve(pixels.size());
    for (const Pixel& p : pixels) {
        std::uint8_t index = kTransparentIndex;
        if (!p.transparent) {
            index = 0;
            for (std::size_t j = 1; j < palette.size(); ++j)
                if (Distance(p.c, palette[j]) < Distance(p.c, palette[index])) index = static_cast<std::uint8_t>(j);
        }
        frame->Pixels.push_back(index);
    }
    image.Frames.push_back(std::move(frame));
}

std::vector<std::uint8_t> LogoBytes(int dpi) {
    TGIFImage image;
    BuildLogo(image, dpi);
    return image.SaveToBytes();
}

}  // namespace srt::logo
