#include "tools/skingen/sheet.h"

#include <algorithm>
#include <string>
#include <vector>

#include "tools/skingen/compose.h"
#include "tools/skingen/font.h"
#include "tools/skingen/raster.h"

namespace srt::art {
namespace {

Rgb ColourOf(TColour c) {
    if (c == kNoColour || (c & 0xFF000000u)) return Rgb{128, 128, 128};
    return Rgb{static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c >> 16)};
}

TBitmap Scaled(const TBitmap& src, int scale) {
    TBitmap out(src.Width() * scale, src.Height() * scale);
    StretchCopy(out, {0, 0, out.Width(), out.Height()}, src, {0, 0, src.Width(), src.Height()});
    return out;
}

// ---------------------------------------------------------------------------
// Contact sheet.

struct Item {
    std::string label;
    const TBitmap* image;
    int frames;
    bool stacked;
};

constexpr Rgb kSheetBack{0xF7, 0xF7, 0xF7};
constexpr Rgb kSheetText{0x20, 0x20, 0x20};
constexpr Rgb kSheetNote{0x70, 0x70, 0x70};
constexpr int kGap = 4;  // between frames, unscaled sheet pixels

// The tile of one image: label, size line, then its frames pulled apart.
TBitmap Tile(const Item& it, int scale) {
    const TBitmap& img = *it.image;
    const int n = std::max(1, it.frames);
    const Rc f0 = FrameRect(img, it.stacked, n, 1);
    const int fw = f0.W() * scale, fh = f0.H() * scale;
    const int picW = it.stacked ? fw : n * fw + (n - 1) * kGap;
    const int picH = it.stacked ? n * fh + (n - 1) * kGap : fh;
    const std::string size = std::to_string(img.Width()) + "x" + std::to_string(img.Height()) + ", " +
                             std::to_string(n) + (n == 1 ? " frame" : " frames") + (it.stacked ? " stacked" : "");
    const int w = std::max({picW, TextWidth(it.label) , TextWidth(size)}) + 2;
    TBitmap t(w, picH + 2 * (kFontHeight + 3) + 2);
    View(t).Fill(kSheetBack);
    DrawText(t, 0, 0, it.label, kSheetText);
    DrawText(t, 0, kFontHeight + 3, size, kSheetNote);
    const int y0 = 2 * (kFontHeight + 3);
    for (int k = 1; k <= n; ++k) {
        const Rc f = FrameRect(img, it.stacked, n, k);
        const int x = it.stacked ? 0 : (k - 1) * (fw + kGap);
        const int y = y0 + (it.stacked ? (k - 1) * (fh + kGap) : 0);
        StretchCopy(t, {x, y, x + fw, y + fh}, img, f);
    }
    return t;
}

TBitmap Swatches(const TSkinElements& skin) {
    const TSkinColours& c = skin.Colours;
    const std::pair<const char*, TColour> list[] = {
        {"WindowText", c.WindowText},     {"ButtonFace", c.ButtonFace},       {"Scrollbar", c.Scrollbar},
        {"HilightText", c.HilightText},   {"Hilight", c.Hilight},             {"Menubar", c.Menubar},
        {"Menu", c.Menu},                 {"MenuText", c.MenuText},           {"ButtonText", c.ButtonText},
        {"ButtonHilight", c.ButtonHilight}, {"Buttonlight", c.Buttonlight},   {"ButtonShadow", c.ButtonShadow},
        {"ButtonDkShadow", c.ButtonDkShadow}, {"MenuBarText", c.MenuBarText}, {"TitleTextActive", c.TitleTextActive},
        {"TitleTextNoActive", c.TitleTextNoActive}};
    std::vector<std::pair<std::string, TColour>> all(std::begin(list), std::end(list));
    for (std::size_t i = 0; i < skin.ColourList.size(); ++i)
        all.emplace_back("ColourList " + std::to_string(i), skin.ColourList[i]);
    const int cols = 4, cw = 150, ch = 22;
    const int rows = static_cast<int>((all.size() + cols - 1) / cols);
    TBitmap t(cols * cw, 12 + rows * ch);
    View v(t);
    v.Fill(kSheetBack);
    DrawText(t, 0, 0, "Colours", kSheetText);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const int x = static_cast<int>(i % cols) * cw, y = 12 + static_cast<int>(i / cols) * ch;
        v.Rect(x, y, x + 18, y + 18, Rgb{0x80, 0x80, 0x80});
        v.Rect(x + 1, y + 1, x + 17, y + 17, ColourOf(all[i].second));
        DrawText(t, x + 22, y + 6, all[i].first, kSheetText);
    }
    return t;
}

