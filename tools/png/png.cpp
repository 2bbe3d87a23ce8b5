#include "tools/png/png.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

namespace srt::png {
namespace {

// ---- checksums -------------------------------------------------------------

std::uint32_t Crc(const std::uint8_t* data, std::size_t n) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler(const std::uint8_t* data, std::size_t n) {
    std::uint32_t a = 1, b = 0;
    for (std::size_t i = 0; i < n; ++i) {
        a = (a + data[i]) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

std::uint32_t Get32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// ---- the deflate tables ----------------------------------------------------

constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> kDistBase = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                                     33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                                     1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> kDistExtra = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                                     6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// ---- deflate: fixed Huffman codes, LZ77 over a hash chain ------------------

class TBitWriter {
public:
    explicit TBitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    // `count` bits of `value`, lowest first.
    void Bits(std::uint32_t value, int count) {
        buffer_ |= value << used_;
        used_ += count;
        while (used_ >= 8) {
            out_.push_back(static_cast<std::uint8_t>(buffer_));
            buffer_ >>= 8;
            used_ -= 8;
        }
    }
    // A Huffman code: its first bit is its highest.
    void Code(std::uint32_t code, int length) {
        std::uint32_t reversed = 0;
        for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1) << (length - 1 - i);
        Bits(reversed, length);
    }
    void Flush() {
        if (used_ > 0) out_.push_back(static_cast<std::uint8_t>(buffer_));
        buffer_ = 0;
        used_ = 0;
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint32_t buffer_ = 0;
    int used_ = 0;
};

void FixedSymbol(TBitWriter& w, int symbol) {
    if (symbol < 144) w.Code(0x30 + symbol, 8);
    else if (symbol < 256) w.Code(0x190 + symbol - 144, 9);
    else if (symbol < 280) w.Code(symbol - 256, 7);
    else w.Code(0xC0 + symbol - 280, 8);
}

void FixedMatch(TBitWriter& w, int length, int distance) {
    int l = 28;
    while (kLengthBase[l] > length) --l;
    FixedSymbol(w, 257 + l);
    w.Bits(length - kLengthBase[l], kLengthExtra[l]);
    int d = 29;
    while (kDistBase[d] > distance) --d;
    w.Code(d, 5);
    w.Bits(distance - kDistBase[d], kDistExtra[d]);
}

constexpr int kWindow = 32768, kMinMatch = 3, kMaxMatch = 258, kChain = 48;
constexpr int kHashBits = 15;

int Hash(const std::uint8_t* p) {
    const std::uint32_t v = std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
    return static_cast<int>((v * 2654435761u) >> (32 - kHashBits));
}

}  // namespace

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> out = {0x78, 0x01};
    TBitWriter w(out);
    w.Bits(1, 1);  // the last block
    w.Bits(1, 2);  // fixed Huffman codes
    const int n = static_cast<int>(data.size());
    std::vector<int> head(1 << kHashBits, -1), prev(kWindow, -1);
    auto insert = [&](int i) {
        if (i + kMinMatch > n) return;
        const int h = Hash(&data[i]);
        prev[i & (kWindow - 1)] = head[h];
        head[h] = i;
    };
    int i = 0;
    while (i < n) {
        int bestLength = 0, bestDistance = 0;
        if (i + kMinMatch <= n) {
            const int limit = std::min(kMaxMatch, n - i);
            int candidate = head[Hash(&data[i])];
            for (int chain = 0; candidate >= 0 && i - candidate <= kWindow && chain < kChain; ++chain) {
                int length = 0;
                while (length < limit && data[candidate + length] == data[i + length]) ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = i - candidate;
                    if (length == limit) break;
                }
                const int next = prev[candidate & (kWindow - 1)];
                if (next >= candidate) break;  // a slot reused by a newer position
                candidate = next;
            }
        }
        if (bestLength >= kMinMatch) {
            FixedMatch(w, bestLength, bestDistance);
            for (int k = 0; k < bestLength; ++k) insert(i + k);
            i += bestLength;
        } else {
            FixedSymbol(w, data[i]);
            insert(i);
            ++i;
        }
    }
    FixedSymbol(w, 256);
    w.Flush();
    Put32(out, Adler(data.data(), data.size()));
    return out;
}

// ---- inflate ---------------------------------------------------------------

namespace {

constexpr int kMaxBits = 15;

// A canonical Huffman code: how many codes of each length, and the symbols
// in code order.
struct THuffman {
    std::array<std::uint16_t, kMaxBits + 1> count{};
    std::vector<std::uint16_t> symbol;
};

// False when the lengths over-subscribe the code. An incomplete code is
// allowed (a single distance code is); reading an unused code fails later.
bool Build(THuffman& h, const std::uint8_t* lengths, int n) {
    h.count.fill(0);
    h.symbol.assign(n, 0);
    for (int s = 0; s < n; ++s) ++h.count[lengths[s]];
    int left = 1;
    for (int len = 1; len <= kMaxBits; ++len) {
        left = left * 2 - h.count[len];
        if (left < 0) return false;
    }
    std::array<int, kMaxBits + 2> offset{};
    for (int len = 1; len <= kMaxBits; ++len) offset[len + 1] = offset[len] + h.count[len];
    for (int s = 0; s < n; ++s)
        if (lengths[s] != 0) h.symbol[offset[lengths[s]]++] = static_cast<std::uint16_t>(s);
    return true;
}

class TInflater {
public:
    TInflater(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out, std::size_t limit)
        : in_(data), size_(size), out_(out), limit_(limit) {}

