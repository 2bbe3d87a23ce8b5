// Placement of a button's glyph and caption, for the stock bitmap and speed
// buttons and for their skins. Platform-free.
#pragma once

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TGlyphLayout {
    int glyphX = 0, glyphY = 0;
    int textLeft = 0, textTop = 0, textRight = 0, textBottom = 0;
};

// `margin` and `spacing` -1 mean automatic; `speedButton` selects the speed
// button's automatic margin (one more pixel). All divisions truncate.
TGlyphLayout CalcGlyphLayout(int clientWidth, int clientHeight, int glyphWidth, int glyphHeight, int textWidth,
                             int textHeight, TButtonLayout layout, int margin, int spacing, bool speedButton);
