#include "tools/skingen/art.h"

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>

#include "skin/data/bmp.h"

namespace srt::art {
namespace {

// ---------------------------------------------------------------------------
// Geometry shared by the definition and the images.

constexpr int kBorder = 4;          // left, right and bottom frame width
constexpr int kTitle = 30;          // title bar height
constexpr int kTopRadius = 8;       // window corners
constexpr int kBottomRadius = 4;
constexpr int kEdgeLength = 64;     // length of the frame edge images
constexpr int kCapW = 28, kCapH = 20, kCapY = (kTitle - kCapH) / 2, kCapGap = 2;
constexpr int kMdiW = 18, kMdiH = 16;
constexpr int kMenuBarH = 20;

// An image of n equal frames, side by side or stacked; draw(view, k) paints
// frame k (from 1).
TBitmap Frames(int fw, int fh, int n, bool stacked, const std::function<void(View&, int)>& draw) {
    TBitmap image(stacked ? fw : fw * n, stacked ? fh * n : fh);
    View all(image);
    all.Fill(kKey);
    for (int k = 1; k <= n; ++k) {
        View v = stacked ? all.Sub(0, (k - 1) * fh, fw, fh) : all.Sub((k - 1) * fw, 0, fw, fh);
        draw(v, k);
    }
    return image;
}

// A rounded panel: outline colour, a fill per row, the key colour outside.
// AA edges are blended towards `under`, the colour the painter draws below.
void Panel(View& v, double x0, double y0, double x1, double y1, double r, Rgb under, Rgb outline,
           const std::function<Rgb(int)>& fill) {
    const Shape outer = RoundRectShape(x0, y0, x1, y1, r);
    const Shape inner = RoundRectShape(x0 + 1, y0 + 1, x1 - 1, y1 - 1, std::max(0.0, r - 1));
    for (int y = 0; y < v.Height(); ++y)
        for (int x = 0; x < v.Width(); ++x)
            if (View::Coverage(outer, x, y) > 0) v.Set(x, y, under);
    v.FillShape(outer, outline);
    v.FillShape(inner, fill);
    v.KeyOutside(outer);
}

void Panel(View& v, double x0, double y0, double x1, double y1, double r, Rgb under, Rgb outline,
           Rgb top, Rgb bottom) {
    const int h = std::max(1, int(y1 - y0) - 2);
    Panel(v, x0, y0, x1, y1, r, under, outline, [&](int y) {
        return Mix(top, bottom, std::clamp((y - y0 - 1) / double(std::max(1, h - 1)), 0.0, 1.0));
    });
}

// A filled triangle, crisp: rows of widths 2, 4, 6 ... (even) or 1, 3, 5 ...
// (odd) pointing up, down, left or right, inside a box at (x, y).
enum class Dir { Up, Down, Left, Right };
void Triangle(View& v, int x, int y, int base, Dir d, Rgb c) {
    const int rows = (base + 1) / 2;
    for (int i = 0; i < rows; ++i) {
        const int len = base - 2 * (rows - 1 - i);  // from the tip outwards
        const int off = (base - len) / 2;
        switch (d) {
            case Dir::Up: v.HLine(x + off, x + off + len, y + i, c); break;
            case Dir::Down: v.HLine(x + off, x + off + len, y + rows - 1 - i, c); break;
            case Dir::Left: v.VLine(x + i, y + off, y + off + len, c); break;
            case Dir::Right: v.VLine(x + rows - 1 - i, y + off, y + off + len, c); break;
        }
    }
}

// A chevron of two-pixel strokes, 2 * h wide, h + 1 high, pointing down.
void ChevronDown(View& v, int x, int y, int h, Rgb c) {
    for (int i = 0; i < h; ++i) {
        v.HLine(x + i, x + i + 2, y + i, c);
        v.HLine(x + 2 * h - i - 2, x + 2 * h - i, y + i, c);
    }
}

std::string ColourText(Rgb c) {
    return std::to_string(c.r) + " " + std::to_string(c.g) + " " + std::to_string(c.b);
}

// The definition text, section by section.
class Ini {
public:
    void Comment(const std::string& text) { out_ << "; " << text << "\r\n"; }
    void Section(const std::string& name) {
        if (out_.tellp() > 0) out_ << "\r\n";
        out_ << "[" << name << "]\r\n";
    }
    void Key(const std::string& key, const std::string& value) { out_ << key << "=" << value << "\r\n"; }
    void Key(const std::string& key, int value) { Key(key, std::to_string(value)); }
    void Key(const std::string& key, Rgb c) { Key(key, ColourText(c)); }
    std::string Text() const { return out_.str(); }

private:
    std::ostringstream out_;
};

// ---------------------------------------------------------------------------
// The images.

class Painter {
public:
    explicit Painter(const TPalette& p) : p_(p) {}

    std::map<std::string, TBitmap> images;

    Rgb TitleAt(int k, int y) const {  // the title bar colour at row y (frame k)
        const double t = std::clamp((y - 1) / double(kTitle - 3), 0.0, 1.0);
        return k == 1 ? Mix(p_.titleTop, p_.titleBottom, t) : Mix(p_.titleInactiveTop, p_.titleInactiveBottom, t);
    }