    bool Run(std::string& error) {
        if (size_ < 6) return Fail(error, "zlib stream too short");
        if ((in_[0] & 0x0F) != 8 || (in_[0] >> 4) > 7 || ((in_[0] << 8) | in_[1]) % 31 != 0)
            return Fail(error, "bad zlib header");
        if (in_[1] & 0x20) return Fail(error, "zlib preset dictionary not supported");
        pos_ = 2;
        int last = 0;
        do {
            last = Bits(1);
            const int type = Bits(2);
            bool ok = false;
            if (type == 0) ok = Stored(error);
            else if (type == 1) ok = Fixed(error);
            else if (type == 2) ok = Dynamic(error);
            else return Fail(error, "bad deflate block type");
            if (!ok) return false;
            if (overrun_) return Fail(error, "deflate stream truncated");
        } while (!last);
        if (pos_ + 4 > size_) return Fail(error, "zlib checksum missing");
        if (Get32(in_ + pos_) != Adler(out_.data(), out_.size())) return Fail(error, "zlib checksum mismatch");
        return true;
    }

private:
    static bool Fail(std::string& error, const char* what) {
        error = what;
        return false;
    }

    int Bits(int need) {
        std::uint32_t value = bitBuffer_;
        while (bitCount_ < need) {
            if (pos_ >= size_) {
                overrun_ = true;
                return 0;
            }
            value |= std::uint32_t{in_[pos_++]} << bitCount_;
            bitCount_ += 8;
        }
        bitBuffer_ = value >> need;
        bitCount_ -= need;
        return static_cast<int>(value & ((1u << need) - 1));
    }

