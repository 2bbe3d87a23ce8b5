#include "textcodec.h"

#include <algorithm>
#include <cstdint>

#include "component/utf8.h"

namespace srt {
namespace {

constexpr wchar_t kEscapeBase = 0xDC00;

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// An escaped byte: U+DC00 (NUL) or U+DC80..U+DCFF, unless it ends a pair.
bool IsEscapeAt(std::wstring_view s, std::size_t i) {
    wchar_t c = s[i];
    if (c != kEscapeBase && (c < 0xDC80 || c > 0xDCFF)) return false;
    return i == 0 || !IsHighSurrogate(s[i - 1]);
}

bool HasEscape(std::wstring_view s) {
    for (std::size_t i = 0; i < s.size(); ++i)
        if (IsEscapeAt(s, i)) return true;
    return false;
}

// NUL would end the text in the memo.
std::wstring EscapeNul(std::wstring text) {
    std::replace(text.begin(), text.end(), L'\0', kEscapeBase);
    return text;
}


std::wstring Widen(std::string_view bytes, UINT codePage, DWORD flags) {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

// Encodes text that holds no escapes; `lossy` tells whether the code page
// lacked a character.
std::string Narrow(std::wstring_view text, UINT codePage, bool* lossy) {
    if (text.empty()) return {};
    BOOL usedDefault = FALSE;
    bool utf = codePage == CP_UTF8;
    DWORD flags = utf ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* used = utf ? nullptr : &usedDefault;
    int n = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, used);
    std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, used);
    if (lossy && usedDefault) *lossy = true;
    return out;
}

// Character by character: every unit that decodes and encodes back to the
// same bytes is kept, every other byte is escaped.
std::wstring DecodeAnsiSlow(std::string_view bytes, UINT codePage) {
    std::wstring out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t len = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
        std::string_view unit = bytes.substr(i, len);
        std::wstring w = Widen(unit, codePage, MB_ERR_INVALID_CHARS);
        bool lossy = false;
        if (!w.empty() && w.size() <= 2 && Narrow(w, codePage, &lossy) == unit && !lossy && !HasEscape(w)) {
            out += w;
            i += len;
        } else {
            out += static_cast<wchar_t>(kEscapeBase + static_cast<unsigned char>(bytes[i]));
            ++i;
        }
    }
    return out;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t n = Utf8SequenceAt(bytes, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

TextEncoding DetectEncoding(std::string_view bytes) {
    bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return !ascii && IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Ansi;
}

std::wstring DecodeText(std::string_view bytes, TextEncoding encoding, UINT codePage) {
    if (encoding == TextEncoding::Utf8) {
        std::wstring out;
        out.reserve(bytes.size());
        // Valid runs in one call each; bytes outside them are escaped.
        for (std::size_t i = 0; i < bytes.size();) {
            std::size_t start = i;
            while (i < bytes.size()) {
                std::size_t n = Utf8SequenceAt(bytes, i);
                if (n == 0) break;
                i += n;
            }
            out += Widen(bytes.substr(start, i - start), CP_UTF8, 0);
            if (i < bytes.size()) out += static_cast<wchar_t>(kEscapeBase + static_cast<unsigned char>(bytes[i++]));
        }
        return EscapeNul(std::move(out));
    }
    if (codePage == CP_ACP) codePage = GetACP();
    // Fast path: the whole text decodes and encodes back to itself.
    std::wstring w = Widen(bytes, codePage, MB_ERR_INVALID_CHARS);
    if (!w.empty() || bytes.empty()) {
        bool lossy = false;
        if (!HasEscape(w) && Narrow(w, codePage, &lossy) == bytes && !lossy) return EscapeNul(std::move(w));
    }
    return EscapeNul(DecodeAnsiSlow(bytes, codePage));
}

std::string EncodeText(std::wstring_view text, TextEncoding encoding, UINT codePage, bool* lossy) {
    if (lossy) *lossy = false;
    UINT cp = encoding == TextEncoding::Utf8 ? CP_UTF8 : (codePage == CP_ACP ? GetACP() : codePage);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t start = i;
        while (i < text.size() && !IsEscapeAt(text, i)) ++i;
        out += Narrow(text.substr(start, i - start), cp, lossy);
        while (i < text.size() && IsEscapeAt(text, i)) out += static_cast<char>(text[i++] - kEscapeBase);
    }
    return out;
}

}  // namespace srt
