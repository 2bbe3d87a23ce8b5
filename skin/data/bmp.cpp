#include "skin/data/bmp.h"

#include <bit>
#include <limits>
#include <vector>

namespace srt {
namespace {

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

[[noreturn]] void Invalid() { throw EInvalidBitmap(); }

// One colour channel of a BI_BITFIELDS pixel, scaled to 8 bits.
struct Channel {
    explicit Channel(std::uint32_t m) : mask(m) {
        if (mask == 0) return;
        shift = std::countr_zero(mask);
        bits = 32 - std::countl_zero(mask) - shift;
    }
    std::uint32_t operator()(std::uint32_t pixel) const {
        if (mask == 0) return 0;
        const std::uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return v >> (bits - 8);
        return v * 255 / ((1u << bits) - 1);
    }
    std::uint32_t mask;
    int shift = 0;
    int bits = 0;
};

struct Layout {
    std::int64_t width = 0, height = 0;
    bool topDown = false;
    int bpp = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t sizeImage = 0;
    std::uint32_t masks[3] = {};
    std::vector<std::uint32_t> palette;
    std::size_t dataOffset = 0;
};

Layout ReadLayout(std::span<const std::uint8_t> f) {
    constexpr std::size_t kFileHeader = 14;
    if (f.size() < kFileHeader + 12 || f[0] != 'B' || f[1] != 'M') Invalid();
    const std::uint32_t offBits = U32(&f[10]);
    const std::uint32_t headerSize = U32(&f[14]);
    const std::uint8_t* h = &f[14];
    Layout l;
    std::size_t paletteEntry = 4;
    std::uint32_t colorsUsed = 0;
    bool masksInHeader = false;

    if (headerSize == 12) {  // core header
        l.width = U16(h + 4);
        l.height = U16(h + 6);
        l.bpp = U16(h + 10);
        paletteEntry = 3;
        if (l.bpp != 1 && l.bpp != 4 && l.bpp != 8 && l.bpp != 24) Invalid();
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
               headerSize == 124) {
        if (f.size() < kFileHeader + headerSize) Invalid();
        const std::int32_t w = static_cast<std::int32_t>(U32(h + 4));
        const std::int32_t hh = static_cast<std::int32_t>(U32(h + 8));
        if (hh == std::numeric_limits<std::int32_t>::min()) Invalid();
        l.width = w;
        l.topDown = hh < 0;
        l.height = hh < 0 ? -static_cast<std::int64_t>(hh) : hh;
        l.bpp = U16(h + 14);
        l.compression = U32(h + 16);
        l.sizeImage = U32(h + 20);
        colorsUsed = U32(h + 32);
        masksInHeader = headerSize >= 52;
        if (masksInHeader)
            for (int i = 0; i < 3; ++i) l.masks[i] = U32(h + 40 + 4 * i);
    } else {
        Invalid();
    }
    if (l.width <= 0 || l.height <= 0) Invalid();

    switch (l.compression) {
        case kBiRgb:
            if (l.bpp != 1 && l.bpp != 4 && l.bpp != 8 && l.bpp != 16 && l.bpp != 24 && l.bpp != 32)
                Invalid();
            if (l.bpp == 16) {
                l.masks[0] = 0x7C00, l.masks[1] = 0x03E0, l.masks[2] = 0x001F;
            } else if (l.bpp == 32) {
                l.masks[0] = 0xFF0000, l.masks[1] = 0xFF00, l.masks[2] = 0xFF;
            }
            break;
        case kBiRle8:
            if (l.bpp != 8 || l.topDown) Invalid();
            break;
        case kBiRle4:
            if (l.bpp != 4 || l.topDown) Invalid();
            break;
        case kBiBitfields:
            if (l.bpp != 16 && l.bpp != 32) Invalid();
            break;
        default:
            Invalid();
    }

    std::size_t paletteStart = kFileHeader + headerSize;
    if (l.compression == kBiBitfields && !masksInHeader) {
        if (f.size() < paletteStart + 12) Invalid();
        for (int i = 0; i < 3; ++i) l.masks[i] = U32(&f[paletteStart + 4 * i]);
        paletteStart += 12;
    }
    if (l.bpp <= 8) {
        const std::uint32_t full = 1u << l.bpp;
        const std::uint32_t count = colorsUsed == 0 || colorsUsed > full ? full : colorsUsed;
        if (f.size() < paletteStart + count * paletteEntry) Invalid();
        l.palette.resize(full, 0);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t* e = &f[paletteStart + i * paletteEntry];
            l.palette[i] = e[0] | e[1] << 8 | e[2] << 16;
        }
        paletteStart += count * paletteEntry;
    }
    if (offBits != 0) {
        if (offBits < kFileHeader + headerSize || offBits > f.size()) Invalid();
        l.dataOffset = offBits;
    } else {
        l.dataOffset = paletteStart;
    }
    return l;
}

void DecodeRgb(std::span<const std::uint8_t> f, const Layout& l, TBitmap& image) {
    const std::uint64_t stride = (static_cast<std::uint64_t>(l.width) * l.bpp + 31) / 32 * 4;
    if (stride * static_cast<std::uint64_t>(l.height) > f.size() - l.dataOffset) Invalid();
    const Channel r(l.masks[0]), g(l.masks[1]), b(l.masks[2]);
    const int w = static_cast<int>(l.width);
    for (int y = 0; y < l.height; ++y) {
        const std::uint8_t* src = &f[l.dataOffset + stride * y];
        std::uint32_t* dst = image.ScanLine(l.topDown ? y : static_cast<int>(l.height) - 1 - y);
        switch (l.bpp) {
            case 1:
                for (int x = 0; x < w; ++x) dst[x] = l.palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                for (int x = 0; x < w; ++x) dst[x] = l.palette[(src[x >> 1] >> (x & 1 ? 0 : 4)) & 15];
                break;
            case 8:
                for (int x = 0; x < w; ++x) dst[x] = l.palette[src[x]];
                break;
            case 16:
                for (int x = 0; x < w; ++x) {
                    const std::uint32_t p = U16(src + 2 * x);
                    dst[x] = b(p) | g(p) << 8 | r(p) << 16;
                }
                break;
            case 24:
                for (int x = 0; x < w; ++x, src += 3) dst[x] = src[0] | src[1] << 8 | src[2] << 16;
                break;
            case 32:
                for (int x = 0; x < w; ++x) {
                    const std::uint32_t p = U32(src + 4 * x);
                    dst[x] = b(p) | g(p) << 8 | r(p) << 16;
                }
                break;
        }
    }
}

// RLE8 and RLE4, bottom-up. Pixels the stream skips stay black. The stream
// may end between commands (as if by end of bitmap), never inside one.
void DecodeRle(std::span<const std::uint8_t> f, const Layout& l, TBitmap& image) {
    std::size_t end = f.size();
    if (l.sizeImage != 0) {
        if (l.sizeImage > f.size() - l.dataOffset) Invalid();
        end = l.dataOffset + l.sizeImage;
    }
    const bool four = l.compression == kBiRle4;
    const std::int64_t w = l.width, h = l.height;
    std::int64_t x = 0, y = 0;
    auto put = [&](std::uint32_t index) {
        if (x < w && y < h) image.ScanLine(static_cast<int>(h - 1 - y))[x] = l.palette[index];
        ++x;
    };
    std::size_t pos = l.dataOffset;
    while (pos < end && y < h) {
        if (end - pos < 2) Invalid();
        const unsigned n = f[pos], c = f[pos + 1];
        pos += 2;
        if (n > 0) {
            // Runs are clipped at the row's end.
            for (unsigned i = 0; i < n && x < w; ++i) put(four ? (i & 1 ? c & 15 : c >> 4) : c);
            continue;
        }
        if (c == 0) {
            x = 0;
            ++y;
        } else if (c == 1) {
            break;
        } else if (c == 2) {
            if (end - pos < 2) Invalid();
            x += f[pos];
            y += f[pos + 1];
            pos += 2;
        } else {
            const std::size_t bytes = four ? (c + 1) / 2 : c;
            const std::size_t padded = (bytes + 1) & ~std::size_t{1};
            if (end - pos < padded) Invalid();
            for (unsigned i = 0; i < c; ++i) {
                const unsigned byte = f[pos + (four ? i / 2 : i)];
                put(four ? (i & 1 ? byte & 15 : byte >> 4) : byte);
            }
            pos += padded;
        }
    }
}

}  // namespace

