// The subtitle sniffing on any bytes: no fault, and what is told to be
// UTF-16 without a mark holds subtitle timing by the file rule too.
#include "core/sniff.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto order = srt::FindUnmarkedUtf16(bytes);
    const bool timing = srt::HoldsSubtitleTiming(bytes);
    if (order && !timing) std::abort();
    if (order && srt::FindUtf16Mark(bytes)) std::abort();
    if (srt::HoldsTimeLine(bytes) && !srt::FindUtf16Mark(bytes) && !timing) std::abort();
    return 0;
}
