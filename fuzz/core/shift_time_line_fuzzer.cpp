// ShiftTimeLine on any line and offset: no crash, and every result is a
// canonical time line that re-reads to itself and shifts back exactly.
#include "core/timeshift.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    std::int32_t offset;
    std::memcpy(&offset, data, 4);
    const std::string_view line(reinterpret_cast<const char*>(data + 4), size - 4);
    std::string result;
    try {
        result = srt::ShiftTimeLine(line, offset);
    } catch (const srt::EConvertError&) {
        return 0;
    }
    if (line.find("-->") == std::string_view::npos) {
        if (result != line) std::abort();
        return 0;
    }
    if (result.size() != 29 || srt::ShiftTimeLine(result, 0) != result) std::abort();
    try {
        const std::string unshifted = srt::ShiftTimeLine(line, 0);
        if (offset != INT32_MIN && srt::ShiftTimeLine(result, -offset) != unshifted) std::abort();
    } catch (const srt::EConvertError&) {
        // The line's own times may lie outside the day while the shifted ones do not.
    }
    (void)srt::TryStrToInt(line);
    return 0;
}
