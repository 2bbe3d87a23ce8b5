#include "core/sniff.h"

namespace srt {
namespace {

constexpr std::string_view kArrow = "-->";
constexpr std::size_t kLookBack = 64;

// The unit at byte i in order: 16 bits, or -1 past the end.
long UnitAt(std::string_view bytes, std::size_t i, ByteOrder order) {
    if (i + 1 >= bytes.size()) return -1;
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return order == ByteOrder::LittleEndian ? long(a | b << 8) : long(b | a << 8);
}

// Whether the arrow's three units start at byte at (even), preceded on their
// line by printable ASCII units only (tab allowed), at least one of them;
// kLookBack units back are enough.
bool Utf16TimeLineAt(std::string_view bytes, std::size_t at, ByteOrder order) {
    for (std::size_t k = 0; k < kArrow.size(); ++k)
        if (UnitAt(bytes, at + 2 * k, order) != static_cast<unsigned char>(kArrow[k])) return false;
    std::size_t before = 0;
    for (std::size_t i = at; i >= 2 && before < kLookBack; i -= 2) {
        const long unit = UnitAt(bytes, i - 2, order);
        if (unit == '\n' || unit == '\r') break;
        if (unit != '\t' && (unit < 0x20 || unit > 0x7E)) return false;
        ++before;
    }
    return before > 0;
}

}  // namespace

std::optional<ByteOrder> FindUnmarkedUtf16(std::string_view bytes) {
    if (FindUtf16Mark(bytes)) return std::nullopt;
    const std::size_t eightBit = bytes.find(kArrow);
    const std::string_view scope = bytes.substr(0, eightBit);
    // The arrow's first unit: "-" then 0 (little end) or 0 then "-" (big end).
    for (std::size_t i = scope.find('-'); i != std::string_view::npos; i = scope.find('-', i + 1)) {
        if (i % 2 == 0 && Utf16TimeLineAt(scope, i, ByteOrder::LittleEndian)) return ByteOrder::LittleEndian;
        if (i % 2 == 1 && Utf16TimeLineAt(scope, i - 1, ByteOrder::BigEndian)) return ByteOrder::BigEndian;
    }
    return std::nullopt;
}

bool HoldsTimeLine(std::string_view text) { return text.find(kArrow) != std::string_view::npos; }

bool HoldsSubtitleTiming(std::string_view bytes) {
    std::optional<ByteOrder> order = FindUtf16Mark(bytes);
    if (!order) {
        if (HoldsTimeLine(bytes)) return true;
        return FindUnmarkedUtf16(bytes).has_value();
    }
    for (std::size_t i = 2; i + 6 <= bytes.size(); i += 2)
        if (UnitAt(bytes, i, *order) == '-' && UnitAt(bytes, i + 2, *order) == '-' && UnitAt(bytes, i + 4, *order) == '>')
            return true;
    return false;
}

}  // namespace srt