TBitmap ReadBmp(std::span<const std::uint8_t> file, std::uint64_t maxPixels) {
    const Layout l = ReadLayout(file);
    if (static_cast<std::uint64_t>(l.width) * static_cast<std::uint64_t>(l.height) > maxPixels ||
        l.width > std::numeric_limits<std::int32_t>::max() || l.height > std::numeric_limits<std::int32_t>::max())
        Invalid();
    TBitmap image(static_cast<int>(l.width), static_cast<int>(l.height));
    if (image.Empty()) Invalid();  // the platform could not make it
    if (l.compression == kBiRle8 || l.compression == kBiRle4)
        DecodeRle(file, l, image);
    else
        DecodeRgb(file, l, image);
    return image;
}

std::vector<std::uint8_t> WriteBmp24(const TBitmap& image) {
    const std::uint32_t w = static_cast<std::uint32_t>(image.Width());
    const std::uint32_t h = static_cast<std::uint32_t>(image.Height());
    const std::uint32_t stride = (w * 3 + 3) & ~3u;
    const std::uint32_t dataSize = stride * h;
    std::vector<std::uint8_t> out;
    auto u16 = [&](std::uint32_t v) { out.push_back(v & 0xFF), out.push_back((v >> 8) & 0xFF); };
    auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
    out.push_back('B'), out.push_back('M');
    u32(54 + dataSize), u32(0), u32(54);
    u32(40), u32(w), u32(h), u16(1), u16(24), u32(kBiRgb), u32(dataSize), u32(2835), u32(2835), u32(0), u32(0);
    for (std::uint32_t y = h; y-- > 0;) {
        const std::uint32_t* row = image.ScanLine(static_cast<int>(y));
        for (std::uint32_t x = 0; x < w; ++x) {
            out.push_back(row[x] & 0xFF);
            out.push_back((row[x] >> 8) & 0xFF);
            out.push_back((row[x] >> 16) & 0xFF);
        }
        out.resize(out.size() + (stride - w * 3), 0);
    }
    return out;
}

}  // namespace srt