    // The whole frame of a small window, drawn once per state; the edge
    // images are cut from it so that their pieces meet exactly.
    TBitmap VirtualWindow(int k) const {
        const int w = kBorder + kEdgeLength + kBorder, h = kTitle + 30 + kBorder;
        TBitmap win(w, h);
        View v(win);
        v.Fill(p_.face);
        const Rgb outline = k == 1 ? p_.titleOutline : p_.outlineInactive;
        const Shape outer = RoundRectShape(0, 0, w, h, kTopRadius, kTopRadius, kBottomRadius, kBottomRadius);
        const Shape inner = RoundRectShape(1, 1, w - 1, h - 1, kTopRadius - 1, kTopRadius - 1,
                                           kBottomRadius - 1, kBottomRadius - 1);
        // Outline, then the title and the face inside it.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) v.Set(x, y, outline);
        v.FillShape(inner, [&](int y) { return y < kTitle ? TitleAt(k, y) : p_.face; });
        // The client edge: a hairline between the frame and the client area.
        v.KeyOutside(outer);
        return win;
    }

    static TBitmap Cut(const TBitmap& src, int x, int y, int w, int h) {
        TBitmap out(w, h);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) out.ScanLine(j)[i] = At(src, x + i, y + j);
        return out;
    }

    static void Paste(TBitmap& dst, const TBitmap& src, int x, int y) {
        for (int j = 0; j < src.Height(); ++j)
            for (int i = 0; i < src.Width(); ++i) dst.ScanLine(y + j)[x + i] = At(src, i, j);
    }

    void FrameEdges() {
        const TBitmap a = VirtualWindow(1), n = VirtualWindow(2);
        const int w = a.Width(), h = a.Height();
        TBitmap top(kEdgeLength, 2 * kTitle), bottom(kEdgeLength, 2 * kBorder);
        TBitmap left(2 * kBorder, h), right(2 * kBorder, h);
        const TBitmap* states[] = {&a, &n};
        for (int s = 0; s < 2; ++s) {
            const TBitmap& win = *states[s];
            Paste(top, Cut(win, kBorder, 0, kEdgeLength, kTitle), 0, s * kTitle);                     // stacked
            Paste(bottom, Cut(win, kBorder, h - kBorder, kEdgeLength, kBorder), 0, s * kBorder);      // stacked
            Paste(left, Cut(win, 0, 0, kBorder, h), s * kBorder, 0);                                 // side by side
            Paste(right, Cut(win, w - kBorder, 0, kBorder, h), s * kBorder, 0);
        }
        images["top.bmp"] = std::move(top);
        images["bottom.bmp"] = std::move(bottom);
        images["left.bmp"] = std::move(left);
        images["right.bmp"] = std::move(right);
    }

    // Behind the caption text: a faint capsule, two frames stacked.
    void TextBack() {
        images["textback.bmp"] = Frames(32, kTitle, 2, true, [&](View& v, int k) {
            const Rgb base = TitleAt(k, kTitle / 2);
            const Rgb tint = k == 1 ? Lighten(base, 0.07) : Darken(base, 0.035);
            const Shape capsule = RoundRectShape(0, 5, 32, kTitle - 5, 10);
            for (int y = 0; y < kTitle; ++y)
                for (int x = 0; x < 32; ++x) {
                    const double c = View::Coverage(capsule, x, y);
                    if (c > 0) v.Set(x, y, Mix(TitleAt(k, y), tint, c));
                }
        });
    }

    // Caption button glyphs in a 10 x 10 box.
    enum class Glyph { Close, Max, Restore, Min };
    static void DrawGlyph(View& v, int x, int y, Glyph g, Rgb c, int size = 10) {
        const int s = size - 1;
        switch (g) {
            case Glyph::Close:
                v.Line(x, y, x + s, y + s, c);
                v.Line(x + s, y, x, y + s, c);
                // A second pixel along each stroke keeps the cross legible.
                v.Line(x + 1, y, x + s, y + s - 1, c);
                v.Line(x + s - 1, y, x, y + s - 1, c);
                break;
            case Glyph::Max:
                v.Frame(x, y, x + size, y + size, c);
                v.HLine(x, x + size, y + 1, c);
                break;
            case Glyph::Restore: {
                const int f = size - 2;  // front window
                v.Frame(x, y + 2, x + f, y + 2 + f, c);
                v.HLine(x, x + f, y + 3, c);
                v.HLine(x + 2, x + size, y, c);
                v.VLine(x + size - 1, y, y + f, c);
                v.HLine(x + f, x + size, y + f - 1, c);
                break;
            }
            case Glyph::Min: v.Rect(x, y + s - 2, x + size, y + s, c); break;
        }
    }

    // Frames: 1 normal, 2 pressed, 3 hover, 4 inactive window.
    TBitmap CaptionButton(Glyph g, bool close) const {
        return Frames(kCapW, kCapH, 4, false, [&](View& v, int k) {
            Rgb glyph = p_.titleText;
            if (k == 2 || k == 3) {
                const Rgb fill = close ? (k == 3 ? p_.closeHot : p_.closePressed) : (k == 3 ? p_.captionHot : p_.captionPressed);
                const Shape s = RoundRectShape(0, 0, kCapW, kCapH, 4);
                for (int y = 0; y < kCapH; ++y)
                    for (int x = 0; x < kCapW; ++x)
                        if (View::Coverage(s, x, y) > 0)
                            v.Set(x, y, Mix(TitleAt(1, kCapY + y), fill, View::Coverage(s, x, y)));
                if (close) glyph = Rgb{255, 255, 255};
            }
            if (k == 4) glyph = p_.titleInactiveText;
            DrawGlyph(v, (kCapW - 10) / 2, (kCapH - 10) / 2, g, glyph);
        });
    }

