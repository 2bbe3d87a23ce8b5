// What every drawing of a skin image shares: the palette, the scale it is
// drawn at, the geometry the definition gives at 96 DPI, and the shapes the
// images are made of. Lengths are designed at 96 DPI and drawn at the
// painter's DPI: sizes and margins by the one rounding rule of component/dpi,
// hairlines one pixel wide up to 150 % and two at 200 %.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <string>

#include "component/dpi.h"
#include "tools/skingen/art.h"
#include "tools/skingen/raster.h"

namespace srt::art {

// Geometry shared by the definition and the images, at 96 DPI.
inline constexpr int kBorder = 4;          // left, right and bottom frame width
inline constexpr int kTitle = 30;          // title bar height
inline constexpr int kTopRadius = 8;       // window corners
inline constexpr int kBottomRadius = 4;
inline constexpr int kEdgeLength = 64;     // length of the frame edge images
inline constexpr int kCapW = 28, kCapH = 20, kCapY = (kTitle - kCapH) / 2, kCapGap = 2;
inline constexpr int kMdiW = 18, kMdiH = 16;
inline constexpr int kMenuBarH = 20;

enum class Dir { Up, Down, Left, Right };

class Painter {
public:
    Painter(const TPalette& p, int dpi) : p_(p), dpi_(dpi) {}

    // The images drawn so far, by file name (without the scale suffix).
    std::map<std::string, TBitmap> images;

    // A length of the design at this DPI (sizes, margins, positions).
    int S(int v) const { return ScaleToDpi(v, dpi_); }
    // A coordinate of a shape at this DPI; exactly v at 96.
    double D(double v) const { return dpi_ == kDesignDpi ? v : v * dpi_ / kDesignDpi; }
    // The width of a stroke of n pixels: rounded down, at least 1, so that
    // a hairline stays one pixel up to 150 % and two at 200 %.
    int L(int n) const { return std::max(1, n * dpi_ / kDesignDpi); }
    // Where a hairline n hairlines in from the far end of an extent of
    // `size` (designed) pixels starts: S(size) - n * L(1).
    int Far(int size, int n = 1) const { return S(size) - n * L(1); }

    // Drawing, each image's frames in the order the painters read them.
    void FrameEdges();
    void TextBack();
    void CaptionButtons();
    void MenuBar();
    void Buttons();
    void CheckCells();
    void Progress();
    void GroupBox();
    void Toolbars();
    void Tabs();
    void StatusBar();
    void ComboButton();
    void SunkEdge();
    void ExtraImages();
    void Headerbar();
    void Menus();
    void ScrollBars();
    void TrackBars();
    void UpDowns();

private:
    // An image of n frames of fw x fh designed pixels, side by side or
    // stacked; draw(view, k) paints frame k (from 1) at this DPI.
    TBitmap Frames(int fw, int fh, int n, bool stacked, const std::function<void(View&, int)>& draw) const;
    // A rounded panel: a hairline outline, a fill per row, the key colour
    // outside; anti-aliased edges blend towards `under`, the colour the
    // painter draws below. Coordinates in pixels of this DPI.
    void Panel(View& v, double x0, double y0, double x1, double y1, double r, Rgb under, Rgb outline,
               const std::function<Rgb(int)>& fill) const;
    void Panel(View& v, double x0, double y0, double x1, double y1, double r, Rgb under, Rgb outline, Rgb top,
               Rgb bottom) const;
    // A panel over a whole frame, inset by `inset` designed pixels.
    void FramePanel(View& v, int inset, double r, Rgb under, Rgb outline, Rgb top, Rgb bottom) const;
    // An outline `w` pixels wide inside x0..x1, y0..y1 (exclusive ends).
    static void Outline(View& v, int x0, int y0, int x1, int y1, int w, Rgb c);
    // A filled triangle, crisp: rows of widths 2, 4, 6 ... (even base) or
    // 1, 3, 5 ... (odd), pointing `d`, inside a box at (x, y).
    static void Triangle(View& v, int x, int y, int base, Dir d, Rgb c);
    // A triangle of a designed base, centred in the view.
    void CentredTriangle(View& v, int base, Dir d, Rgb c) const;
    // A chevron pointing down, strokes `stroke` pixels across, 2h wide.
    static void ChevronDown(View& v, int x, int y, int h, int stroke, Rgb c);

    // The title bar colour at row y of this DPI (frame 1 active, 2 inactive).
    Rgb TitleAt(int k, int y) const;
    TBitmap VirtualWindow(int k) const;
    enum class Glyph { Close, Max, Restore, Min };
    // A caption glyph in a box of `size` pixels at this DPI.
    void DrawGlyph(View& v, int x, int y, Glyph g, Rgb c, int size) const;
    TBitmap CaptionButton(Glyph g, bool close) const;

    const TPalette& p_;
    int dpi_;
};

}  // namespace srt::art
