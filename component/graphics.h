// TBitmap: a 32-bit, top-down image. Natively a pixel buffer; on Win32 a DIB
// section whose pixels are the same buffer, with a memory DC (its canvas)
// created on first use. Pixels are stored as 0x00RRGGBB (DIB byte order);
// Pixel/SetPixel speak colour values (0x00BBGGRR).
#pragma once

#include <cstdint>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int width, int height);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    TBitmap(TBitmap&& other) noexcept;
    TBitmap& operator=(TBitmap&& other) noexcept;

    // Resizes to width x height, all pixels 0. Negative sizes count as 0.
    void SetSize(int width, int height);
    // Copies size and pixels of another bitmap.
    void Assign(const TBitmap& source);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    // Row y, top row 0; Width() pixels of 0x00RRGGBB.
    std::uint32_t* ScanLine(int y);
    const std::uint32_t* ScanLine(int y) const;

    // Colour values 0x00BBGGRR; coordinates must lie inside the bitmap.
    std::uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, std::uint32_t colour);

    static std::uint32_t ToColour(std::uint32_t rgb) {
        return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    }
    static std::uint32_t FromColour(std::uint32_t colour) { return ToColour(colour); }

#ifdef _WIN32
    HBITMAP Handle() const { return handle_; }
    // The memory DC with this bitmap selected (stretch mode COLORONCOLOR);
    // null for an empty bitmap. Valid until the next SetSize or destruction.
    HDC Canvas();
#endif

private:
    void Reset();
    void Flush() const;

    int width_ = 0;
    int height_ = 0;
    std::uint32_t* bits_ = nullptr;
#ifdef _WIN32
    HBITMAP handle_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
#else
    std::vector<std::uint32_t> store_;
#endif
};