    void CaptionButtons() {
        images["close.bmp"] = CaptionButton(Glyph::Close, true);
        images["maximize.bmp"] = CaptionButton(Glyph::Max, false);
        images["restore.bmp"] = CaptionButton(Glyph::Restore, false);
        images["minimize.bmp"] = CaptionButton(Glyph::Min, false);
        // The buttons of a maximised MDI child, drawn in the menu bar: 12
        // frames, four each for minimise, restore and close (1 normal,
        // 2 pressed, 3 and 4 hover).
        const Glyph order[] = {Glyph::Min, Glyph::Restore, Glyph::Close};
        images["mdicontrols.bmp"] = Frames(kMdiW, kMdiH, 12, false, [&](View& v, int k) {
            const int state = (k - 1) % 4 + 1;
            const Glyph g = order[(k - 1) / 4];
            v.Fill(p_.menuBar);
            if (state != 1) {
                const Rgb fill = state == 2 ? Darken(p_.menuBar, 0.12) : Mix(p_.menuBar, p_.accent, 0.14);
                Panel(v, 0, 0, kMdiW, kMdiH, 3, p_.menuBar, fill, fill, fill);
            }
            v.KeyOutside(RoundRectShape(0, 0, kMdiW, kMdiH, 3));
            DrawGlyph(v, (kMdiW - 8) / 2, (kMdiH - 8) / 2, g, p_.menuBarText, 8);
        });
    }

    void MenuBar() {
        images["menubar.bmp"] = Frames(32, kMenuBarH, 2, true, [&](View& v, int k) {
            v.Fill(k == 1 ? p_.menuBar : Mix(p_.menuBar, p_.face, 0.5));
            v.HLine(0, 32, kMenuBarH - 1, p_.menuBarLine);
        });
    }

    // Push buttons: 1 normal, 2 pressed, 3 disabled, 4 hot or focused,
    // 5 default.
    void Buttons() {
        images["button.bmp"] = Frames(24, 24, 5, false, [&](View& v, int k) {
            switch (k) {
                case 1: Panel(v, 0, 0, 24, 24, 3, p_.face, p_.border, p_.buttonTop, p_.buttonBottom); break;
                case 2: Panel(v, 0, 0, 24, 24, 3, p_.face, Darken(p_.accent, 0.15), p_.buttonPressed, p_.buttonPressed); break;
                case 3: Panel(v, 0, 0, 24, 24, 3, p_.face, p_.borderDisabled, p_.buttonDisabled, p_.buttonDisabled); break;
                case 4: Panel(v, 0, 0, 24, 24, 3, p_.face, p_.accent, p_.buttonHotTop, p_.buttonHotBottom); break;
                case 5: {
                    Panel(v, 0, 0, 24, 24, 3, p_.face, p_.accent, p_.buttonTop, p_.buttonBottom);
                    View in = v.Sub(1, 1, 22, 22);
                    in.FillShape(Minus(RoundRectShape(0, 0, 22, 22, 2), RoundRectShape(1, 1, 21, 21, 1)),
                                 Mix(p_.accent, p_.buttonTop, 0.45));
                    break;
                }
            }
        });
        // Check box cells: 1 unchecked, 2 checked, 3 disabled, 4 disabled
        // checked (also indeterminate).
        images["checkbox.bmp"] = Frames(13, 13, 4, false, [&](View& v, int k) {
            const bool checked = k == 2 || k == 4, disabled = k >= 3;
            const Rgb fill = checked ? (disabled ? p_.borderDisabled : p_.accent) : (disabled ? p_.buttonDisabled : p_.window);
            const Rgb edge = checked ? (disabled ? p_.borderDisabled : Darken(p_.accent, 0.1)) : (disabled ? p_.borderDisabled : p_.dkShadow);
            Panel(v, 0, 0, 13, 13, 2.5, p_.face, edge, fill, fill);
            if (checked) {
                const Rgb mark = disabled ? p_.buttonDisabled : p_.accentText;
                v.FillShape(Union(SegmentShape(3.2, 6.6, 5.4, 8.8, 0.85), SegmentShape(5.4, 8.8, 9.8, 4.0, 0.85)), mark);
            }
        });
        // Radio cells, in the same order.
        images["radio.bmp"] = Frames(13, 13, 4, false, [&](View& v, int k) {
            const bool checked = k == 2 || k == 4, disabled = k >= 3;
            const Rgb edge = checked ? (disabled ? p_.borderDisabled : p_.accent) : (disabled ? p_.borderDisabled : p_.dkShadow);
            const Rgb fill = checked ? (disabled ? p_.borderDisabled : p_.accent) : (disabled ? p_.buttonDisabled : p_.window);
            const Shape outer = CircleShape(6.5, 6.5, 6.5), inner = CircleShape(6.5, 6.5, 5.5);
            v.Fill(p_.face);
            v.FillShape(outer, edge);
            v.FillShape(inner, fill);
            if (checked) v.FillShape(CircleShape(6.5, 6.5, 2.6), disabled ? p_.buttonDisabled : p_.accentText);
            v.KeyOutside(outer);
        });
    }

