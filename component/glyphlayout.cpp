#include "component/glyphlayout.h"

TGlyphLayout CalcGlyphLayout(int cw, int ch, int gw, int gh, int tw, int th, TButtonLayout layout, int margin,
                             int spacing, bool speedButton) {
    TGlyphLayout g;
    int textX = 0, textY = 0;
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    if (horizontal) {
        g.glyphY = (ch - gh + 1) / 2;
        textY = (ch - th + 1) / 2;
    } else {
        g.glyphX = (cw - gw + 1) / 2;
        textX = (cw - tw + 1) / 2;
    }
    if (tw == 0 || gw == 0) spacing = 0;
    const int axis = horizontal ? cw : ch;
    const int glyph = horizontal ? gw : gh;
    const int text = horizontal ? tw : th;
    if (margin == -1 && spacing == -1) {
        margin = (axis - (glyph + text)) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = (axis - (glyph + spacing + text)) / 2 + (speedButton ? 1 : 0);
    } else if (spacing == -1) {
        spacing = ((axis - (margin + glyph)) - text) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        g.glyphX = margin;
        textX = g.glyphX + gw + spacing;
        break;
    case blGlyphRight:
        g.glyphX = cw - margin - gw;
        textX = g.glyphX - spacing - tw;
        break;
    case blGlyphTop:
        g.glyphY = margin;
        textY = g.glyphY + gh + spacing;
        break;
    case blGlyphBottom:
        g.glyphY = ch - margin - gh;
        textY = g.glyphY - spacing - th;
        break;
    }
    g.textLeft = textX;
    g.textTop = textY;
    g.textRight = textX + tw;
    g.textBottom = textY + th;
    return g;
}