// ---------------------------------------------------------------------------
// Mock-up: windows composed the way the painters compose them.

class Mock {
public:
    Mock(const TSkinElements& s) : s_(s), c_(s.Colours) {}

    Rgb Col(TColour c) const { return ColourOf(c); }

    int BL() const { return s_.Left->Image.Width() / std::max(1, s_.Left->FrameCount); }
    int BR() const { return s_.Right->Image.Width() / std::max(1, s_.Right->FrameCount); }
    int BT() const { return s_.Top->Image.Height() / std::max(1, s_.Top->FrameCount); }
    int BB() const { return s_.Bottom->Image.Height() / std::max(1, s_.Bottom->FrameCount); }

    void Edge(TBitmap& win, const TDataSkinBorder& e, Rc r, bool stacked, bool active) const {
        const int k = active || e.FrameCount < 2 ? 1 : 2;
        const TBitmap b = CreateSkinBitmap(r.W(), r.H(), e.Image, MarginsOf(e), stacked, e.Tile != 1, e.FrameCount, k);
        Blit(win, r.l, r.t, b);
    }

    // A window of w x h with a menu bar; `hot` names the hovered caption
    // button's action (-1: none).
    TBitmap Window(int w, int h, bool active, const std::string& caption, int hot, bool menu, bool maxBox = true) const {
        TBitmap win(w, h);
        View(win).Fill(kKey);
        const int bl = BL(), br = BR(), bt = BT(), bb = BB(), mh = menu ? 20 : 0;
        Edge(win, *s_.Left, {0, 0, bl, h}, false, active);
        Edge(win, *s_.Right, {w - br, 0, w, h}, false, active);
        Edge(win, *s_.Bottom, {bl, h - bb, w - br, h}, true, active);
        Edge(win, *s_.Top, {bl, 0, w - br, bt}, true, active);

        // Caption text and its background.
        const TDataSkinTitle& t = *s_.Title;
        const Rc R{bl, 0, w - br, bt};
        const int tw = TextWidth(caption + "   ") + t.TXTBackleft + t.TXTBackRight, th = kFontHeight + 6;
        int dx = 0;
        if (t.TextAlignment == 0) dx = t.LeftWidth;
        else if (t.TextAlignment == 1) dx = (R.W() - tw) / 2;
        else if (t.TextAlignment == 2) dx = R.W() - t.RightWidth - tw;
        Rc T{R.l + dx, R.t + (R.H() - th) / 2 + t.TopHeight / 2, 0, 0};
        T.r = std::min(T.l + tw, R.r - t.RightWidth);
        T.b = T.t + th;
        if (!t.Image.Empty())
            DrawSkinStrip(win, {T.l, R.t, T.r, R.b}, t.Image, true, true, 2, active ? 1 : 2, t.TXTBackleft, t.TXTBackRight);
        DrawText(win, T.l + t.TXTBackleft + TextWidth("  ") + 2, T.t + 3, caption,
                 Col(active ? c_.TitleTextActive : c_.TitleTextNoActive));

        // Caption buttons: a window with system menu, minimise and maximise
        // boxes, shown normal.
        for (const auto& b : s_.SysButtons) {
            if (b->Visibility == kMdiButtonMark) continue;
            // Shown as for a normal (not maximised) window with a system menu
            // and a minimise box, and a maximise box when `maxBox`.
            const int I = 8 | 2 | (maxBox ? 1 : 0);
            auto code = [&](int c, bool first) {
                switch (c) {
                    case 0: return first ? (b->Action != 0 || (I & 8)) : true;
                    case 1: return false;
                    case 2: return true;
                    case 3: return active;
                    case 4: return !active;
                    case 6: return first ? (I & 9) == 9 : (I & 1) != 0;
                    case 7: return !(I & 1);
                    case 8: return first ? (I & 10) == 10 : (I & 2) != 0;
                    case 9: return !(I & 2);
                    default: return c >= 200 && c <= 2000;
                }
            };
            const bool v1 = code(b->Visibility, true), v2 = code(b->Visibility1, false);
            if (b->Action == 1 && !(I & 1)) continue;
            if (!v1 || !v2) continue;
            const bool icon = b->Action == 3 || b->Action == 11;
            TBitmap iconImage(16, 16);
            if (icon) {
                View iv(iconImage);
                iv.Fill(kKey);
                iv.FillShape(RoundRectShape(0, 0, 16, 16, 3), Hex(0xE8A33D));
                iv.Rect(3, 5, 13, 7, Hex(0xFFFFFF));
                iv.Rect(3, 9, 10, 11, Hex(0xFFFFFF));
                iv.KeyOutside(RoundRectShape(0, 0, 16, 16, 3));
            }
            const TBitmap& img = icon ? iconImage : b->Image;
            const int n = icon ? 1 : std::max(1, b->FrameCount);
            if (img.Empty()) continue;
            const int bw = img.Width() / n, bh = img.Height();
            int x = 0, y = b->Ycoord;
            if (b->Align == 0) x = b->Xcoord;
            else if (b->Align == 1) x = w - b->Xcoord;
            else continue;
            int k = active ? 1 : 4;
            if (n < 4) k = 1;
            if (active && b->Action == hot) k = 3;
            DrawSkinFrame(win, {x, y, x + bw, y + bh}, img, true, n, k);
        }

        if (menu) {
            const Rc B{bl, bt, w - br, bt + mh};
            const TDataSkinObject* m = s_.MenuBar.get();
            int x0 = 6;
            if (m && !m->Image.Empty()) {
                DrawSkinStrip(win, B, m->Image, true, false, 2, active ? 1 : 2, m->LeftWidth, m->RightWidth);
                x0 = m->LeftWidth + 4;
            } else {
                View(win).Rect(B.l, B.t, B.r, B.b, Col(c_.Menubar));
            }
            int x = B.l + x0;
            const char* items[] = {"File", "Adjust", "Help"};
            for (int i = 0; i < 3; ++i) {
                const int iw = TextWidth(items[i]) + 10 + 6;
                if (i == 0 && active) View(win).Frame(x, B.t, x + iw, B.b - 1, Col(c_.ButtonHilight));
                DrawText(win, x + (iw - TextWidth(items[i])) / 2, B.t + (mh - 1 - kFontHeight) / 2, items[i], Col(c_.MenuBarText));
                x += iw;
            }
        }

        // Client area.
        const Rc C{bl, bt + mh, w - br, h - bb};
        View(win).Rect(C.l, C.t, C.r, C.b, Col(c_.ButtonFace));
        if (C.H() > 250) Client(win, C, active);
        return win;
    }