    // The next symbol of `h`, or -1.
    int Decode(const THuffman& h) {
        int code = 0, first = 0, index = 0;
        for (int len = 1; len <= kMaxBits; ++len) {
            code |= Bits(1);
            if (overrun_) return -1;
            const int count = h.count[len];
            if (code - count < first) return h.symbol[index + (code - first)];
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        return -1;
    }

    bool Stored(std::string& error) {
        bitBuffer_ = 0;
        bitCount_ = 0;
        if (pos_ + 4 > size_) return Fail(error, "deflate stream truncated");
        const unsigned length = in_[pos_] | in_[pos_ + 1] << 8;
        const unsigned check = in_[pos_ + 2] | in_[pos_ + 3] << 8;
        pos_ += 4;
        if (length != (~check & 0xFFFFu)) return Fail(error, "bad stored block length");
        if (pos_ + length > size_) return Fail(error, "deflate stream truncated");
        if (out_.size() + length > limit_) return Fail(error, "inflated data too large");
        out_.insert(out_.end(), in_ + pos_, in_ + pos_ + length);
        pos_ += length;
        return true;
    }

    bool Codes(const THuffman& lengths, const THuffman& distances, std::string& error) {
        for (;;) {
            int symbol = Decode(lengths);
            if (symbol < 0) return Fail(error, overrun_ ? "deflate stream truncated" : "bad literal/length code");
            if (symbol < 256) {
                if (out_.size() >= limit_) return Fail(error, "inflated data too large");
                out_.push_back(static_cast<std::uint8_t>(symbol));
                continue;
            }
            if (symbol == 256) return true;
            symbol -= 257;
            if (symbol >= 29) return Fail(error, "bad length code");
            const std::size_t length = kLengthBase[symbol] + Bits(kLengthExtra[symbol]);
            const int d = Decode(distances);
            if (d < 0 || d >= 30) return Fail(error, overrun_ ? "deflate stream truncated" : "bad distance code");
            const std::size_t distance = kDistBase[d] + Bits(kDistExtra[d]);
            if (overrun_) return Fail(error, "deflate stream truncated");
            if (distance > out_.size()) return Fail(error, "distance before the start of the data");
            if (out_.size() + length > limit_) return Fail(error, "inflated data too large");
            const std::size_t from = out_.size() - distance;
            for (std::size_t k = 0; k < length; ++k) out_.push_back(out_[from + k]);
        }
    }

    bool Fixed(std::string& error) {
        std::array<std::uint8_t, 288 + 30> lengths{};
        for (int s = 0; s < 288; ++s) lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
        for (int s = 0; s < 30; ++s) lengths[288 + s] = 5;
        THuffman literal, distance;
        Build(literal, lengths.data(), 288);
        Build(distance, lengths.data() + 288, 30);
        return Codes(literal, distance, error);
    }

    bool Dynamic(std::string& error) {
        static constexpr std::array<std::uint8_t, 19> kOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                                11, 4,  12, 3, 13, 2, 14, 1, 15};
        const int nlen = Bits(5) + 257, ndist = Bits(5) + 1, ncode = Bits(4) + 4;
        if (overrun_) return Fail(error, "deflate stream truncated");
        if (nlen > 286 || ndist > 30) return Fail(error, "bad dynamic block counts");
        std::array<std::uint8_t, 320> lengths{};
        for (int k = 0; k < ncode; ++k) lengths[kOrder[k]] = static_cast<std::uint8_t>(Bits(3));
        THuffman code;
        if (!Build(code, lengths.data(), 19)) return Fail(error, "bad code length code");
        lengths.fill(0);
        int k = 0;
        while (k < nlen + ndist) {
            int symbol = Decode(code);
            if (symbol < 0) return Fail(error, overrun_ ? "deflate stream truncated" : "bad code length");
            if (symbol < 16) {
                lengths[k++] = static_cast<std::uint8_t>(symbol);
                continue;
            }
            int repeat = 0;
            std::uint8_t value = 0;
            if (symbol == 16) {
                if (k == 0) return Fail(error, "repeat with no previous length");
                value = lengths[k - 1];
                repeat = 3 + Bits(2);
            } else if (symbol == 17) {
                repeat = 3 + Bits(3);
            } else {
                repeat = 11 + Bits(7);
            }
            if (k + repeat > nlen + ndist) return Fail(error, "too many code lengths");
            while (repeat--) lengths[k++] = value;
        }
        if (lengths[256] == 0) return Fail(error, "no end-of-block code");
        THuffman literal, distance;
        if (!Build(literal, lengths.data(), nlen)) return Fail(error, "bad literal/length lengths");
        if (!Build(distance, lengths.data() + nlen, ndist)) return Fail(error, "bad distance lengths");
        return Codes(literal, distance, error);
    }

