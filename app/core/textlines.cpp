#include "core/textlines.h"

#include <cstring>

namespace srt {

TextLineReader::TextLineReader(std::string_view bytes) : rest_(bytes) {
    if (auto eof = rest_.find('\x1a'); eof != std::string_view::npos) rest_ = rest_.substr(0, eof);
}

bool TextLineReader::Next(std::string_view& line) {
    if (rest_.empty()) return false;
    std::string_view raw = rest_;
    if (const void* lf = std::memchr(rest_.data(), '\n', rest_.size())) {
        std::size_t length = std::size_t(static_cast<const char*>(lf) - rest_.data());
        raw = rest_.substr(0, length);
        rest_ = rest_.substr(length + 1);
    } else {
        rest_ = {};
    }
    // The CR of a CR LF ends the line and every other CR is dropped: either
    // way no CR is part of the line.
    if (std::memchr(raw.data(), '\r', raw.size()) == nullptr) {
        line = raw;
        return true;
    }
    scratch_.clear();
    for (char c : raw) {
        if (c != '\r') scratch_.push_back(c);
    }
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