    void Button(TBitmap& d, Rc r, int frame, const std::string& text) const {
        const TDataSkinButton& b = *s_.Buttons;
        DrawSkinImage(d, r, b.Image, false, b.Tile == 1, b.Trans == 1, 5, frame, MarginsOf(b));
        Rgb tc = Col(frame == 2 ? b.PressedColour2 : frame == 4 ? b.MouseOverColour2 : b.NormalColour2);
        if (frame == 3) tc = Rgb{0xA0, 0xA0, 0xA0};
        DrawText(d, r.l + (r.W() - TextWidth(text)) / 2, r.t + (r.H() - kFontHeight) / 2, text, tc);
    }

    void Edit(TBitmap& d, Rc r) const {
        View v(d);
        v.Rect(r.l, r.t, r.r, r.b, Col(c_.Menu));  // the edit's own background
        v.Frame(r.l, r.t, r.r, r.b, Col(c_.ButtonShadow));
        v.Frame(r.l + 1, r.t + 1, r.r - 1, r.b - 1, Rgb{255, 255, 255});
    }

    void VScroll(TBitmap& d, Rc B, int pos, int len, bool pressedDown) const {
        const int sb = 17, L = B.H();
        TBitmap bar(16, L);
        View(bar).Fill(Col(c_.Scrollbar));
        if (const auto* t = s_.VertScroll.get())
            DrawSkinImage(bar, {0, sb, 16, L - sb}, t->Image, false, t->Tile == 1, t->Trans == 1, 4, 1, MarginsOf(*t));
        const TDataSkinObject& a = *s_.Scrollbar;
        DrawSkinFrame(bar, {0, 0, 16, sb}, a.Image, true, 23, 9);
        DrawSkinFrame(bar, {0, L - sb, 16, L}, a.Image, true, 23, pressedDown ? 14 : 13);
        if (const auto* th = s_.VertScrollThumb.get())
            DrawSkinImage(bar, {0, sb + pos, 16, sb + pos + len}, th->Image, false, false, th->Trans == 1,
                          th->FrameCount, 1, MarginsOf(*th));
        StretchCopy(d, B, bar, {0, 0, 16, L});
    }

