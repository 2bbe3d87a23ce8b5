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

// ---- colours, fonts, brushes, canvases ---------------------------------------

#include "component/wstr.h"

std::uint32_t ColorToRGB(TColor colour) {
    auto c = static_cast<std::uint32_t>(colour);
    if ((c & 0xFF000000u) == 0xFF000000u) {
#ifdef _WIN32
        return GetSysColor(static_cast<int>(c & 0xFF));
#else
        switch (c & 0xFF) {
        case 5: return 0xFFFFFF;
        case 15: return 0xC0C0C0;
        default: return 0;
        }
#endif
    }
    return c & 0xFFFFFF;
}

SRT_DEFINE_CLASS(TFont, TPersistent, {
    b.Integer("Charset", &TFont::Charset, &TFont::SetCharset, 1);
    b.Integer("Color", &TFont::Color, &TFont::SetColor, clWindowText);
    b.Integer("Height", &TFont::Height, &TFont::SetHeight, -11);
    b.String("Name", &TFont::Name, &TFont::SetName, "MS Sans Serif");
    b.Set("Style", "TFontStyles", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, &TFont::Style,
          &TFont::SetStyle, 0);
})

TFont::TFont() = default;

TFont::~TFont() {
#ifdef _WIN32
    if (handle_) DeleteObject(handle_);
#endif
}

void TFont::Changed() {
#ifdef _WIN32
    if (handle_) {
        DeleteObject(handle_);
        handle_ = nullptr;
    }
#endif
    if (OnChange) OnChange();
}

void TFont::SetCharset(std::int32_t v) {
    if (v == charset_) return;
    charset_ = v;
    Changed();
}
void TFont::SetColor(TColor v) {
    if (v == color_) return;
    color_ = v;
    Changed();
}
void TFont::SetHeight(std::int32_t v) {
    if (v == height_) return;
    height_ = v;
    Changed();
}
void TFont::SetName(const std::string& v) {
    if (v == name_) return;
    name_ = v;
    Changed();
}
void TFont::SetStyle(std::uint32_t v) {
    if (v == style_) return;
    style_ = v;
    Changed();
}

bool TFont::SameAs(const TFont& o) const {
    return charset_ == o.charset_ && color_ == o.color_ && height_ == o.height_ && name_ == o.name_ &&
           style_ == o.style_;
}

void TFont::Assign(const TPersistent& source) {
    auto* f = dynamic_cast<const TFont*>(&source);
    if (!f) return TPersistent::Assign(source);
    if (SameAs(*f)) return;
    charset_ = f->charset_;
    color_ = f->color_;
    height_ = f->height_;
    name_ = f->name_;
    style_ = f->style_;
    Changed();
}

#ifdef _WIN32
HFONT TFont::Handle() {
    if (!handle_) {
        LOGFONTW lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
        lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
        lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
        lf.lfCharSet = static_cast<BYTE>(charset_);
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = DEFAULT_PITCH;
        std::wstring face = Widen(name_);
        face.resize(std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
        std::copy(face.begin(), face.end(), lf.lfFaceName);
        handle_ = CreateFontIndirectW(&lf);
    }
    return handle_;
}

TBrush::~TBrush() {
    if (handle_) DeleteObject(handle_);
}

void TBrush::SetColor(TColor colour) {
    if (colour == colour_) return;
    colour_ = colour;
    if (handle_) {
        DeleteObject(handle_);
        handle_ = nullptr;
    }
}

HBRUSH TBrush::Handle() {
    if (!handle_) handle_ = CreateSolidBrush(ColorToRGB(colour_));
    return handle_;
}

TCanvas::~TCanvas() {
    if (fontSelected_) SelectObject(dc_, oldFont_);
}

void TCanvas::UseFont(TFont& font) {
    HGDIOBJ old = SelectObject(dc_, font.Handle());
    if (!fontSelected_) {
        oldFont_ = old;
        fontSelected_ = true;
    }
}

void TCanvas::FillRect(const RECT& r, TColor colour) {
    TBrush brush(colour);
    ::FillRect(dc_, &r, brush.Handle());
}

void TCanvas::TextRect(const std::string& utf8, RECT r, UINT format, TColor colour) {
    std::wstring text = Widen(utf8);
    int oldMode = SetBkMode(dc_, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc_, ColorToRGB(colour));
    DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &r, format);
    SetTextColor(dc_, oldColour);
    SetBkMode(dc_, oldMode);
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
    if (HDC src = bitmap.Canvas()) BitBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), src, 0, 0, SRCCOPY);
}
#endif
