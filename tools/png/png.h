// A small PNG codec, free of any platform or compression library: the
// screenshot tests read and write their pictures with it, skingen writes its
// sheets and mockups.
//   EncodePng: 8-bit RGB, each row filtered Sub or Up, one deflate stream of
//              fixed-Huffman blocks with LZ77 matches.
//   DecodePng: any non-interlaced PNG (grey, RGB, palette, with or without
//              alpha; 1 to 16 bits), read through a general inflate. Alpha is
//              dropped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace srt::png {

// Pixels row by row from the top, each 0x00RRGGBB.
struct TImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    bool operator==(const TImage&) const = default;
};

std::vector<std::uint8_t> EncodePng(const TImage& image);

// False with `error` set when `png` is not an image this reader takes or is
// damaged; never reads past its input.
bool DecodePng(const std::vector<std::uint8_t>& png, TImage& image, std::string& error);

// A zlib stream (RFC 1950) inflated into `out`; false with `error` set on any
// fault, a wrong checksum included.
bool Inflate(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out, std::string& error);

// The zlib stream EncodePng writes, for the tests.
std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& data);

}  // namespace srt::png
