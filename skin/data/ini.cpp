#include "skin/data/ini.h"

#include <algorithm>

namespace srt {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The text as 8-bit bytes: a UTF-8 byte-order mark is dropped, and UTF-16
// text (with its mark) becomes one byte per character, '?' for characters
// above 255, as the platform's profile reader would see it.
std::string EightBitText(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) return std::string(text.substr(3));
    const bool le = text.starts_with("\xFF\xFE"), be = text.starts_with("\xFE\xFF");
    if (!le && !be) return std::string(text);
    std::string out;
    for (std::size_t i = 2; i + 1 < text.size(); i += 2) {
        const unsigned lo = static_cast<unsigned char>(text[le ? i : i + 1]);
        const unsigned hi = static_cast<unsigned char>(text[le ? i + 1 : i]);
        out += hi == 0 ? static_cast<char>(lo) : '?';
    }
    return out;
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    } else if (!s.empty() && (s[0] == '$' || s[0] == 'x' || s[0] == 'X')) {
        base = 16;
        s.remove_prefix(1);
    }
    if (s.empty()) return std::nullopt;
    const std::int64_t limit = negative ? 0x80000000LL : 0x7FFFFFFFLL;
    std::int64_t value = 0;
    for (char c : s) {
        const int d = HexDigit(c);
        if (d < 0 || d >= base) return std::nullopt;
        value = value * base + d;
        if (value > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

TIniText::TIniText(std::string_view original) {
    const std::string bytes = EightBitText(original);
    const std::string_view text = bytes;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = Trim(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n' && (pos == end || text[pos - 1] == '\r')) ++pos;

        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            line.remove_prefix(1);
            line = Trim(line.substr(0, line.find(']')));
            sections_.push_back({std::string(line), {}});
            current = &sections_.back();
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || current == nullptr) continue;
        std::string_view value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        current->keys.push_back({std::string(Trim(line.substr(0, eq))),
                                 std::string(value.substr(0, kMaxValue))});
    }
}

std::vector<std::string> TIniText::SectionNames() const {
    std::vector<std::string> names;
    std::size_t used = 1;  // the list's closing NUL
    for (const Section& s : sections_) {
        used += s.name.size() + 1;
        if (used > kSectionListBuffer) break;
        names.push_back(s.name);
    }
    return names;
}

const TIniText::Section* TIniText::FindSection(std::string_view name) const {
    for (const Section& s : sections_)
        if (SameText(s.name, name)) return &s;
    return nullptr;
}

std::optional<std::string> TIniText::Find(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (s == nullptr) return std::nullopt;
    for (const Key& k : s->keys)
        if (SameText(k.name, key)) return k.value;
    return std::nullopt;
}

std::string TIniText::ReadString(std::string_view section, std::string_view key,
                                 std::string_view def) const {
    if (auto v = Find(section, key)) return *std::move(v);
    return std::string(def);
}

std::int32_t TIniText::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t def) const {
    const auto v = Find(section, key);
    if (!v) return def;
    return ParseIniInteger(*v).value_or(def);
}

}  // namespace srt
