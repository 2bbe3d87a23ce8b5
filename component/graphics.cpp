#include "component/graphics.h"

#include <algorithm>
#include <cstring>
#include <utility>

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() { Reset(); }

TBitmap::TBitmap(TBitmap&& other) noexcept { *this = std::move(other); }

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
    if (this != &other) {
        Reset();
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        bits_ = std::exchange(other.bits_, nullptr);
#ifdef _WIN32
        handle_ = std::exchange(other.handle_, nullptr);
        dc_ = std::exchange(other.dc_, nullptr);
        previous_ = std::exchange(other.previous_, nullptr);
#else
        store_ = std::move(other.store_);
        other.store_.clear();
#endif
    }
    return *this;
}

void TBitmap::Reset() {
#ifdef _WIN32
    if (dc_) {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
        dc_ = nullptr;
        previous_ = nullptr;
    }
    if (handle_) {
        DeleteObject(handle_);
        handle_ = nullptr;
    }
#else
    store_.clear();
    store_.shrink_to_fit();
#endif
    bits_ = nullptr;
    width_ = height_ = 0;
}

void TBitmap::SetSize(int width, int height) {
    Reset();
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == 0 || height == 0) return;
#ifdef _WIN32
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    handle_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!handle_ || !bits) {
        handle_ = nullptr;
        return;
    }
    bits_ = static_cast<std::uint32_t*>(bits);
    std::memset(bits_, 0, static_cast<size_t>(width) * height * 4);
#else
    store_.assign(static_cast<size_t>(width) * height, 0);
    bits_ = store_.data();
#endif
    width_ = width;
    height_ = height;
}

void TBitmap::Assign(const TBitmap& source) {
    if (&source == this) return;
    SetSize(source.width_, source.height_);
    if (bits_ && source.bits_) {
        source.Flush();
        std::memcpy(bits_, source.bits_, static_cast<size_t>(width_) * height_ * 4);
    }
}

void TBitmap::Flush() const {
#ifdef _WIN32
    GdiFlush();
#endif
}

std::uint32_t* TBitmap::ScanLine(int y) {
    Flush();
    return bits_ + static_cast<size_t>(y) * width_;
}

const std::uint32_t* TBitmap::ScanLine(int y) const {
    Flush();
    return bits_ + static_cast<size_t>(y) * width_;
}

std::uint32_t TBitmap::Pixel(int x, int y) const { return ToColour(ScanLine(y)[x] & 0xFFFFFF); }

void TBitmap::SetPixel(int x, int y, std::uint32_t colour) { ScanLine(y)[x] = FromColour(colour & 0xFFFFFF); }

#ifdef _WIN32
HDC TBitmap::Canvas() {
    if (!handle_) return nullptr;
    if (!dc_) {
        dc_ = CreateCompatibleDC(nullptr);
        previous_ = SelectObject(dc_, handle_);
        SetStretchBltMode(dc_, COLORONCOLOR);
    }
    return dc_;
}
#endif