    void HScroll(TBitmap& d, Rc B, int pos, int len) const {
        const int sb = 17, L = B.W();
        TBitmap bar(L, 16);
        View(bar).Fill(Col(c_.Scrollbar));
        if (const auto* t = s_.HorzScroll.get())
            DrawSkinImage(bar, {sb, 0, L - sb, 16}, t->Image, false, t->Tile == 1, t->Trans == 1, 4, 1, MarginsOf(*t));
        const TDataSkinObject& a = *s_.Scrollbar;
        DrawSkinFrame(bar, {0, 0, sb, 16}, a.Image, true, 23, 1);
        DrawSkinFrame(bar, {L - sb, 0, L, 16}, a.Image, true, 23, 5);
        if (const auto* th = s_.HorzScrollThumb.get())
            DrawSkinImage(bar, {sb + pos, 0, sb + pos + len, 16}, th->Image, false, false, th->Trans == 1,
                          th->FrameCount, 1, MarginsOf(*th));
        StretchCopy(d, B, bar, {0, 0, L, 16});
    }

    void Client(TBitmap& d, Rc C, bool active) const {
        View v(d);
        const Rgb text = Col(c_.WindowText);
        // Tabs over a page.
        const Rc page{C.l + 8, C.t + 8 + 22, C.r - 8, C.b - 52};
        if (const auto* t = s_.Tabs.get()) {
            const char* tabs[] = {"Subtitles", "Options"};
            int x = page.l + 2;
            for (int i = 0; i < 2; ++i) {
                const int tw = TextWidth(tabs[i]) + 24;
                const int k = i == 0 ? 2 : 1;
                DrawSkinImage(d, {x, page.t - 21, x + tw, page.t + 1}, t->Image, false, t->Tile == 1, t->Trans == 1, 5, k,
                              MarginsOf(*t));
                DrawText(d, x + 12, page.t - 21 + 8, tabs[i], Col(k == 2 ? t->MouseOverColour2 : t->NormalColour2));
                x += tw;
            }
            DrawSkinBorder(d, page, t->Image2, 1, 1, {4, 5, 4, 4});
        }
        // Memo with both bars.
        const Rc memo{page.l + 10, page.t + 12, page.r - 130, page.b - 12};
        Edit(d, memo);
        const char* lines[] = {"1", "00:00:01,200 --> 00:00:03,900", "Where were you last night?", "",
                               "2", "00:00:04,100 --> 00:00:06,000", "Out. Walking by the harbour."};
        for (int i = 0; i < 7; ++i) DrawText(d, memo.l + 5, memo.t + 5 + i * 11, lines[i], text);
        // Selected line.
        v.Rect(memo.l + 4, memo.t + 5 + 7 * 11 - 2, memo.l + 120, memo.t + 5 + 8 * 11 - 2, Col(c_.Hilight));
        DrawText(d, memo.l + 5, memo.t + 5 + 7 * 11, "3", Col(c_.HilightText));
        VScroll(d, {memo.r - 2 - 17, memo.t + 2, memo.r - 2, memo.b - 2 - 17}, 18, 40, true);
        HScroll(d, {memo.l + 2, memo.b - 2 - 17, memo.r - 2 - 17, memo.b - 2}, 30, 90);
        v.Rect(memo.r - 2 - 17, memo.b - 2 - 17, memo.r - 2, memo.b - 2, Col(c_.ButtonFace));

        // Right column: offset edit with up-down, buttons, combo, checks.
        int x = memo.r + 12, y = memo.t;
        DrawText(d, x, y, "Offset (ms):", text);
        y += 12;
        Edit(d, {x, y, x + 84, y + 21});
        DrawText(d, x + 5, y + 7, "-1500", text);
        if (const auto* u = s_.UpDown.Vert.get()) {
            const Rc ud{x + 84 - 2 - 16, y + 2, x + 84 - 2, y + 21 - 2};
            const int half = ud.H() / 2;
            const Rc b1{ud.l, ud.t, ud.r, ud.t + half}, b2{ud.l, ud.t + half, ud.r, ud.b};
            View(d).Rect(ud.l, ud.t, ud.r, ud.b, Col(c_.ButtonFace));
            DrawSkinFrame(d, b1, u->Image, true, 8, 1);
            DrawSkinFrame(d, b2, u->Image, true, 8, 5 + 1);
            const int gw = u->Image2.Width() / 8, gh = u->Image2.Height();
            auto glyph = [&](Rc b, int f) {
                const int gx = b.l + (b.W() - gw) / 2, gy = b.t + (b.H() - gh) / 2;
                DrawSkinFrame(d, {gx, gy, gx + gw, gy + gh}, u->Image2, true, 8, f);
            };
            glyph(b1, 1);
            glyph(b2, 6);
        }
        y += 30;
        Button(d, {x, y, x + 96, y + 24}, 1, "Open...");
        Button(d, {x, y + 30, x + 96, y + 54}, active ? 4 : 1, "Adjust");
        Button(d, {x, y + 60, x + 96, y + 84}, 2, "Save...");
        Button(d, {x, y + 90, x + 96, y + 114}, 3, "Undo");
        y += 124;
        // Combo box.
        if (const auto* cb = s_.ComboButton.get()) {
            const Rc R{x, y, x + 96, y + 21};
            const int Bw = 17;
            if (const auto* se = s_.SunkEdge.get())
                DrawSkinImage(d, R, se->Image, false, se->Tile == 1, se->Trans == 1, 4, 1, MarginsOf(*se));
            DrawSkinFrame(d, {R.r - Bw - 2, R.t, R.r, R.b}, cb->Image, true, 4, 1);
            if (const auto* ex = s_.ExtraImages.get()) {
                const int cw = ex->Image.Width() / 5, ch = ex->Image.Height();
                const Rc g{R.r - Bw - 2, R.t, R.r - 2, R.b};
                const int gx = g.l + (g.W() - cw) / 2, gy = g.t + (g.H() - ch) / 2;
                DrawSkinFrame(d, {gx, gy, gx + cw, gy + ch}, ex->Image, true, 5, 1);
            }
            DrawText(d, R.l + 5, R.t + 7, "UTF-8", text);
        }
        y += 30;
        const TDataSkinButton& b = *s_.Buttons;
        auto mark = [&](const TBitmap& img, int n, int cell, int yy, const char* label) {
            const int cw = img.Width() / n, ch = img.Height();
            DrawSkinFrame(d, {x, yy, x + cw, yy + ch}, img, true, n, cell);
            DrawText(d, x + cw + 5, yy + (ch - kFontHeight) / 2, label, text);
        };
        mark(b.CheckButton, b.CheckButtonFrame, 2, y, "Keep backup");
        mark(b.CheckButton, b.CheckButtonFrame, 1, y + 18, "Round to frames");
        mark(b.RadioButton, b.RadioButtonFrame, 2, y + 36, "Shift all");
        mark(b.RadioButton, b.RadioButtonFrame, 1, y + 54, "Shift from cue");

        // Progress and track bar under the page.
        const int py = page.b + 6;
        if (const auto* p = s_.Progress.get()) {
            const Rc R{C.l + 8, py, C.l + 8 + 180, py + 14};
            DrawSkinImage(d, R, p->Image, false, p->Tile == 1, true, 2, 1, MarginsOf(*p));
            DrawSkinImage(d, {R.l, R.t, R.l + R.W() * 62 / 100, R.b}, p->Image, false, p->Tile == 1, true, 2, 2,
                          MarginsOf(*p));
        }
        if (const auto* tb = s_.Trackbar.ThumbHorz.get()) {
            const int tx = C.l + 210;
            v.Rect(tx, py + 6, tx + 150, py + 10, Col(c_.ButtonShadow));
            v.Rect(tx + 1, py + 7, tx + 149, py + 9, Col(c_.Scrollbar));
            DrawSkinFrame(d, {tx + 90, py - 3, tx + 101, py + 17}, tb->Image, true, 5, 2);
        }
        // Status bar with grip.
        if (const auto* sbe = s_.StatusBarEdges.get()) {
            const Rc S{C.l, C.b - 20, C.r, C.b};
            const Rc p1{S.l, S.t, S.l + 160, S.b}, p2{p1.r, S.t, S.r, S.b};
            Blit(d, p1.l, p1.t, CreateSkinBitmap(p1.W(), p1.H(), sbe->Image, MarginsOf(*sbe), false, false, 3, 1));
            Blit(d, p2.l, p2.t, CreateSkinBitmap(p2.W(), p2.H(), sbe->Image, MarginsOf(*sbe), false, false, 3, 1));
            DrawText(d, p1.l + 6, p1.t + 7, "128 cues, shifted", Col(sbe->NormalColour2));
            DrawText(d, p2.l + 6, p2.t + 7, "harbour.srt", Col(sbe->NormalColour2));
            if (const auto* ex = s_.ExtraImages.get()) {
                const int cw = ex->Image.Width() / 5, ch = ex->Image.Height();
                DrawSkinFrame(d, {S.r - 1 - cw, S.b - 1 - ch, S.r - 1, S.b - 1}, ex->Image, true, 5, 5);
            }
        }
    }

