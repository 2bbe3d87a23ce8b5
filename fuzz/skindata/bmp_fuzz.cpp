// The BMP reader.
#include <cstdint>
#include <span>

#include "skin/data/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const TBitmap b = srt::ReadBmp(std::span(data, size), 1 << 20);
        if (b.Empty()) __builtin_trap();
    } catch (const srt::EInvalidBitmap&) {
    }
    return 0;
}
