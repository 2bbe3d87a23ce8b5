// An INI text held in memory and read by the rules of the platform's profile
// functions. Platform-free.
//
// - "[name]" starts a section; "key=value" lines follow; other lines, and
//   lines starting with ';', are ignored.
// - Section and key names compare without regard to (ASCII) case; the first
//   matching section and the first matching key win.
// - Names and values lose leading and trailing blanks, and a value loses one
//   pair of enclosing double or single quotes; values are cut at 2047 bytes.
// - Lines end at CR LF, LF or a lone CR.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "component/asciicase.h"

namespace srt {

class TIniText {
public:
    static constexpr std::size_t kMaxValue = 2047;
    static constexpr std::size_t kSectionListBuffer = 16384;

    TIniText() = default;
    explicit TIniText(std::string_view text);

    // Section names in file order, as many as a 16384-byte list of
    // NUL-terminated names (itself NUL-terminated) holds.
    std::vector<std::string> SectionNames() const;

    // The value of key in section, or nullopt when either is absent.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    // The value by ParseIniInteger; def when absent or unreadable.
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;

private:
    struct Key {
        std::string name;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Key> keys;
    };
    const Section* FindSection(std::string_view name) const;

    std::vector<Section> sections_;
};

// "0x"/"0X" followed by hex digits; otherwise optional blanks, optional sign
// and decimal digits, or hex digits after "$", "x", "X", "0x" or "0X". Nothing
// may follow, and the value must fit a signed 32-bit integer.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

}  // namespace srt
