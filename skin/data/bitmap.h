// A platform-free 32-bit image: Width x Height pixels 0x00RRGGBB in top-down
// rows (the byte order of a 32-bit DIB: blue, green, red, unused).
#pragma once

#include <cstdint>
#include <vector>

namespace srt {

class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int width, int height) { SetSize(width, height); }

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }

    // Resizes to width x height black pixels; a size <= 0 empties the image.
    void SetSize(int width, int height) {
        if (width <= 0 || height <= 0) width = height = 0;
        width_ = width;
        height_ = height;
        pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    }
    void Clear() { SetSize(0, 0); }

    std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    std::uint32_t Pixel(int x, int y) const { return Row(y)[x]; }
    std::vector<std::uint32_t>& Pixels() { return pixels_; }
    const std::vector<std::uint32_t>& Pixels() const { return pixels_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace srt
