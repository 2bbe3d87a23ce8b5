// Reader of Windows BMP files as paint programs write them: 1, 4, 8, 16, 24
// and 32 bits per pixel; BI_RGB, BI_BITFIELDS, BI_RLE8 and BI_RLE4; bottom-up
// and top-down rows; core (12-byte) and 40- to 124-byte info headers.
// Platform-free.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>

#include "component/graphics.h"

namespace srt {

// The platform's message for an unreadable bitmap.
inline constexpr const char* kInvalidBitmapMessage = "Bitmap image is not valid";

class EInvalidBitmap : public std::runtime_error {
public:
    EInvalidBitmap() : std::runtime_error(kInvalidBitmapMessage) {}
};

// Images with more pixels than this are refused before allocation.
constexpr std::uint64_t kBmpMaxPixels = std::uint64_t{1} << 24;

// Decodes a BMP file into 0x00RRGGBB pixels (alpha is dropped). Throws
// EInvalidBitmap for any other format and for a truncated or inconsistent
// file; never reads outside `file`.
TBitmap ReadBmp(std::span<const std::uint8_t> file, std::uint64_t maxPixels = kBmpMaxPixels);

// A 24-bit BI_RGB bottom-up BMP file of the image.
std::vector<std::uint8_t> WriteBmp24(const TBitmap& image);

}  // namespace srt