    // Frames: 1 trough, 2 bar. Chunk: one block of the block look.
    void Progress() {
        images["progress.bmp"] = Frames(16, 14, 2, false, [&](View& v, int k) {
            if (k == 1) Panel(v, 0, 0, 16, 14, 3, p_.face, p_.border, p_.track, p_.track);
            else Panel(v, 0, 0, 16, 14, 3, p_.track, Darken(p_.accent, 0.12), Lighten(p_.accent, 0.12), p_.accent);
        });
        images["progresschunk.bmp"] = Frames(10, 10, 1, false, [&](View& v, int) {
            Panel(v, 0, 0, 8, 10, 1.5, p_.track, p_.accent, Lighten(p_.accent, 0.12), p_.accent);
        });
    }

    // Group box edge: 1 normal, 2 disabled; the inside is left out.
    void GroupBox() {
        images["groupbox.bmp"] = Frames(16, 16, 2, false, [&](View& v, int k) {
            const Rgb line = k == 1 ? p_.border : p_.borderDisabled;
            const Shape outer = RoundRectShape(0, 0, 16, 16, 4), inner = RoundRectShape(1, 1, 15, 15, 3);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) {
                    const double o = View::Coverage(outer, x, y), i = View::Coverage(inner, x, y);
                    if (o < 0.5 || i > 0.99) continue;  // stays the key colour
                    v.Set(x, y, Mix(p_.face, line, std::clamp(o - i, 0.0, 1.0)));
                }
        });
    }

    // Tool bar buttons: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 checked.
    void Toolbars() {
        images["toolbar.bmp"] = Frames(22, 22, 5, false, [&](View& v, int k) {
            const Rgb hot = Mix(p_.face, p_.accent, 0.12), down = Mix(p_.face, p_.accent, 0.22);
            switch (k) {
                case 2: Panel(v, 0, 0, 22, 22, 3, p_.face, Mix(p_.face, p_.accent, 0.5), down, down); break;
                case 4: Panel(v, 0, 0, 22, 22, 3, p_.face, Mix(p_.face, p_.accent, 0.35), hot, hot); break;
                case 5: Panel(v, 0, 0, 22, 22, 3, p_.face, p_.accent, down, down); break;
                default: break;  // flat: the face shows through
            }
        });
    }

    // Tabs: 1 normal, 2 selected, 3 disabled, 4 hot, 5 selected hot. Border:
    // the sheet's frame, its edges drawn around the page.
    void Tabs() {
        images["tabs.bmp"] = Frames(24, 22, 5, false, [&](View& v, int k) {
            const bool selected = k == 2 || k == 5;
            const Rgb fill = selected ? p_.face : k == 4 ? Mix(p_.face, p_.accent, 0.1) : k == 3 ? p_.buttonDisabled : Mix(p_.face, p_.border, 0.22);
            const double top = selected ? 0 : 2;
            const Shape outer = RoundRectShape(0, top, 24, 23, 4, 4, 0, 0);
            const Shape inner = RoundRectShape(1, top + 1, 23, 23, 3, 3, 0, 0);
            v.Fill(p_.face);
            v.FillShape(outer, k == 3 ? p_.borderDisabled : p_.border);
            v.FillShape(inner, fill);
            if (selected) v.FillShape(RoundRectShape(1, 1, 23, 3.2, 2, 2, 0, 0), p_.accent);
            v.KeyOutside(outer);
        });
        images["tabborder.bmp"] = Frames(16, 16, 1, false, [&](View& v, int) {
            v.Fill(p_.face);
            v.Frame(0, 0, 16, 16, p_.border);
        });
    }

    // Status bar panels: 1 lowered, 2 raised, 3 no bevel.
    void StatusBar() {
        images["statusbar.bmp"] = Frames(12, 12, 3, false, [&](View& v, int k) {
            v.Fill(p_.face);
            v.HLine(0, 12, 0, p_.menuBarLine);
            if (k == 1) v.VLine(11, 3, 10, p_.border);
            if (k == 2) v.HLine(0, 12, 1, p_.light);
        });
    }

    // Drop-down button of a combo box: 1 normal, 2 pressed, 3 disabled,
    // 4 hot. Drawn over the right end of the sunken edge.
    void ComboButton() {
        images["combobutton.bmp"] = Frames(19, 21, 4, false, [&](View& v, int k) {
            if (k == 2 || k == 4) {
                const Rgb fill = k == 2 ? Mix(p_.window, p_.accent, 0.22) : Mix(p_.window, p_.accent, 0.1);
                Panel(v, 2, 2, 17, 19, 2, p_.window, fill, fill, fill);
            }
            v.VLine(1, 5, 16, k == 3 ? p_.borderDisabled : Mix(p_.window, p_.border, 0.6));
        });
    }

    // Sunken edge of combo boxes: 1 normal, 2 pressed, 3 disabled, 4 focused.
    void SunkEdge() {
        images["sunkedge.bmp"] = Frames(12, 12, 4, false, [&](View& v, int k) {
            const Rgb edge = k == 3 ? p_.borderDisabled : (k == 2 || k == 4) ? p_.accent : p_.shadow;
            const Rgb inside = k == 3 ? p_.buttonDisabled : p_.window;
            v.Fill(inside);
            v.Frame(0, 0, 12, 12, edge);
            if (k == 4) v.Frame(1, 1, 11, 11, Mix(inside, p_.accent, 0.3));
        });
    }

