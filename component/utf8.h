// Well-formed UTF-8, for the text readers and writers of the component layer
// and of the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Length of the well-formed UTF-8 sequence at s[i], 0 when the bytes there
// form none (overlong forms, surrogates and values above U+10FFFF included).
// Stores its code point in *cp when given.
inline std::size_t Utf8SequenceAt(std::string_view s, std::size_t i, char32_t* cp = nullptr) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        if (cp) *cp = b;
        return 1;
    }
    std::size_t n;
    char32_t v;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2, v = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3, v = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4, v = b & 0x07;
    } else {
        return 0;
    }
    if (s.size() - i < n) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        v = v << 6 | (c & 0x3F);
    }
    if ((n == 3 && v < 0x800) || (n == 4 && (v < 0x10000 || v > 0x10FFFF)) || (v >= 0xD800 && v <= 0xDFFF))
        return 0;
    if (cp) *cp = v;
    return n;
}
