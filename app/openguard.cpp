#include "openguard.h"

#include <algorithm>
#include <cstring>

#include "core/sniff.h"
#include "core/utf16.h"
#include "texts.h"

namespace srt::app {

std::optional<TOverlongLine> FindOverlongLine(std::string_view text, std::size_t limit) {
    text = text.substr(0, text.find('\x1A'));
    std::size_t line = 1;
    while (!text.empty()) {
        const auto* lf = static_cast<const char*>(std::memchr(text.data(), '\n', text.size()));
        const std::size_t length = lf ? static_cast<std::size_t>(lf - text.data()) : text.size();
        // A line no longer in bytes than the limit cannot be longer in characters.
        if (length > limit) {
            const std::string_view bytes = text.substr(0, length);
            const auto characters = static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(), [](char c) {
                return (static_cast<unsigned char>(c) & 0xC0) != 0x80 && c != '\r';
            }));
            if (characters > limit) return TOverlongLine{line, characters};
        }
        if (!lf) break;
        text.remove_prefix(length + 1);
        ++line;
    }
    return std::nullopt;
}

std::optional<std::wstring> OpenRefusal(std::string_view file, TLanguage language) {
    std::optional<TOverlongLine> overlong;
    if (std::optional<Utf16Text> utf16 = DecodeUtf16File(file)) {
        overlong = FindOverlongLine(utf16->text);
    } else if (std::optional<ByteOrder> order = FindUnmarkedUtf16(file.substr(0, std::size_t(1) << 16))) {
        overlong = FindOverlongLine(Utf16ToUtf8(file, *order));
    } else {
        overlong = FindOverlongLine(file);
    }
    if (overlong)
        return texts::Fill(texts::kLineTooLong.In(language), {{L"line", std::to_wstring(overlong->line)},
                                                              {L"length", std::to_wstring(overlong->characters)}});
    // An empty file adds nothing, and is no harm.
    if (!file.empty() && !HoldsSubtitleTiming(file)) return std::wstring(texts::kNoTimeLine.In(language));
    return std::nullopt;
}

}  // namespace srt::app
