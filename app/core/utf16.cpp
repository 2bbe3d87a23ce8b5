#include "core/utf16.h"

#include <cstdint>

namespace srt {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

char32_t Unit(std::string_view units, std::size_t i, ByteOrder order) {
    auto a = static_cast<unsigned char>(units[2 * i]);
    auto b = static_cast<unsigned char>(units[2 * i + 1]);
    return order == ByteOrder::LittleEndian ? char32_t(a | b << 8) : char32_t(a << 8 | b);
}

void PutUnit(std::string& out, char32_t u, ByteOrder order) {
    char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
    if (order == ByteOrder::LittleEndian) {
        out += lo;
        out += hi;
    } else {
        out += hi;
        out += lo;
    }
}

void PutUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The code point of the sequence at text[i] and its length; length 0 when
// the bytes form none. Surrogate code points are accepted: they stand for
// unpaired units.
std::size_t ReadUtf8(std::string_view text, std::size_t i, char32_t& cp) {
    auto b = static_cast<unsigned char>(text[i]);
    std::size_t n;
    char32_t min;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2, cp = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3, cp = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4, cp = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - i < n) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = cp << 6 | (c & 0x3F);
    }
    return cp >= min && cp <= 0x10FFFF ? n : 0;
}

}  // namespace

std::optional<ByteOrder> FindUtf16Mark(std::string_view bytes) {
    if (bytes.size() < 2) return std::nullopt;
    if (bytes[0] == '\xFF' && bytes[1] == '\xFE') return ByteOrder::LittleEndian;
    if (bytes[0] == '\xFE' && bytes[1] == '\xFF') return ByteOrder::BigEndian;
    return std::nullopt;
}

std::string Utf16ToUtf8(std::string_view units, ByteOrder order) {
    const std::size_t n = units.size() / 2;
    std::string out;
    out.reserve(n + n / 2);
    for (std::size_t i = 0; i < n;) {
        char32_t u = Unit(units, i++, order);
        if (u < 0x80) {
            out += static_cast<char>(u);
            continue;
        }
        if (IsHighSurrogate(u) && i < n) {
            char32_t v = Unit(units, i, order);
            if (IsLowSurrogate(v)) {
                ++i;
                u = 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00);
            }
        }
        PutUtf8(out, u);
    }
    return out;
}

std::string Utf8ToUtf16(std::string_view text, ByteOrder order) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            PutUnit(out, b, order);
            ++i;
            continue;
        }
        char32_t cp;
        std::size_t n = ReadUtf8(text, i, cp);
        if (n == 0) {
            PutUnit(out, kReplacement, order);
            ++i;
            continue;
        }
        i += n;
        if (cp < 0x10000) {
            PutUnit(out, cp, order);
        } else {
            cp -= 0x10000;
            PutUnit(out, 0xD800 + (cp >> 10), order);
            PutUnit(out, 0xDC00 + (cp & 0x3FF), order);
        }
    }
    return out;
}

std::optional<Utf16Text> DecodeUtf16File(std::string_view bytes) {
    std::optional<ByteOrder> order = FindUtf16Mark(bytes);
    if (!order) return std::nullopt;
    std::string_view units = bytes.substr(2);
    Utf16Text file;
    file.order = *order;
    file.text = Utf16ToUtf8(units, *order);
    if (units.size() % 2) file.tail = std::string(units.substr(units.size() - 1));
    return file;
}

std::string EncodeUtf16File(ByteOrder order, std::string_view text, std::string_view tail) {
    std::string out = order == ByteOrder::LittleEndian ? "\xFF\xFE" : "\xFE\xFF";
    out += Utf8ToUtf16(text, order);
    out += tail;
    return out;
}

}  // namespace srt
