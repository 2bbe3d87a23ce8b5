#include "core/textencoding.h"

#include <algorithm>
#include <cstdint>

#include "component/utf8.h"
#include "core/textlines.h"

namespace srt {

bool IsByteEscapeAt(std::wstring_view text, std::size_t i) {
    const auto c = static_cast<std::uint32_t>(text[i]);
    if (c != kByteEscapeBase && (c < 0xDC80 || c > 0xDCFF)) return false;
    if (i == 0) return true;
    const auto before = static_cast<std::uint32_t>(text[i - 1]);
    return before < 0xD800 || before > 0xDBFF;
}

bool HasByteEscape(std::wstring_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (IsByteEscapeAt(text, i)) return true;
    return false;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t n = Utf8SequenceAt(bytes, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

TextEncoding DetectEncoding(std::string_view bytes) {
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) return TextEncoding::Utf8;
    bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return !ascii && IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Ansi;
}

}  // namespace srt
