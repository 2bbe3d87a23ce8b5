// The controls' images: push buttons, check and radio cells, progress bars,
// group boxes, tool bar buttons, tabs, status bars, combo boxes, headers and
// popup menus.
#include <algorithm>

#include "tools/skingen/painter.h"

namespace srt::art {

// Push buttons: 1 normal, 2 pressed, 3 disabled, 4 hot or focused,
// 5 default.
void Painter::Buttons() {
    images["button.bmp"] = Frames(24, 24, 5, false, [&](View& v, int k) {
        const double r = D(3);
        switch (k) {
            case 1: FramePanel(v, 0, r, p_.face, p_.border, p_.buttonTop, p_.buttonBottom); break;
            case 2: FramePanel(v, 0, r, p_.face, Darken(p_.accent, 0.15), p_.buttonPressed, p_.buttonPressed); break;
            case 3: FramePanel(v, 0, r, p_.face, p_.borderDisabled, p_.buttonDisabled, p_.buttonDisabled); break;
            case 4: FramePanel(v, 0, r, p_.face, p_.accent, p_.buttonHotTop, p_.buttonHotBottom); break;
            case 5: {
                FramePanel(v, 0, r, p_.face, p_.accent, p_.buttonTop, p_.buttonBottom);
                // A second ring inside the outline.
                const int w = L(1), n = v.Width() - 2 * w;
                View in = v.Sub(w, w, n, n);
                in.FillShape(Minus(RoundRectShape(0, 0, n, n, r - w), RoundRectShape(w, w, n - w, n - w, r - 2 * w)),
                             Mix(p_.accent, p_.buttonTop, 0.45));
                break;
            }
        }
    });
}

// Check box and radio cells: 1 unchecked, 2 checked, 3 disabled, 4 disabled
// checked (also indeterminate).
void Painter::CheckCells() {
    images["checkbox.bmp"] = Frames(13, 13, 4, false, [&](View& v, int k) {
        const bool checked = k == 2 || k == 4, disabled = k >= 3;
        const Rgb fill = checked ? (disabled ? p_.borderDisabled : p_.accent) : (disabled ? p_.buttonDisabled : p_.window);
        const Rgb edge = checked ? (disabled ? p_.borderDisabled : Darken(p_.accent, 0.1)) : (disabled ? p_.borderDisabled : p_.dkShadow);
        FramePanel(v, 0, D(2.5), p_.face, edge, fill, fill);
        if (checked) {
            // The mark keeps its place in the cell, whatever the cell's rounding.
            const double c = v.Width() == 13 ? 1.0 : v.Width() / 13.0;
            const Rgb mark = disabled ? p_.buttonDisabled : p_.accentText;
            v.FillShape(Union(SegmentShape(3.2 * c, 6.6 * c, 5.4 * c, 8.8 * c, 0.85 * c),
                              SegmentShape(5.4 * c, 8.8 * c, 9.8 * c, 4.0 * c, 0.85 * c)),
                        mark);
        }
    });
    images["radio.bmp"] = Frames(13, 13, 4, false, [&](View& v, int k) {
        const bool checked = k == 2 || k == 4, disabled = k >= 3;
        const Rgb edge = checked ? (disabled ? p_.borderDisabled : p_.accent) : (disabled ? p_.borderDisabled : p_.dkShadow);
        const Rgb fill = checked ? (disabled ? p_.borderDisabled : p_.accent) : (disabled ? p_.buttonDisabled : p_.window);
        const double c = v.Width() / 2.0;
        const Shape outer = CircleShape(c, c, c), inner = CircleShape(c, c, c - L(1));
        v.Fill(p_.face);
        v.FillShape(outer, edge);
        v.FillShape(inner, fill);
        if (checked) v.FillShape(CircleShape(c, c, D(2.6)), disabled ? p_.buttonDisabled : p_.accentText);
        v.KeyOutside(outer);
    });
}

// Frames: 1 trough, 2 bar. Chunk: one block of the block look.
void Painter::Progress() {
    images["progress.bmp"] = Frames(16, 14, 2, false, [&](View& v, int k) {
        if (k == 1) FramePanel(v, 0, D(3), p_.face, p_.border, p_.track, p_.track);
        else FramePanel(v, 0, D(3), p_.track, Darken(p_.accent, 0.12), Lighten(p_.accent, 0.12), p_.accent);
    });
    images["progresschunk.bmp"] = Frames(10, 10, 1, false, [&](View& v, int) {
        Panel(v, 0, 0, S(8), v.Height(), D(1.5), p_.track, p_.accent, Lighten(p_.accent, 0.12), p_.accent);
    });
}

// Group box edge: 1 normal, 2 disabled; the inside is left out.
void Painter::GroupBox() {
    images["groupbox.bmp"] = Frames(16, 16, 2, false, [&](View& v, int k) {
        const Rgb line = k == 1 ? p_.border : p_.borderDisabled;
        const int n = v.Width(), w = L(1);
        const Shape outer = RoundRectShape(0, 0, n, n, D(4)), inner = RoundRectShape(w, w, n - w, n - w, D(4) - w);
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                const double o = View::Coverage(outer, x, y), i = View::Coverage(inner, x, y);
                if (o < 0.5 || i > 0.99) continue;  // stays the key colour
                v.Set(x, y, Mix(p_.face, line, std::clamp(o - i, 0.0, 1.0)));
            }
    });
}

