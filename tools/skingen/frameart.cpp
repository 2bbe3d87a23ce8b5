// The frame's images: the edges, the capsule behind the caption text, the
// caption buttons, the buttons of a maximised MDI child and the menu bar.
#include <algorithm>

#include "tools/skingen/painter.h"

namespace srt::art {

Rgb Painter::TitleAt(int k, int y) const {
    const int w = L(1);
    const double t = std::clamp((y - w) / double(S(kTitle) - 3 * w), 0.0, 1.0);
    return k == 1 ? Mix(p_.titleTop, p_.titleBottom, t) : Mix(p_.titleInactiveTop, p_.titleInactiveBottom, t);
}

// The whole frame of a small window, drawn once per state; the edge images
// are cut from it so that their pieces meet exactly.
TBitmap Painter::VirtualWindow(int k) const {
    const int w = 2 * S(kBorder) + S(kEdgeLength), h = S(kTitle + 30 + kBorder), line = L(1);
    TBitmap win(w, h);
    View v(win);
    const Rgb outline = k == 1 ? p_.titleOutline : p_.outlineInactive;
    const double top = D(kTopRadius), bottom = D(kBottomRadius);
    const Shape outer = RoundRectShape(0, 0, w, h, top, top, bottom, bottom);
    const Shape inner = RoundRectShape(line, line, w - line, h - line, top - line, top - line, bottom - line,
                                       bottom - line);
    // Outline, then the title and the face inside it.
    v.Fill(outline);
    v.FillShape(inner, [&](int y) { return y < S(kTitle) ? TitleAt(k, y) : p_.face; });
    v.KeyOutside(outer);
    return win;
}

namespace {

TBitmap Cut(const TBitmap& src, int x, int y, int w, int h) {
    TBitmap out(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) out.ScanLine(j)[i] = At(src, x + i, y + j);
    return out;
}

void Paste(TBitmap& dst, const TBitmap& src, int x, int y) {
    for (int j = 0; j < src.Height(); ++j)
        for (int i = 0; i < src.Width(); ++i) dst.ScanLine(y + j)[x + i] = At(src, i, j);
}

}  // namespace

void Painter::FrameEdges() {
    const TBitmap a = VirtualWindow(1), n = VirtualWindow(2);
    const int w = a.Width(), h = a.Height();
    const int border = S(kBorder), title = S(kTitle), edge = S(kEdgeLength);
    TBitmap top(edge, 2 * title), bottom(edge, 2 * border);
    TBitmap left(2 * border, h), right(2 * border, h);
    const TBitmap* states[] = {&a, &n};
    for (int s = 0; s < 2; ++s) {
        const TBitmap& win = *states[s];
        Paste(top, Cut(win, border, 0, edge, title), 0, s * title);                  // stacked
        Paste(bottom, Cut(win, border, h - border, edge, border), 0, s * border);     // stacked
        Paste(left, Cut(win, 0, 0, border, h), s * border, 0);                       // side by side
        Paste(right, Cut(win, w - border, 0, border, h), s * border, 0);
    }
    images["top.bmp"] = std::move(top);
    images["bottom.bmp"] = std::move(bottom);
    images["left.bmp"] = std::move(left);
    images["right.bmp"] = std::move(right);
}

// Behind the caption text: a faint capsule, two frames stacked.
void Painter::TextBack() {
    images["textback.bmp"] = Frames(32, kTitle, 2, true, [&](View& v, int k) {
        const Rgb base = TitleAt(k, S(kTitle) / 2);
        const Rgb tint = k == 1 ? Lighten(base, 0.07) : Darken(base, 0.035);
        const Shape capsule = RoundRectShape(0, D(5), v.Width(), v.Height() - D(5), D(10));
        for (int y = 0; y < v.Height(); ++y)
            for (int x = 0; x < v.Width(); ++x) {
                const double c = View::Coverage(capsule, x, y);
                if (c > 0) v.Set(x, y, Mix(TitleAt(k, y), tint, c));
            }
    });
}

void Painter::DrawGlyph(View& v, int x, int y, Glyph g, Rgb c, int size) const {
    const int s = size - 1, w = L(1);
    switch (g) {
        case Glyph::Close:
            // Each stroke doubled along its length keeps the cross legible.
            for (int i = 0; i < L(2); ++i) {
                v.Line(x + i, y, x + s, y + s - i, c);
                v.Line(x + s - i, y, x, y + s - i, c);
            }
            break;
        case Glyph::Max:
            Outline(v, x, y, x + size, y + size, w, c);
            v.Rect(x, y + w, x + size, y + 2 * w, c);
            break;
        case Glyph::Restore: {
            const int o = 2 * w, f = size - o;  // the front window, o down and left
            Outline(v, x, y + o, x + f, y + o + f, w, c);
            v.Rect(x, y + o + w, x + f, y + o + 2 * w, c);
            v.Rect(x + o, y, x + size, y + w, c);
            v.Rect(x + size - w, y, x + size, y + f, c);
            v.Rect(x + f, y + f - w, x + size, y + f, c);
            break;
        }
        case Glyph::Min: v.Rect(x, y + size - w - L(2), x + size, y + size - w, c); break;
    }
}

// Frames: 1 normal, 2 pressed, 3 hover, 4 inactive window.
TBitmap Painter::CaptionButton(Glyph g, bool close) const {
    return Frames(kCapW, kCapH, 4, false, [&](View& v, int k) {
        Rgb glyph = p_.titleText;
        if (k == 2 || k == 3) {
            const Rgb fill = close ? (k == 3 ? p_.closeHot : p_.closePressed) : (k == 3 ? p_.captionHot : p_.captionPressed);
            const Shape s = RoundRectShape(0, 0, v.Width(), v.Height(), D(4));
            for (int y = 0; y < v.Height(); ++y)
                for (int x = 0; x < v.Width(); ++x)
                    if (View::Coverage(s, x, y) > 0)
                        v.Set(x, y, Mix(TitleAt(1, S(kCapY) + y), fill, View::Coverage(s, x, y)));
            if (close) glyph = Rgb{255, 255, 255};
        }
        if (k == 4) glyph = p_.titleInactiveText;
        const int box = S(10);
        DrawGlyph(v, (v.Width() - box) / 2, (v.Height() - box) / 2, g, glyph, box);
    });
}

void Painter::CaptionButtons() {
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
        const int w = v.Width(), h = v.Height();
        v.Fill(p_.menuBar);
        if (state != 1) {
            const Rgb fill = state == 2 ? Darken(p_.menuBar, 0.12) : Mix(p_.menuBar, p_.accent, 0.14);
            Panel(v, 0, 0, w, h, D(3), p_.menuBar, fill, fill, fill);
        }
        v.KeyOutside(RoundRectShape(0, 0, w, h, D(3)));
        const int box = S(8);
        DrawGlyph(v, (w - box) / 2, (h - box) / 2, g, p_.menuBarText, box);
    });
}

void Painter::MenuBar() {
    images["menubar.bmp"] = Frames(32, kMenuBarH, 2, true, [&](View& v, int k) {
        v.Fill(k == 1 ? p_.menuBar : Mix(p_.menuBar, p_.face, 0.5));
        v.Rect(0, Far(kMenuBarH), v.Width(), v.Height(), p_.menuBarLine);
    });
}

}  // namespace srt::art
