// The fast path for canonical time lines against the general rule: wherever
// the fast path answers, the rule gives the same 29 characters.
#include "core/retime.h"
#include "core/timeshift.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9) return 0;
    std::uint32_t a, b;
    std::memcpy(&a, data + 1, 4);
    std::memcpy(&b, data + 5, 4);
    srt::TimeMap map = srt::TimeMap::Offset(std::int32_t(a));
    switch (data[0] % 3) {
    case 1: {
        const std::int64_t day = srt::kMillisPerDay;
        const std::int64_t p = a % day, q = (p + 1 + b % (day - 1)) % day;
        map = srt::TimeMap::Sync(p, b % day, q, (a ^ b) % day);
        break;
    }
    case 2: map = srt::TimeMap::Scale(1 + a % 240000, 1 + b % 240000); break;
    default: break;
    }
    const std::string_view line(reinterpret_cast<const char*>(data + 9), size - 9);
    char fast[29];
    if (!srt::FastRetimeLine(fast, line, map)) return 0;
    std::string general;
    try {
        srt::AppendRetimedLine(general, line, map);
    } catch (const srt::EConvertError&) {
        std::abort();  // the fast path answered a line the rule refuses
    }
    if (general != std::string_view(fast, sizeof fast)) std::abort();
    return 0;
}
