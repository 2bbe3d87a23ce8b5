// The images of the controls with arrows and thumbs: scroll bars, track
// bars and up-down buttons.
#include "tools/skingen/painter.h"

namespace srt::art {

// Scroll bar arrows, 23 frames of 16 x 16:
//   1-4 left, 5-8 right, 9-12 up, 13-16 down (normal, pressed, hot,
//   disabled); 17, 18 horizontal thumb; 19, 20 vertical thumb (normal,
//   pressed); 21 horizontal track; 22 vertical track; 23 size box.
void Painter::ScrollBars() {
    images["scrollbar.bmp"] = Frames(16, 16, 23, false, [&](View& v, int k) {
        const int n = v.Width();
        if (k <= 16) {
            const int dir = (k - 1) / 4, state = (k - 1) % 4 + 1;
            if (state == 2 || state == 3) {
                const Rgb fill = state == 2 ? p_.thumbPressed : Mix(p_.track, p_.thumb, 0.5);
                FramePanel(v, 1, D(3), p_.track, fill, fill, fill);
            }
            const Rgb c = state == 4 ? p_.glyphDisabled : state == 2 ? p_.accentText : p_.arrow;
            const Dir d[] = {Dir::Left, Dir::Right, Dir::Up, Dir::Down};
            CentredTriangle(v, 8, d[dir], c);
            return;
        }
        if (k <= 20) {
            const bool horz = k <= 18;
            const Rgb fill = (k == 18 || k == 20) ? p_.thumbPressed : p_.thumb;
            const int in = S(3);
            if (horz) Panel(v, 0, in, n, n - in, D(5), p_.track, fill, fill, fill);
            else Panel(v, in, 0, n - in, n, D(5), p_.track, fill, fill, fill);
            return;
        }
        v.Fill(k == 23 ? p_.face : p_.track);
    });
    // Tracks: 1 normal, 2 pressed, 3 hot, 4 disabled.
    auto track = [&](bool horz) {
        return Frames(16, 16, 4, false, [&](View& v, int k) {
            const Rgb c = k == 2 ? Darken(p_.track, 0.05) : k == 3 ? Mix(p_.track, p_.thumb, 0.15) : p_.track;
            v.Fill(c);
            if (horz) v.Rect(0, 0, v.Width(), L(1), p_.menuLine);
            else v.Rect(0, 0, L(1), v.Height(), p_.menuLine);
        });
    };
    images["hscroll.bmp"] = track(true);
    images["vscroll.bmp"] = track(false);
    // Thumbs: 1 normal, 2 pressed, 3 hot.
    auto thumb = [&](bool horz) {
        return Frames(16, 16, 3, false, [&](View& v, int k) {
            const Rgb fill = k == 2 ? p_.thumbPressed : k == 3 ? p_.thumbHot : p_.thumb;
            const int n = v.Width(), along = S(1), across = S(3);
            if (horz) Panel(v, along, across, n - along, n - across, D(5), p_.track, fill, fill, fill);
            else Panel(v, across, along, n - across, n - along, D(5), p_.track, fill, fill, fill);
        });
    };
    images["hthumb.bmp"] = thumb(true);
    images["vthumb.bmp"] = thumb(false);
}

// Track bar thumbs, 5 frames: 1 and 2 normal (2 is the one drawn for the
// current thumb), 3 hot, 4 pressed, 5 disabled.
void Painter::TrackBars() {
    auto colours = [&](int k) {
        return k == 3 ? Lighten(p_.accent, 0.15) : k == 4 ? Darken(p_.accent, 0.15) : k == 5 ? p_.borderDisabled : p_.accent;
    };
    // shape(w, h, tip): the outline in a frame of w x h pixels, tip the
    // depth of a pointed end.
    auto thumb = [&](int w, int h, const std::function<Shape(double, double, double)>& shape) {
        return Frames(w, h, 5, false, [&](View& v, int k) {
            const Rgb fill = colours(k);
            const Shape s = shape(v.Width(), v.Height(), D(5.5));
            const int d = L(1);
            v.Fill(p_.face);
            v.FillShape(s, Darken(fill, 0.18));
            // One hairline inside the outline.
            v.FillShape([s, d](double x, double y) { return s(x - d, y) && s(x + d, y) && s(x, y - d) && s(x, y + d); },
                        fill);
            v.KeyOutside(s);
        });
    };
    const double r = D(3);
    auto box = [r](double w, double h, double) { return RoundRectShape(0, 0, w, h, r); };
    images["thumbhorz.bmp"] = thumb(11, 20, box);
    images["thumbvert.bmp"] = thumb(20, 11, box);
    images["thumbup.bmp"] = thumb(11, 20, [](double w, double h, double t) {
        return PolygonShape({{0, t}, {w / 2.0, 0}, {w, t}, {w, h}, {0, h}});
    });
    images["thumbdown.bmp"] = thumb(11, 20, [](double w, double h, double t) {
        return PolygonShape({{0, 0}, {w, 0}, {w, h - t}, {w / 2.0, h}, {0, h - t}});
    });
    images["thumbleft.bmp"] = thumb(20, 11, [](double w, double h, double t) {
        return PolygonShape({{t, 0}, {w, 0}, {w, h}, {t, h}, {0, h / 2.0}});
    });
    images["thumbright.bmp"] = thumb(20, 11, [](double w, double h, double t) {
        return PolygonShape({{0, 0}, {w - t, 0}, {w, h / 2.0}, {w - t, h}, {0, h}});
    });
}

// Up-down buttons, 8 frames: 1-4 the first button (up or left), 5-8 the
// second, each normal, pressed, disabled, hot. Glyphs in the same order.
void Painter::UpDowns() {
    auto buttons = [&](int w, int h) {
        return Frames(w, h, 8, false, [&](View& v, int k) {
            const int state = (k - 1) % 4 + 1;
            const double r = D(2);
            switch (state) {
                case 1: FramePanel(v, 0, r, p_.face, p_.border, p_.buttonTop, p_.buttonBottom); break;
                case 2: FramePanel(v, 0, r, p_.face, Darken(p_.accent, 0.15), p_.buttonPressed, p_.buttonPressed); break;
                case 3: FramePanel(v, 0, r, p_.face, p_.borderDisabled, p_.buttonDisabled, p_.buttonDisabled); break;
                case 4: FramePanel(v, 0, r, p_.face, p_.accent, p_.buttonHotTop, p_.buttonHotBottom); break;
            }
        });
    };
    auto glyphs = [&](bool vert) {
        return Frames(vert ? 7 : 4, vert ? 4 : 7, 8, false, [&](View& v, int k) {
            const int state = (k - 1) % 4 + 1;
            const bool first = k <= 4;
            const Rgb c = state == 3 ? p_.glyphDisabled : state == 4 ? p_.accent : p_.text;
            Triangle(v, 0, 0, S(7), vert ? (first ? Dir::Up : Dir::Down) : (first ? Dir::Left : Dir::Right), c);
        });
    };
    images["updownvert.bmp"] = buttons(16, 11);
    images["updownhorz.bmp"] = buttons(11, 16);
    images["updownvertglyph.bmp"] = glyphs(true);
    images["updownhorzglyph.bmp"] = glyphs(false);
}

}  // namespace srt::art
