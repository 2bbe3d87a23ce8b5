#include "logo/icon.h"

#include <algorithm>
#include <cmath>

#include "logo/logo.h"

namespace srt::logo {

namespace {

constexpr int kSamples = 8;

std::uint32_t Pack(const Rgba& premultiplied, double alpha) {
    auto channel = [alpha](double v) {
        return static_cast<std::uint32_t>(std::clamp(std::lround(v / alpha), 0L, 255L));
    };
    const auto a = static_cast<std::uint32_t>(std::clamp(std::lround(alpha * 255), 0L, 255L));
    return a << 24 | channel(premultiplied.r) << 16 | channel(premultiplied.g) << 8 | channel(premultiplied.b);
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// One image of an .ico file: a bitmap header of twice the height, the
// colour rows and then the 1-bit mask rows (set where clear), bottom row
// first, mask rows padded to 32 bits.
std::vector<std::uint8_t> IconEntry(const IconImage& image) {
    const int n = image.size;
    const int maskStride = (n + 31) / 32 * 4;
    std::vector<std::uint8_t> out;
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(n));
    Put32(out, static_cast<std::uint32_t>(2 * n));
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, 0);   // uncompressed
    Put32(out, static_cast<std::uint32_t>(n * n * 4 + maskStride * n));
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x) Put32(out, image.pixels[static_cast<std::size_t>(y * n + x)]);
    for (int y = n - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(maskStride), 0);
        for (int x = 0; x < n; ++x)
            if (image.pixels[static_cast<std::size_t>(y * n + x)] >> 24 < 128)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

IconImage DrawIcon(int size) {
    const bool small = size < 32;
    // The logo's plane is fitted by its drawn extent (2..76 across, 2..78
    // down), centred; the reduced logo is laid out for the size itself.
    const double scale = small ? 1.0 : 76.0 / size;
    const double left = small ? 0.0 : 1.5, top = small ? 0.0 : 2.0;
    IconImage image;
    image.size = size;
    image.pixels.reserve(static_cast<std::size_t>(size * size));
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            Rgba sum;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double x = left + (px + (sx + 0.5) / kSamples) * scale;
                    const double y = top + (py + (sy + 0.5) / kSamples) * scale;
                    const Rgba s = small ? SampleSmall(x, y, size) : Sample(x, y);
                    sum.r += s.r, sum.g += s.g, sum.b += s.b, sum.a += s.a;
                }
            }
            const double n = kSamples * kSamples;
            const Rgba mean{sum.r / n, sum.g / n, sum.b / n, sum.a / n};
            std::uint32_t pixel = 0;
            if (small) {
                if (mean.a >= 0.5) pixel = Pack(mean, mean.a) | 0xFF000000u;
            } else if (mean.a >= 1.0 / 255) {
                pixel = Pack(mean, mean.a);
            }
            image.pixels.push_back(pixel);
        }
    }
    return image;
}

std::vector<std::uint8_t> IconBytes() {
    std::vector<std::vector<std::uint8_t>> entries;
    for (int size : kIconSizes) entries.push_back(IconEntry(DrawIcon(size)));
    const auto count = static_cast<std::uint32_t>(entries.size());
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, count);
    std::uint32_t offset = 6 + 16 * count;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int size = kIconSizes[i];
        out.push_back(static_cast<std::uint8_t>(size));
        out.push_back(static_cast<std::uint8_t>(size));
        out.push_back(0);  // colours: none, true colour
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<std::uint32_t>(entries[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(entries[i].size());
    }
    for (const auto& entry : entries) out.insert(out.end(), entry.begin(), entry.end());
    return out;
}

}  // namespace srt::logo