    // Drop-down arrows by state (1 normal, 2 pressed, 3 disabled, 4 hot) and
    // the size grip (5).
    void ExtraImages() {
        images["extra.bmp"] = Frames(12, 12, 5, false, [&](View& v, int k) {
            if (k <= 4) {
                const Rgb c = k == 1 ? p_.textMuted : k == 2 ? p_.text : k == 3 ? p_.glyphDisabled : p_.accent;
                ChevronDown(v, 2, 4, 4, c);
                return;
            }
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j <= i; ++j) {
                    const int x = 9 - 3 * j, y = 9 - 3 * (i - j);
                    v.Rect(x, y, x + 2, y + 2, p_.border);
                }
        });
    }

    // Header sections: 1 normal, 2 hot, 3 pressed, 4 sorted, 5 disabled.
    void Headerbar() {
        images["header.bmp"] = Frames(16, 20, 5, false, [&](View& v, int k) {
            const Rgb base = k == 2 ? Mix(p_.window, p_.accent, 0.08) : k == 3 ? Mix(p_.window, p_.accent, 0.18) : k == 5 ? p_.buttonDisabled : p_.window;
            v.Fill(base);
            v.HLine(0, 16, 19, p_.border);
            v.VLine(15, 3, 17, p_.menuLine);
            if (k == 4) v.HLine(0, 16, 18, p_.accent);
        });
    }

    // Popup items: 1 normal, 2 separator, 3 disabled under the mouse,
    // 4 selected, 5 selected (unused).
    void Menus() {
        images["menuitem.bmp"] = Frames(24, 20, 5, false, [&](View& v, int k) {
            if (k == 2) v.HLine(4, 20, 15, p_.menuLine);
            if (k >= 3) {
                const Rgb fill = k == 3 ? Mix(p_.menu, p_.border, 0.25) : p_.accent;
                Panel(v, 2, 1, 22, 19, 3, p_.menu, fill, fill, fill);
            }
        });
        images["menubackground.bmp"] = Frames(16, 16, 1, false, [&](View& v, int) {
            v.Fill(p_.menu);
            v.Frame(0, 0, 16, 16, p_.border);
        });
    }

    // Scroll bar arrows, 23 frames of 16 x 16:
    //   1-4 left, 5-8 right, 9-12 up, 13-16 down (normal, pressed, hot,
    //   disabled); 17, 18 horizontal thumb; 19, 20 vertical thumb (normal,
    //   pressed); 21 horizontal track; 22 vertical track; 23 size box.
    void ScrollBars() {
        images["scrollbar.bmp"] = Frames(16, 16, 23, false, [&](View& v, int k) {
            if (k <= 16) {
                const int dir = (k - 1) / 4, state = (k - 1) % 4 + 1;
                if (state == 2 || state == 3) {
                    const Rgb fill = state == 2 ? p_.thumbPressed : Mix(p_.track, p_.thumb, 0.5);
                    Panel(v, 1, 1, 15, 15, 3, p_.track, fill, fill, fill);
                }
                const Rgb c = state == 4 ? p_.glyphDisabled : state == 2 ? p_.accentText : p_.arrow;
                const Dir d[] = {Dir::Left, Dir::Right, Dir::Up, Dir::Down};
                if (dir < 2) Triangle(v, 6, 4, 8, d[dir], c);
                else Triangle(v, 4, 6, 8, d[dir], c);
                return;
            }
            if (k <= 20) {
                const bool horz = k <= 18;
                const Rgb fill = (k == 18 || k == 20) ? p_.thumbPressed : p_.thumb;
                if (horz) Panel(v, 0, 3, 16, 13, 5, p_.track, fill, fill, fill);
                else Panel(v, 3, 0, 13, 16, 5, p_.track, fill, fill, fill);
                return;
            }
            v.Fill(k == 23 ? p_.face : p_.track);
        });
        // Tracks: 1 normal, 2 pressed, 3 hot, 4 disabled.
        auto track = [&](bool horz) {
            return Frames(16, 16, 4, false, [&](View& v, int k) {
                const Rgb c = k == 2 ? Darken(p_.track, 0.05) : k == 3 ? Mix(p_.track, p_.thumb, 0.15) : p_.track;
                v.Fill(c);
                if (horz) v.HLine(0, 16, 0, p_.menuLine);
                else v.VLine(0, 0, 16, p_.menuLine);
            });
        };
        images["hscroll.bmp"] = track(true);
        images["vscroll.bmp"] = track(false);
        // Thumbs: 1 normal, 2 pressed, 3 hot.
        auto thumb = [&](bool horz) {
            return Frames(16, 16, 3, false, [&](View& v, int k) {
                const Rgb fill = k == 2 ? p_.thumbPressed : k == 3 ? p_.thumbHot : p_.thumb;
                if (horz) Panel(v, 1, 3, 15, 13, 5, p_.track, fill, fill, fill);
                else Panel(v, 3, 1, 13, 15, 5, p_.track, fill, fill, fill);
            });
        };
        images["hthumb.bmp"] = thumb(true);
        images["vthumb.bmp"] = thumb(false);
    }

    // Track bar thumbs, 5 frames: 1 and 2 normal (2 is the one drawn for the
    // current thumb), 3 hot, 4 pressed, 5 disabled.
    void TrackBars() {
        auto colours = [&](int k) {
            const Rgb fill = k == 3 ? Lighten(p_.accent, 0.15) : k == 4 ? Darken(p_.accent, 0.15) : k == 5 ? p_.borderDisabled : p_.accent;
            return fill;
        };
        auto thumb = [&](int w, int h, const std::function<Shape(int, int)>& shape) {
            return Frames(w, h, 5, false, [&](View& v, int k) {
                const Rgb fill = colours(k);
                const Shape s = shape(w, h);
                v.Fill(p_.face);
                v.FillShape(s, Darken(fill, 0.18));
                // One pixel inside the outline.
                v.FillShape([s](double x, double y) { return s(x - 1, y) && s(x + 1, y) && s(x, y - 1) && s(x, y + 1); },
                            fill);
                v.KeyOutside(s);
            });
        };
        images["thumbhorz.bmp"] = thumb(11, 20, [](int w, int h) { return RoundRectShape(0, 0, w, h, 3); });
        images["thumbvert.bmp"] = thumb(20, 11, [](int w, int h) { return RoundRectShape(0, 0, w, h, 3); });
        images["thumbup.bmp"] = thumb(11, 20, [](int w, int h) {
            return PolygonShape({{0, 5.5}, {w / 2.0, 0}, {double(w), 5.5}, {double(w), double(h)}, {0, double(h)}});
        });
        images["thumbdown.bmp"] = thumb(11, 20, [](int w, int h) {
            return PolygonShape({{0, 0}, {double(w), 0}, {double(w), h - 5.5}, {w / 2.0, double(h)}, {0, h - 5.5}});
        });
        images["thumbleft.bmp"] = thumb(20, 11, [](int w, int h) {
            return PolygonShape({{5.5, 0}, {double(w), 0}, {double(w), double(h)}, {5.5, double(h)}, {0, h / 2.0}});
        });
        images["thumbright.bmp"] = thumb(20, 11, [](int w, int h) {
            return PolygonShape({{0, 0}, {w - 5.5, 0}, {double(w), h / 2.0}, {w - 5.5, double(h)}, {0, double(h)}});
        });
    }

    // Up-down buttons, 8 frames: 1-4 the first button (up or left), 5-8 the
    // second, each normal, pressed, disabled, hot. Glyphs in the same order.
    void UpDowns() {
        auto buttons = [&](int w, int h) {
            return Frames(w, h, 8, false, [&](View& v, int k) {
                const int state = (k - 1) % 4 + 1;
                switch (state) {
                    case 1: Panel(v, 0, 0, w, h, 2, p_.face, p_.border, p_.buttonTop, p_.buttonBottom); break;
                    case 2: Panel(v, 0, 0, w, h, 2, p_.face, Darken(p_.accent, 0.15), p_.buttonPressed, p_.buttonPressed); break;
                    case 3: Panel(v, 0, 0, w, h, 2, p_.face, p_.borderDisabled, p_.buttonDisabled, p_.buttonDisabled); break;
                    case 4: Panel(v, 0, 0, w, h, 2, p_.face, p_.accent, p_.buttonHotTop, p_.buttonHotBottom); break;
                }
            });
        };
        auto glyphs = [&](bool vert) {
            return Frames(vert ? 7 : 4, vert ? 4 : 7, 8, false, [&](View& v, int k) {
                const int state = (k - 1) % 4 + 1;
                const bool first = k <= 4;
                const Rgb c = state == 3 ? p_.glyphDisabled : state == 4 ? p_.accent : p_.text;
                Triangle(v, 0, 0, 7, vert ? (first ? Dir::Up : Dir::Down) : (first ? Dir::Left : Dir::Right), c);
            });
        };
        images["updownvert.bmp"] = buttons(16, 11);
        images["updownhorz.bmp"] = buttons(11, 16);
        images["updownvertglyph.bmp"] = glyphs(true);
        images["updownhorzglyph.bmp"] = glyphs(false);
    }