    const std::uint8_t* in_;
    std::size_t size_;
    std::size_t pos_ = 0;
    std::vector<std::uint8_t>& out_;
    std::size_t limit_;
    std::uint32_t bitBuffer_ = 0;
    int bitCount_ = 0;
    bool overrun_ = false;
};

bool InflateLimited(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out, std::size_t limit,
                    std::string& error) {
    out.clear();
    return TInflater(data, size, out, limit).Run(error);
}

// ---- PNG rows ---------------------------------------------------------------

int Paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

void Chunk(std::vector<std::uint8_t>& out, std::string_view type, const std::vector<std::uint8_t>& data) {
    Put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    Put32(out, Crc(out.data() + start, out.size() - start));
}

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

}  // namespace

bool Inflate(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out, std::string& error) {
    return InflateLimited(data, size, out, std::size_t{1} << 30, error);
}

std::vector<std::uint8_t> EncodePng(const TImage& image) {
    const std::size_t stride = static_cast<std::size_t>(image.width) * 3;
    std::vector<std::uint8_t> raw, previous(stride, 0), row(stride), sub(stride), up(stride);
    raw.reserve((stride + 1) * image.height);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.At(x, y);
            row[x * 3] = static_cast<std::uint8_t>(p >> 16);
            row[x * 3 + 1] = static_cast<std::uint8_t>(p >> 8);
            row[x * 3 + 2] = static_cast<std::uint8_t>(p);
        }
        // The filter whose bytes lie nearer zero compresses better.
        long subCost = 0, upCost = 0;
        for (std::size_t i = 0; i < stride; ++i) {
            sub[i] = static_cast<std::uint8_t>(row[i] - (i >= 3 ? row[i - 3] : 0));
            up[i] = static_cast<std::uint8_t>(row[i] - previous[i]);
            subCost += std::abs(static_cast<std::int8_t>(sub[i]));
            upCost += std::abs(static_cast<std::int8_t>(up[i]));
        }
        const bool useUp = upCost <= subCost;
        raw.push_back(useUp ? 2 : 1);
        raw.insert(raw.end(), useUp ? up.begin() : sub.begin(), useUp ? up.end() : sub.end());
        previous.swap(row);
    }

    std::vector<std::uint8_t> out(std::begin(kSignature), std::end(kSignature));
    std::vector<std::uint8_t> header;
    Put32(header, static_cast<std::uint32_t>(image.width));
    Put32(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, filtered, not interlaced
    Chunk(out, "IHDR", header);
    Chunk(out, "IDAT", Deflate(raw));
    Chunk(out, "IEND", {});
    return out;
}

