// Two-digit decimal groups for formatting times without division per digit.
#pragma once

#include <array>
#include <cstddef>

namespace srt {

// "00" to "99", two characters each: the digits of v at [2v] and [2v + 1].
inline constexpr auto kTwoDigits = [] {
    std::array<char, 200> digits{};
    for (int v = 0; v < 100; ++v) {
        digits[std::size_t(2 * v)] = char('0' + v / 10);
        digits[std::size_t(2 * v + 1)] = char('0' + v % 10);
    }
    return digits;
}();

}  // namespace srt
