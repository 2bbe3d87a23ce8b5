// The image type the skin records own. Stand-in with the interface of the
// component layer's TBitmap (a 32-bit top-down image, pixels 0x00RRGGBB in
// DIB byte order), until that one is available to this library.
#pragma once

#include <cstdint>
#include <vector>

class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int width, int height) { SetSize(width, height); }
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    TBitmap(TBitmap&&) noexcept = default;
    TBitmap& operator=(TBitmap&&) noexcept = default;

    // Resizes to width x height, all pixels 0. Negative sizes count as 0.
    void SetSize(int width, int height) {
        width_ = width > 0 && height > 0 ? width : 0;
        height_ = width > 0 && height > 0 ? height : 0;
        store_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
    }
    void Assign(const TBitmap& source) {
        width_ = source.width_;
        height_ = source.height_;
        store_ = source.store_;
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    // Row y, top row 0; Width() pixels of 0x00RRGGBB.
    std::uint32_t* ScanLine(int y) { return store_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* ScanLine(int y) const { return store_.data() + static_cast<std::size_t>(y) * width_; }

    // Colour values 0x00BBGGRR; coordinates must lie inside the bitmap.
    std::uint32_t Pixel(int x, int y) const { return ToColour(ScanLine(y)[x]); }
    void SetPixel(int x, int y, std::uint32_t colour) { ScanLine(y)[x] = FromColour(colour); }

    static std::uint32_t ToColour(std::uint32_t rgb) {
        return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    }
    static std::uint32_t FromColour(std::uint32_t colour) { return ToColour(colour); }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> store_;
};