bool DecodePng(const std::vector<std::uint8_t>& png, TImage& image, std::string& error) {
    if (png.size() < 8 || !std::equal(std::begin(kSignature), std::end(kSignature), png.begin())) {
        error = "not a PNG file";
        return false;
    }
    std::uint32_t width = 0, height = 0;
    int depth = 0, colour = -1;
    std::vector<std::uint8_t> palette, compressed;
    bool ended = false;
    for (std::size_t pos = 8; !ended;) {
        if (png.size() - pos < 12) {
            error = "PNG truncated";
            return false;
        }
        const std::uint32_t length = Get32(&png[pos]);
        if (length > png.size() - pos - 12) {
            error = "PNG chunk runs past the end of the file";
            return false;
        }
        const std::string_view type(reinterpret_cast<const char*>(&png[pos + 4]), 4);
        const std::uint8_t* data = &png[pos + 8];
        if (Crc(&png[pos + 4], length + 4) != Get32(data + length)) {
            error = "PNG chunk CRC mismatch";
            return false;
        }
        if (type == "IHDR") {
            if (length != 13) {
                error = "bad IHDR";
                return false;
            }
            width = Get32(data);
            height = Get32(data + 4);
            depth = data[8];
            colour = data[9];
            if (data[10] != 0 || data[11] != 0) {
                error = "unknown PNG compression or filter method";
                return false;
            }
            if (data[12] != 0) {
                error = "interlaced PNG not supported";
                return false;
            }
        } else if (type == "PLTE") {
            palette.assign(data, data + length);
        } else if (type == "IDAT") {
            compressed.insert(compressed.end(), data, data + length);
        } else if (type == "IEND") {
            ended = true;
        }
        pos += 12 + static_cast<std::size_t>(length);
    }

    int channels = 0;
    switch (colour) {
    case 0: channels = 1; break;
    case 2: channels = 3; break;
    case 3: channels = 1; break;
    case 4: channels = 2; break;
    case 6: channels = 4; break;
    default: error = "missing IHDR or unknown PNG colour type"; return false;
    }
    const bool depthOk = colour == 0   ? (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16)
                         : colour == 3 ? (depth == 1 || depth == 2 || depth == 4 || depth == 8)
                                       : (depth == 8 || depth == 16);
    if (!depthOk) {
        error = "bad PNG bit depth";
        return false;
    }
    if (width == 0 || height == 0 || width > 1u << 14 || height > 1u << 14) {
        error = "PNG size out of range";
        return false;
    }
    if (colour == 3 && (palette.empty() || palette.size() % 3 != 0)) {
        error = "palette PNG without a good palette";
        return false;
    }

    const std::size_t bitsPerPixel = static_cast<std::size_t>(channels) * depth;
    const std::size_t stride = (width * bitsPerPixel + 7) / 8;
    const std::size_t bpp = std::max<std::size_t>(1, bitsPerPixel / 8);
    const std::size_t expected = (stride + 1) * height;
    std::vector<std::uint8_t> raw;
    if (!InflateLimited(compressed.data(), compressed.size(), raw, expected, error)) return false;
    if (raw.size() != expected) {
        error = "PNG image data has the wrong size";
        return false;
    }

    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.assign(static_cast<std::size_t>(width) * height, 0);
    std::vector<std::uint8_t> previous(stride, 0);
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint8_t* row = &raw[y * (stride + 1) + 1];
        const int filter = row[-1];
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= bpp ? row[i - bpp] : 0, b = previous[i], c = i >= bpp ? previous[i - bpp] : 0;
            int predictor = 0;
            switch (filter) {
            case 0: break;
            case 1: predictor = a; break;
            case 2: predictor = b; break;
            case 3: predictor = (a + b) / 2; break;
            case 4: predictor = Paeth(a, b, c); break;
            default: error = "bad PNG row filter"; return false;
            }
            row[i] = static_cast<std::uint8_t>(row[i] + predictor);
        }
        // Sample k of the row, scaled to 8 bits.
        auto sample = [&](std::size_t k) -> unsigned {
            if (depth == 8) return row[k];
            if (depth == 16) return row[k * 2];
            const std::size_t bit = k * depth;
            const unsigned v = (row[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
            return colour == 3 ? v : v * 255 / ((1u << depth) - 1);
        };
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint32_t r = 0, g = 0, b = 0;
            const std::size_t k = static_cast<std::size_t>(x) * channels;
            if (colour == 3) {
                const unsigned index = depth == 8 ? row[x] : sample(x);
                if (index * 3 + 2 >= palette.size()) {
                    error = "PNG palette index out of range";
                    return false;
                }
                r = palette[index * 3], g = palette[index * 3 + 1], b = palette[index * 3 + 2];
            } else if (channels <= 2) {
                r = g = b = sample(k);
            } else {
                r = sample(k), g = sample(k + 1), b = sample(k + 2);
            }
            image.pixels[static_cast<std::size_t>(y) * width + x] = r << 16 | g << 8 | b;
        }
        previous.assign(row, row + stride);
    }
    return true;
}

}  // namespace srt::png