    TBitmap Popup() const {
        const char* items[] = {" Restore ", " Maximize ", " Minimize ", "-", " Close "};
        const int w = 150, ih = 20, sh = 9;
        const int h = 6 + 4 * ih + sh;
        TBitmap pop(w, h);
        const TDataSkinObject* bg = s_.MenuBackground.get();
        if (bg) Blit(pop, 0, 0, CreateSkinBitmap(w, h, bg->Image, MarginsOf(*bg), false, bg->Tile == 1, 1, 1));
        const TDataSkinObject* mi = s_.MenuItem.get();
        int y = 3;
        for (int i = 0; i < 5; ++i) {
            const bool sep = items[i][0] == '-';
            const int hh = sep ? sh : ih;
            const Rc R{3, y, w - 3, y + hh};
            const bool selected = i == 4;
            if (mi && !sep)
                DrawSkinImage(pop, R, mi->Image, false, mi->Tile == 1, mi->Trans == 1, 5, selected ? 4 : 1, MarginsOf(*mi));
            if (mi && sep) {
                // Frame 2, its bottom rows, left and right pieces fixed.
                const int FW = mi->Image.Width() / 5, IH = mi->Image.Height();
                const int sy = IH > hh ? IH - hh : 0;
                TBitmap b(R.W(), hh);
                const int L = mi->LeftWidth, Rw = mi->RightWidth;
                StretchCopy(b, {0, 0, L, hh}, mi->Image, {FW, sy, FW + L, IH});
                StretchCopy(b, {R.W() - Rw, 0, R.W(), hh}, mi->Image, {2 * FW - Rw, sy, 2 * FW, IH});
                StretchCopy(b, {L, 0, R.W() - Rw, hh}, mi->Image, {FW + L, sy, 2 * FW - Rw, IH});
                DrawTransparent(pop, R.l, R.t, b);
            }
            if (!sep) {
                const int gx = R.l + 1 + (mi ? mi->LeftWidth : 0);
                const Rgb tc = Col(selected ? c_.HilightText : i == 0 ? c_.ButtonShadow : c_.MenuText);
                DrawText(pop, gx + 16 + 3, R.t + (hh - kFontHeight) / 2, items[i], tc);
                if (i == 4) DrawText(pop, R.r - 11 - TextWidth("Shift+F4"), R.t + (hh - kFontHeight) / 2, "Shift+F4", tc);
            }
            y += hh;
        }
        return pop;
    }

private:
    const TSkinElements& s_;
    const TSkinColours& c_;
};

}  // namespace

