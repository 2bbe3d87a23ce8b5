// The one splitter for text whose lines end at CR LF: memo text, string
// lists, lines joined with CR LF and decoded. Header-only and platform-free,
// so the core and the component layer share it.
#pragma once

#include <string_view>
#include <vector>

namespace srt {

// Splits text whose lines end at CR LF (a memo's text, or lines joined by
// JoinLinesCRLF and decoded): only CR LF ends a line, a final CR LF adds no
// line, a lone CR or LF is part of its line. The views point into text.
template <class Char>
std::vector<std::basic_string_view<Char>> SplitCrLfLines(std::basic_string_view<Char> text) {
    const Char crlf[] = {Char('\r'), Char('\n')};
    const std::basic_string_view<Char> end(crlf, 2);
    std::vector<std::basic_string_view<Char>> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t cut = text.find(end, start);
        if (cut == std::basic_string_view<Char>::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, cut - start));
        start = cut + 2;
    }
    return lines;
}

}  // namespace srt
