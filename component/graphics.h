// TBitmap: a 32-bit, top-down image. Natively a pixel buffer; on Win32 a DIB
// section whose pixels are the same buffer, with a memory DC (its canvas)
// created on first use. Pixels are stored as 0x00RRGGBB (DIB byte order);
// Pixel/SetPixel speak colour values (0x00BBGGRR).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "component/classes.h"

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

// Colour values: 0x00BBGGRR, or 0xFF000000 + n for the system colour n.
using TColor = std::int32_t;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clWindowText = static_cast<TColor>(0xFF000008);
inline constexpr TColor clWindow = static_cast<TColor>(0xFF000005);
inline constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000F);
inline constexpr TColor clBtnText = static_cast<TColor>(0xFF000012);
// A system colour resolved to 0x00BBGGRR (natively: the classic defaults).
std::uint32_t ColorToRGB(TColor colour);

enum TFontStyle : std::uint32_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A font description; on Win32 it owns the matching HFONT, made on first use
// and remade after a change. OnChange runs after every change.
class TFont : public TPersistent {
    SRT_DECLARE_CLASS()
public:
    TFont();
    ~TFont() override;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    std::int32_t Charset() const { return charset_; }
    void SetCharset(std::int32_t v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    std::int32_t Height() const { return height_; }  // negative: character height in pixels
    void SetHeight(std::int32_t v);
    std::string Name() const { return name_; }       // UTF-8
    void SetName(const std::string& v);
    std::uint32_t Style() const { return style_; }
    void SetStyle(std::uint32_t v);
    void Assign(const TPersistent& source) override;
    bool SameAs(const TFont& other) const;

    std::function<void()> OnChange;

#ifdef _WIN32
    HFONT Handle();
#endif

private:
    void Changed();
    std::int32_t charset_ = 1;  // DEFAULT_CHARSET
    TColor color_ = clWindowText;
    std::int32_t height_ = -11;
    std::string name_ = "MS Sans Serif";
    std::uint32_t style_ = 0;
#ifdef _WIN32
    HFONT handle_ = nullptr;
#endif
};

#ifdef _WIN32
// A solid brush of one colour, made on first use.
class TBrush {
public:
    explicit TBrush(TColor colour = clWhite) : colour_(colour) {}
    ~TBrush();
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;
    TColor Color() const { return colour_; }
    void SetColor(TColor colour);
    HBRUSH Handle();

private:
    TColor colour_;
    HBRUSH handle_ = nullptr;
};

// Drawing on a device context it does not own. Objects it selects are put
// back when it goes.
class TCanvas {
public:
    explicit TCanvas(HDC dc) : dc_(dc) {}
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle() const { return dc_; }
    void UseFont(TFont& font);
    void FillRect(const RECT& r, TColor colour);
    // Text in the selected font; transparent background.
    void TextRect(const std::string& utf8, RECT r, UINT format, TColor colour);
    void Draw(int x, int y, TBitmap& bitmap);

private:
    HDC dc_;
    HGDIOBJ oldFont_ = nullptr;
    bool fontSelected_ = false;
};
#endif