// Tool bar buttons: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 checked.
void Painter::Toolbars() {
    images["toolbar.bmp"] = Frames(22, 22, 5, false, [&](View& v, int k) {
        const Rgb hot = Mix(p_.face, p_.accent, 0.12), down = Mix(p_.face, p_.accent, 0.22);
        switch (k) {
            case 2: FramePanel(v, 0, D(3), p_.face, Mix(p_.face, p_.accent, 0.5), down, down); break;
            case 4: FramePanel(v, 0, D(3), p_.face, Mix(p_.face, p_.accent, 0.35), hot, hot); break;
            case 5: FramePanel(v, 0, D(3), p_.face, p_.accent, down, down); break;
            default: break;  // flat: the face shows through
        }
    });
}

// Tabs: 1 normal, 2 selected, 3 disabled, 4 hot, 5 selected hot. Border:
// the sheet's frame, its edges drawn around the page.
void Painter::Tabs() {
    images["tabs.bmp"] = Frames(24, 22, 5, false, [&](View& v, int k) {
        const bool selected = k == 2 || k == 5;
        const Rgb fill = selected ? p_.face : k == 4 ? Mix(p_.face, p_.accent, 0.1) : k == 3 ? p_.buttonDisabled : Mix(p_.face, p_.border, 0.22);
        const int w = L(1), right = v.Width(), bottom = v.Height() + w;  // open at the bottom
        const double top = selected ? 0 : S(2), r = D(4);
        const Shape outer = RoundRectShape(0, top, right, bottom, r, r, 0, 0);
        const Shape inner = RoundRectShape(w, top + w, right - w, bottom, r - w, r - w, 0, 0);
        v.Fill(p_.face);
        v.FillShape(outer, k == 3 ? p_.borderDisabled : p_.border);
        v.FillShape(inner, fill);
        if (selected) v.FillShape(RoundRectShape(w, w, right - w, D(3.2), D(2), D(2), 0, 0), p_.accent);
        v.KeyOutside(outer);
    });
    images["tabborder.bmp"] = Frames(16, 16, 1, false, [&](View& v, int) {
        v.Fill(p_.face);
        Outline(v, 0, 0, v.Width(), v.Height(), L(1), p_.border);
    });
}

// Status bar panels: 1 lowered, 2 raised, 3 no bevel.
void Painter::StatusBar() {
    images["statusbar.bmp"] = Frames(12, 12, 3, false, [&](View& v, int k) {
        const int w = L(1), n = v.Width();
        v.Fill(p_.face);
        v.Rect(0, 0, n, w, p_.menuBarLine);
        if (k == 1) v.Rect(Far(12), S(3), n, S(10), p_.border);
        if (k == 2) v.Rect(0, w, n, 2 * w, p_.light);
    });
}