private:
    const TPalette& p_;
};

std::string Definition(const TPalette& p) {
    Ini ini;
    ini.Comment(p.skinName + ": made by tools/skingen; edit the palette there and regenerate,");
    ini.Comment("or edit these files by hand and pack them with skinpack.");
    ini.Section("TitlebarSkin");
    ini.Key("SkinName", p.skinName);

    ini.Section("Personality");
    ini.Comment("Frame edges: left and right hold two frames side by side (active,");
    ini.Comment("inactive), top and bottom two frames stacked. Fuchsia corners round the window.");
    const char* edges[] = {"Left", "Right", "Top", "Bottom"};
    const char* files[] = {"left.bmp", "right.bmp", "top.bmp", "bottom.bmp"};
    // Left, Right: fixed top part (the title bar) and bottom part. Top,
    // Bottom: fixed left and right parts (Top's hold the rest of the curve).
    const int first[] = {kTitle, kTitle, kTopRadius, 0};
    const int last[] = {kBorder, kBorder, kTopRadius, 0};
    for (int i = 0; i < 4; ++i) {
        const std::string e = edges[i];
        ini.Key(e, files[i]);
        ini.Key(e + "TopHeight", first[i]);
        ini.Key(e + "BotHeight", last[i]);
        ini.Key(e + "Frame", 2);
        ini.Key(e + "Stretch", 1);
        ini.Key(e + "Trans", 1);
    }
    ini.Key("TextBack", "textback.bmp");
    ini.Key("TXTBackleft", 10);
    ini.Key("TXTBackRight", 10);
    ini.Key("TextShift", 26);
    ini.Key("TextShiftVert", 0);
    // Room for two caption buttons: a window with close alone (the main
    // window) shows its whole title; with all three a long title runs on
    // under the minimise button.
    ini.Key("TextRightClip", 2 * (kCapW + kCapGap) + 4);
    ini.Key("TextAlignment", 0);
    ini.Key("Textbackground", 0);
    ini.Key("ActiveTextR", p.titleText.r);
    ini.Key("ActiveTextG", p.titleText.g);
    ini.Key("ActiveTextB", p.titleText.b);
    ini.Key("InActiveTextR", p.titleInactiveText.r);
    ini.Key("InActiveTextG", p.titleInactiveText.g);
    ini.Key("InActiveTextB", p.titleInactiveText.b);
    ini.Key("menuBar", "menubar.bmp");
    ini.Key("TileMenu", 0);
    ini.Key("TileLeftMenu", 2);
    ini.Key("TileRightMenu", 2);

    ini.Section("Fonts");
    ini.Key("FontHeight", 14);

    ini.Section("Colours");
    ini.Key("WindowText", p.text);
    ini.Key("ButtonFace", p.face);
    ini.Key("Scrollbar", p.track);
    ini.Key("HilightText", p.accentText);
    ini.Key("Hilight", p.accent);
    ini.Key("Menubar", p.menuBar);
    ini.Key("Menu", p.menu);
    ini.Key("MenuText", p.text);
    ini.Key("ButtonText", p.text);
    ini.Key("ButtonHilight", p.hilight);
    ini.Key("Buttonlight", p.light);
    ini.Key("ButtonShadow", p.shadow);
    ini.Key("ButtonDkShadow", p.dkShadow);
    ini.Key("MenuBarText", p.menuBarText);
    ini.Key("TitleTextActive", p.titleText);
    ini.Key("TitleTextNoActive", p.titleInactiveText);
    if (const auto& c = p.content) {
        ini.Key("Client", c->client);
        ini.Key("ClientText", c->clientText);
        ini.Key("Edit", c->edit);
        ini.Key("EditText", c->editText);
        ini.Key("EditHilight", c->editHilight);
        ini.Key("EditHilightText", c->editHilightText);
        ini.Key("DisabledText", c->disabledText);
        ini.Key("LabelText", c->labelText);
        ini.Key("HotText", c->hotText);
    }

    const std::pair<const char*, Rgb> numbered[] = {
        {"Colour1", p.accent}, {"Colour2", p.titleBottom}, {"Colour3", p.face}, {"Colour4", p.text}};
    for (const auto& [name, c] : numbered) {
        ini.Section(name);
        ini.Key("color", c);
    }

    // Caption buttons. Align 1 counts Xcoord from the window's right edge.
    // Frames: 1 normal, 2 pressed, 3 hover, 4 inactive window.
    struct Cap {
        const char* section;
        int action, align, x, y, vis, vis1;
        const char* image;
    };
    const int step = kCapW + kCapGap;
    const Cap caps[] = {
        {"ButtonIcon", 3, 0, 10, (kTitle - 16) / 2, 0, 0, nullptr},
        {"ButtonClose", 0, 1, kBorder + 2 + kCapW, kCapY, 0, 0, "close.bmp"},
        {"ButtonMaximize", 1, 1, kBorder + 2 + kCapW + step, kCapY, 6, 2, "maximize.bmp"},
        {"ButtonRestore", 1, 1, kBorder + 2 + kCapW + step, kCapY, 6, 1, "restore.bmp"},
        // Next to the maximise box, or next to close when there is none.
        {"ButtonMinimize", 2, 1, kBorder + 2 + kCapW + 2 * step, kCapY, 8, 6, "minimize.bmp"},
        {"ButtonMinimizeAlone", 2, 1, kBorder + 2 + kCapW + step, kCapY, 8, 7, "minimize.bmp"},
    };
    for (const Cap& c : caps) {
        ini.Section(c.section);
        ini.Key("Action", c.action);
        ini.Key("Align", c.align);
        ini.Key("Xcoord", c.x);
        ini.Key("Ycoord", c.y);
        ini.Key("Visibility", c.vis);
        ini.Key("Visibility1", c.vis1);
        ini.Key("CombineOp", -1);
        // The icon button shows the window's icon: no image, frame 0.
        ini.Key("frame", c.image ? 4 : 0);
        ini.Key("ButtonImage", c.image ? c.image : "");
    }
    ini.Section("MDICONTROLS");
    ini.Key("Image", "mdicontrols.bmp");

    ini.Section("Buttons");
    ini.Comment("Frames: 1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 default.");
    ini.Key("Bitmap", "button.bmp");
    ini.Key("LeftWidth", 4);
    ini.Key("RightWidth", 4);
    ini.Key("TopHeight", 4);
    ini.Key("BottomHeight", 4);
    ini.Key("Trans", 1);
    ini.Key("Tile", 0);
    ini.Key("CheckButton", "checkbox.bmp");
    ini.Key("CheckButtonFrame", 4);
    ini.Key("RadioButton", "radio.bmp");
    ini.Key("RadioButtonFrame", 4);
    ini.Key("NormalColour2", p.text);
    ini.Key("MouseOverColour2", p.text);
    ini.Key("PressedColour2", p.text);
    ini.Comment("Colour numbers: -1, none.");
    ini.Key("NormalColour", -1);
    ini.Key("MouseOverColour", -1);
    ini.Key("PressedColour", -1);

    ini.Section("Progress");
    ini.Key("Bitmap", "progress.bmp");
    ini.Key("Chunk", "progresschunk.bmp");
    ini.Key("Style", 0);
    ini.Key("LeftWidth", 3);
    ini.Key("RightWidth", 3);
    ini.Key("TopHeight", 3);
    ini.Key("BottomHeight", 3);
    ini.Key("Trans", 1);
    ini.Key("Tile", 0);

    // General sections: image, margins, transparency, tiling, text colours.
    struct General {
        const char* section;
        const char* image;
        int l, t, r, b, trans, tile;
        const char* second = nullptr;
        const char* secondImage = nullptr;
        Rgb normal{}, hot{}, pressed{};
    };
    const General general[] = {
        {"GroupBoxEdge", "groupbox.bmp", 4, 4, 4, 4, 1, 0},
        {"Toolbars", "toolbar.bmp", 4, 4, 4, 4, 1, 0},
        {"Tabs", "tabs.bmp", 5, 5, 5, 1, 1, 0, "Border", "tabborder.bmp", p.textMuted, p.text, p.text},
        {"StatusBarEdges", "statusbar.bmp", 1, 2, 2, 1, 0, 0},
        {"ComboButton", "combobutton.bmp", 0, 0, 0, 0, 1, 0},
        {"SunkEdge", "sunkedge.bmp", 2, 2, 2, 2, 0, 0},
        {"ExtraImages", "extra.bmp", 0, 0, 0, 0, 1, 0},
        {"Headerbar", "header.bmp", 2, 2, 2, 2, 0, 0},
        {"MenuItem", "menuitem.bmp", 4, 3, 4, 3, 1, 0},
        {"MenuBackground", "menubackground.bmp", 3, 3, 3, 3, 0, 0},
        {"Scrollbar", "scrollbar.bmp", 0, 0, 0, 0, 1, 0},
        {"HorzScroll", "hscroll.bmp", 0, 1, 0, 0, 0, 0},
        {"VertScroll", "vscroll.bmp", 1, 0, 0, 0, 0, 0},
        {"HorzScrollThumb", "hthumb.bmp", 6, 0, 6, 0, 1, 0},
        {"VertScrollThumb", "vthumb.bmp", 0, 6, 0, 6, 1, 0},
        {"Trackbar.ThumbHorz", "thumbhorz.bmp", 0, 0, 0, 0, 1, 0},
        {"Trackbar.ThumbVert", "thumbvert.bmp", 0, 0, 0, 0, 1, 0},
        {"Trackbar.ThumbLeft", "thumbleft.bmp", 0, 0, 0, 0, 1, 0},
        {"Trackbar.ThumbRight", "thumbright.bmp", 0, 0, 0, 0, 1, 0},
        {"Trackbar.ThumbUp", "thumbup.bmp", 0, 0, 0, 0, 1, 0},
        {"Trackbar.ThumbDown", "thumbdown.bmp", 0, 0, 0, 0, 1, 0},
        {"UpDown.Horz", "updownhorz.bmp", 0, 0, 0, 0, 1, 0, "GlyphImage", "updownhorzglyph.bmp"},
        {"UpDown.Vert", "updownvert.bmp", 0, 0, 0, 0, 1, 0, "GlyphImage", "updownvertglyph.bmp"},
    };
    for (const General& g : general) {
        ini.Section(g.section);
        ini.Key("Image", g.image);
        if (g.second) ini.Key(g.second, g.secondImage);
        ini.Key("LeftWidth", g.l);
        ini.Key("TopHeight", g.t);
        ini.Key("RightWidth", g.r);
        ini.Key("BottomHeight", g.b);
        ini.Key("Trans", g.trans);
        ini.Key("Tile", g.tile);
        const std::string s = g.section;
        if (!g.second && s != "ComboButton") ini.Key("Style", 0);  // not read where there is a second image
        if (s == "HorzScrollThumb" || s == "VertScrollThumb") ini.Key("FrameCount", 3);
        const bool tabs = s == "Tabs";
        ini.Key("NormalColour2", tabs ? g.normal : p.text);
        ini.Key("MouseOverColour2", tabs ? g.hot : p.text);
        ini.Key("PressedColour2", tabs ? g.pressed : p.text);
        ini.Key("NormalColour", -1);
        ini.Key("MouseOverColour", -1);
        ini.Key("PressedColour", -1);
    }
    return ini.Text();
}

}  // namespace

std::vector<TSkinEntry> GenerateSkin(const TPalette& palette) {
    Painter art(palette);
    art.FrameEdges();
    art.TextBack();
    art.CaptionButtons();
    art.MenuBar();
    art.Buttons();
    art.Progress();
    art.GroupBox();
    art.Toolbars();
    art.Tabs();
    art.StatusBar();
    art.ComboButton();
    art.SunkEdge();
    art.ExtraImages();
    art.Headerbar();
    art.Menus();
    art.ScrollBars();
    art.TrackBars();
    art.UpDowns();

    std::vector<TSkinEntry> files;
    const std::string ini = Definition(palette);
    files.push_back({"skin.ini", std::vector<std::uint8_t>(ini.begin(), ini.end())});
    for (const auto& [name, image] : art.images) files.push_back({name, WriteBmp24(image)});
    return files;
}

}  // namespace srt::art
