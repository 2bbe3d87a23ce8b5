// TImageList: equal-sized images with a transparent colour, drawn normally
// or greyed. Win32.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "component/classes.h"
#include "component/graphics.h"

class TImageList : public TComponent {
    SRT_DECLARE_CLASS()
public:
    explicit TImageList(TComponent* owner, int width = 16, int height = 16);
    ~TImageList() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return static_cast<int>(images_.size()); }
    // Appends the cells of `strip` (cut left to right at Width(); a narrower
    // rest is dropped); pixels of colour `mask` (0x00BBGGRR) stay
    // transparent. Returns the index of the first image added, -1 for none.
    int AddMasked(const TBitmap& strip, std::uint32_t mask);
    void Clear();

    // Draws image `index` with its top-left at (x, y); greyed: every opaque
    // pixel in the button-shadow colour. Nothing for an index out of range.
    void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;

private:
    struct TImage {
        HBITMAP colour = nullptr;  // transparent pixels black
        HBITMAP mask = nullptr;    // monochrome: 1 transparent, 0 opaque
    };
    int width_, height_;
    std::vector<TImage> images_;
};
