#include "textcodec.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "component/utf8.h"

namespace srt {
namespace {

constexpr wchar_t kEscapeBase = kByteEscapeBase;

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
    if (utf && WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr) <= 0)
        usedDefault = TRUE;  // an unpaired surrogate
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
        if (!w.empty() && w.size() <= 2 && Narrow(w, codePage, &lossy) == unit && !lossy && !HasByteEscape(w)) {
            out += w;
            i += len;
        } else {
            out += static_cast<wchar_t>(kEscapeBase + static_cast<unsigned char>(bytes[i]));
            ++i;
        }
    }
    return out;
}

// The text when every byte decodes and the text encodes back to the same
// bytes; none otherwise.
std::optional<std::wstring> DecodeAnsiWhole(std::string_view bytes, UINT codePage) {
    std::wstring w = Widen(bytes, codePage, MB_ERR_INVALID_CHARS);
    if (w.empty() && !bytes.empty()) return std::nullopt;
    bool lossy = false;
    if (HasByteEscape(w) || Narrow(w, codePage, &lossy) != bytes || lossy) return std::nullopt;
    return w;
}

}  // namespace

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
    if (std::optional<std::wstring> w = DecodeAnsiWhole(bytes, codePage)) return EscapeNul(std::move(*w));
    // Else line by line (an LF never ends a character), so that only the
    // lines that need it go character by character.
    std::wstring out;
    out.reserve(bytes.size());
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t lf = bytes.find('\n', start);
        const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf + 1;
        const std::string_view piece = bytes.substr(start, end - start);
        if (std::optional<std::wstring> w = DecodeAnsiWhole(piece, codePage)) {
            out += *w;
        } else {
            out += DecodeAnsiSlow(piece, codePage);
        }
        start = end;
    }
    return EscapeNul(std::move(out));
}

std::string EncodeText(std::wstring_view text, TextEncoding encoding, UINT codePage, bool* lossy) {
    if (lossy) *lossy = false;
    UINT cp = encoding == TextEncoding::Utf8 ? CP_UTF8 : (codePage == CP_ACP ? GetACP() : codePage);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t start = i;
        while (i < text.size() && !IsByteEscapeAt(text, i)) ++i;
        out += Narrow(text.substr(start, i - start), cp, lossy);
        while (i < text.size() && IsByteEscapeAt(text, i)) out += static_cast<char>(text[i++] - kEscapeBase);
    }
    return out;
}

std::wstring WindowsTextCodec::Decode(std::string_view bytes, TextEncoding encoding) const {
    return DecodeText(bytes, encoding, codePage_);
}

bool WindowsTextCodec::Encode(std::wstring_view text, TextEncoding encoding, std::string& bytes) const {
    bool lossy = false;
    bytes = EncodeText(text, encoding, codePage_, &lossy);
    return !lossy;
}

std::string WindowsTextCodec::Name(TextEncoding encoding) const {
    if (encoding == TextEncoding::Utf8) return "UTF-8";
    return "code page " + std::to_string(codePage_ == CP_ACP ? GetACP() : codePage_);
}

}  // namespace srt
