#include "core/textlines.h"

#include <cstring>

namespace srt {

TextLineReader::TextLineReader(std::string_view bytes) : bytes_(bytes) {}

bool TextLineReader::Next(std::string_view& line) {
    if (done_) return false;
    const char* p = bytes_.data();
    std::size_t n = bytes_.size();
    const std::size_t start = pos_;
    // The CR of a CR LF ends the line and every other CR is dropped: either
    // way no CR is part of the line.
    bool loneCR = false;
    std::size_t end = n;
    LineStops<false> stops(p, start, n);
    for (std::size_t i; (i = stops.Next()) < n;) {
        if (p[i] == '\n') {
            end = i > start && p[i - 1] == '\r' ? i - 1 : i;
            pos_ = i + 1;
            break;
        }
        if (p[i] == '\r') {
            loneCR = true;
        } else {  // byte 26
            n = end = i;
            done_ = true;
        }
    }
    if (end == n) {
        done_ = true;
        if (start >= n) return false;
    }
    line = std::string_view(p + start, end - start);
    if (!loneCR) return true;
    scratch_.clear();
    for (char c : line)
        if (c != '\r') scratch_.push_back(c);
    line = scratch_;
    return true;
}

std::vector<std::string> SplitTextLines(std::string_view bytes) {
    std::vector<std::string> lines;
    TextLineReader reader(bytes);
    std::string_view line;
    while (reader.Next(line)) lines.emplace_back(line);
    return lines;
}

std::string JoinLinesCRLF(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace srt