// Drop-down button of a combo box: 1 normal, 2 pressed, 3 disabled, 4 hot.
// Drawn over the right end of the sunken edge.
void Painter::ComboButton() {
    images["combobutton.bmp"] = Frames(19, 21, 4, false, [&](View& v, int k) {
        if (k == 2 || k == 4) {
            const Rgb fill = k == 2 ? Mix(p_.window, p_.accent, 0.22) : Mix(p_.window, p_.accent, 0.1);
            FramePanel(v, 2, D(2), p_.window, fill, fill, fill);
        }
        const int w = L(1);
        v.Rect(w, S(5), 2 * w, S(16), k == 3 ? p_.borderDisabled : Mix(p_.window, p_.border, 0.6));
    });
}

// Sunken edge of combo boxes: 1 normal, 2 pressed, 3 disabled, 4 focused.
void Painter::SunkEdge() {
    images["sunkedge.bmp"] = Frames(12, 12, 4, false, [&](View& v, int k) {
        const Rgb edge = k == 3 ? p_.borderDisabled : (k == 2 || k == 4) ? p_.accent : p_.shadow;
        const Rgb inside = k == 3 ? p_.buttonDisabled : p_.window;
        const int w = L(1), n = v.Width();
        v.Fill(inside);
        Outline(v, 0, 0, n, n, w, edge);
        if (k == 4) Outline(v, w, w, n - w, n - w, w, Mix(inside, p_.accent, 0.3));
    });
}

// Drop-down arrows by state (1 normal, 2 pressed, 3 disabled, 4 hot) and
// the size grip (5).
void Painter::ExtraImages() {
    images["extra.bmp"] = Frames(12, 12, 5, false, [&](View& v, int k) {
        const int n = v.Width();
        if (k <= 4) {
            const Rgb c = k == 1 ? p_.textMuted : k == 2 ? p_.text : k == 3 ? p_.glyphDisabled : p_.accent;
            const int h = S(4);
            ChevronDown(v, (n - 2 * h) / 2, (n - h) / 2, h, L(2), c);
            return;
        }
        const int dot = L(2), step = S(3), last = S(9);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j <= i; ++j) {
                const int x = last - step * j, y = last - step * (i - j);
                v.Rect(x, y, x + dot, y + dot, p_.border);
            }
    });
}

// Header sections: 1 normal, 2 hot, 3 pressed, 4 sorted, 5 disabled.
void Painter::Headerbar() {
    images["header.bmp"] = Frames(16, 20, 5, false, [&](View& v, int k) {
        const Rgb base = k == 2 ? Mix(p_.window, p_.accent, 0.08) : k == 3 ? Mix(p_.window, p_.accent, 0.18) : k == 5 ? p_.buttonDisabled : p_.window;
        const int w = v.Width(), h = v.Height();
        v.Fill(base);
        v.Rect(0, Far(20), w, h, p_.border);
        v.Rect(Far(16), S(3), w, S(17), p_.menuLine);
        if (k == 4) v.Rect(0, Far(20, 2), w, Far(20), p_.accent);
    });
}

// Popup items: 1 normal, 2 separator, 3 disabled under the mouse,
// 4 selected, 5 selected (unused).
void Painter::Menus() {
    images["menuitem.bmp"] = Frames(24, 20, 5, false, [&](View& v, int k) {
        const int w = v.Width(), h = v.Height();
        if (k == 2) v.Rect(S(4), S(15), S(20), S(15) + L(1), p_.menuLine);
        if (k >= 3) {
            const Rgb fill = k == 3 ? Mix(p_.menu, p_.border, 0.25) : p_.accent;
            Panel(v, S(2), S(1), w - S(2), h - S(1), D(3), p_.menu, fill, fill, fill);
        }
    });
    images["menubackground.bmp"] = Frames(16, 16, 1, false, [&](View& v, int) {
        v.Fill(p_.menu);
        Outline(v, 0, 0, v.Width(), v.Height(), L(1), p_.border);
    });
}

}  // namespace srt::art