TBitmap ContactSheet(const TSkinElements& s, int scale, const std::string& drawnAt) {
    std::vector<Item> items;
    auto add = [&](std::string label, const TBitmap& img, int n, bool stacked) {
        if (!img.Empty()) items.push_back({std::move(label), &img, n, stacked});
    };
    add("Left", s.Left->Image, s.Left->FrameCount, false);
    add("Right", s.Right->Image, s.Right->FrameCount, false);
    add("Top", s.Top->Image, s.Top->FrameCount, true);
    add("Bottom", s.Bottom->Image, s.Bottom->FrameCount, true);
    add("Title TextBack", s.Title->Image, 2, true);
    if (s.MenuBar) add("menuBar", s.MenuBar->Image, s.MenuBar->FrameCount, true);
    for (const auto& b : s.SysButtons)
        if (!b->Image.Empty()) add(b->Name + " (action " + std::to_string(b->Action) + ")", b->Image, b->FrameCount, false);
    add("Buttons", s.Buttons->Image, s.Buttons->FrameCount, false);
    add("Buttons CheckButton", s.Buttons->CheckButton, s.Buttons->CheckButtonFrame, false);
    add("Buttons RadioButton", s.Buttons->RadioButton, s.Buttons->RadioButtonFrame, false);
    for (std::string_view name : TSkinElements::SlotNames()) {
        if (name == "Left" || name == "Right" || name == "Top" || name == "Bottom" || name == "Title" ||
            name == "Buttons" || name == "MenuBar")
            continue;
        const TDataSkinObject* o = s.Slot(name);
        if (!o) continue;
        add(std::string(name), o->Image, o->FrameCount, false);
        if (const auto* b = dynamic_cast<const TDataSkinBorder*>(o)) {
            const int n = name == "Tabs" || name == "Progress" ? 1 : o->FrameCount;
            const char* what = name == "Tabs" ? " Border" : name == "Progress" ? " Chunk"
                               : name == "ComboButton" ? " (mirrored)" : " GlyphImage";
            add(std::string(name) + what, b->Image2, n, false);
        }
    }

    std::vector<TBitmap> tiles;
    for (const Item& it : items) tiles.push_back(Tile(it, scale));
    tiles.push_back(Swatches(s));

    const int maxW = 1500, pad = 16;
    struct Placed { int x, y; };
    std::vector<Placed> at;
    int x = pad, y = 28, rowH = 0, width = 0;
    for (const TBitmap& t : tiles) {
        if (x + t.Width() + pad > maxW && x > pad) {
            x = pad;
            y += rowH + pad;
            rowH = 0;
        }
        at.push_back({x, y});
        x += t.Width() + pad;
        rowH = std::max(rowH, t.Height());
        width = std::max(width, x);
    }
    TBitmap sheet(std::max(width, 400), y + rowH + pad);
    View(sheet).Fill(kSheetBack);
    const std::string scaleNote = drawnAt.empty() ? "" : " drawn at " + drawnAt;
    DrawText(sheet, pad, 8, "Skin \"" + s.SkinName + "\"" + scaleNote + ": every element image, " + std::to_string(scale) +
                                "x, frames pulled apart (fuchsia = left out)", kSheetText, 1);
    for (std::size_t i = 0; i < tiles.size(); ++i) Blit(sheet, at[i].x, at[i].y, tiles[i]);
    return sheet;
}

TBitmap Mockup(const TSkinElements& s, int scale) {
    Mock m(s);
    const int W = 600, H = 400;
    TBitmap desk(W * 2 + 60, H + 60 + 140);
    View dv(desk);
    dv.VGradient(0, 0, desk.Width(), desk.Height(), Hex(0x6E8AA6), Hex(0x44586D));
    const TBitmap active = m.Window(W, H, true, "harbour.srt - SrtRetime", 0, true);
    const TBitmap inactive = m.Window(W, H, false, "SrtRetime", -1, true);
    DrawTransparent(desk, 20, 20, active);
    DrawTransparent(desk, W + 40, 20, inactive);
    const TBitmap pop = m.Popup();
    Blit(desk, 40, H + 40, pop);
    // A small dialog without maximise box: its buttons still line up.
    const TBitmap dlg = m.Window(300, 110, true, "Error", 2, false, false);
    DrawTransparent(desk, 230, H + 30, dlg);
    return Scaled(desk, scale);
}

}  // namespace srt::art
