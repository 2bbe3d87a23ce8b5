// Bitmap and speed buttons: the glyph beside the caption, a glyph count of 0,
// the speed button's frames and glyphs, its own press, and its skin outliving it.
#include "fixture.h"

#include "component/buttons.h"
#include "skin/controls/buttons.h"
#include "skin/draw/skindraw.h"

using namespace ctltest;
using namespace srt;

namespace {

constexpr COLORREF kGlyphColour = RGB(0, 200, 0);
constexpr COLORREF kGlyphKey = RGB(255, 255, 0);

// A strip of `count` 12 x 12 glyphs: the key colour at (0, 0), the rest green.
void MakeGlyph(::TBitmap& glyph, int count) {
    glyph.SetSize(12 * count, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12 * count; ++x) glyph.SetPixel(x, y, x % 12 == 0 && y == 0 ? kGlyphKey : kGlyphColour);
}

int CountColour(const ::TBitmap& b, COLORREF c) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) == c;
    return n;
}

class BitButtons : public Fixture {
protected:
    TBitBtn* NewBitBtn() {
        auto* b = new TBitBtn(form);
        b->SetParent(form);
        b->SetBounds(10, 10, 100, 30);
        b->SetCaption("Open");
        MakeGlyph(b->Glyph(), 1);
        return b;
    }
    TSpeedButton* NewSpeedButton(int x) {
        auto* b = new TSpeedButton(form);
        b->SetParent(form);
        b->SetBounds(x, 60, 40, 30);
        MakeGlyph(b->Glyph(), 3);
        b->SetNumGlyphs(3);
        b->OnClick.Code = [this](TObject*) { ++clicks; };
        return b;
    }
    // The speed button composed on a bitmap.
    ::TBitmap Draw(TSkinSpeedButton& skin, TSpeedButton& b) {
        ::TBitmap shown(b.Width(), b.Height());
        skin.DrawSpeedButton(shown.Canvas(), b.ClientRect());
        GdiFlush();
        return shown;
    }
    // The "Buttons" frame's pixel at (x, y) of a w x h button.
    COLORREF Frame(int frame, int w, int h, int x, int y) {
        TDataSkinButton& e = *data->Buttons;
        ::TBitmap f = CreateSkinBitmap({0, 0, w, h}, e.Image, {e.FrameCount, frame},
                                       {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight},
                                       (e.Tile == 1) ? TFill::Tile : TFill::Stretch);
        const COLORREF c = f.Pixel(x, y);
        return c == kSkinKey && e.Trans == 1 ? Gdi(data->Colours.ButtonFace) : c;
    }
    int clicks = 0;
};

}  // namespace

TEST_F(BitButtons, GlyphBesideTheCaptionAndNoGlyphForACountOfZero) {
    TBitBtn* b = NewBitBtn();
    auto* skin = new TSkinBitButton(skins.get());
    skin->InitControl(b, data.get(), false);
    ::TBitmap shown = Paint(*skin);
    EXPECT_EQ(CountColour(shown, kGlyphColour), 12 * 12 - 1);  // the key pixel is left out
    // Where the layout puts it, with the caption measured in the button's font.
    const RECT c = b->ClientRect();
    RECT text = c;
    {
        ::TBitmap probe(1, 1);
        HGDIOBJ old = SelectObject(probe.Canvas(), reinterpret_cast<HGDIOBJ>(SendMessageW(b->Handle(), WM_GETFONT, 0, 0)));
        DrawTextW(probe.Canvas(), L"Open", -1, &text, DT_CALCRECT | DT_SINGLELINE);
        SelectObject(probe.Canvas(), old);
    }
    const TGlyphLayout g = CalcGlyphLayout(c.right, c.bottom, 12, 12, text.right - text.left, text.bottom - text.top,
                                           blGlyphLeft, -1, 4, false);
    EXPECT_EQ(shown.Pixel(g.glyphX + 1, g.glyphY), kGlyphColour);
    EXPECT_EQ(shown.Pixel(g.glyphX + 11, g.glyphY + 11), kGlyphColour);
    EXPECT_NE(shown.Pixel(g.glyphX - 1, g.glyphY + 5), kGlyphColour);

    for (int count : {0, 128}) {
        b->SetNumGlyphs(count);
        EXPECT_EQ(CountColour(Paint(*skin), kGlyphColour), 0) << count;
    }
}

TEST(SpeedButtonFrames, DownWinsAndGlyphsFallBackToTheFirst) {
    EXPECT_EQ(SpeedButtonFrame(false, false, true, false), bfNormal);
    EXPECT_EQ(SpeedButtonFrame(true, true, true, false), bfPressed);
    EXPECT_EQ(SpeedButtonFrame(false, true, true, false), bfHot);
    EXPECT_EQ(SpeedButtonFrame(true, false, false, false), bfDisabled);
    EXPECT_EQ(SpeedButtonFrame(false, false, false, true), bfPressed);
    EXPECT_EQ(SpeedButtonGlyph(bfPressed, 3), 3);
    EXPECT_EQ(SpeedButtonGlyph(bfPressed, 2), 1);
    EXPECT_EQ(SpeedButtonGlyph(bfDisabled, 2), 2);
    EXPECT_EQ(SpeedButtonGlyph(bfDisabled, 1), 1);
    EXPECT_EQ(SpeedButtonGlyph(bfHot, 4), 1);
    EXPECT_EQ(SpeedButtonGlyph(bfPressed, 131), 3);  // the count is taken modulo 128
}

TEST_F(BitButtons, SpeedButtonFromOnSkinControlKeepsItsOwnPressAndFrames) {
    TSpeedButton* b = NewSpeedButton(10);
    TSkinSpeedButton* made = nullptr;
    data->OnSkinControl.Code = [&](TObject* sender, TSkinData* d, TComponent*, TComponent* control,
                                   const std::string& cls, TObject*& skin) {
        if (cls != "TSPEEDBUTTON") return;
        made = new TSkinSpeedButton(dyncast<TControlSkins>(sender));
        made->InitSpeedButton(static_cast<TSpeedButton*>(control), d);
        skin = made;
    };
    skins->ClassifyComponents(form);
    skins->ClassifyComponents(form);  // found in the list the second time
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(std::count(skins->Controls().begin(), skins->Controls().end(), made), 1);
    EXPECT_EQ(made->GraphicControl(), b);

    // The press goes to the speed button's own procedure, which clicks on release.
    const LPARAM at = MAKELPARAM(b->Left() + 5, b->Top() + 5);
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_TRUE(made->State() & kPressed);
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_FALSE(made->State() & kPressed);
    EXPECT_EQ(clicks, 1);

    const int w = b->Width(), h = b->Height(), x = 1, y = h / 2;
    EXPECT_EQ(Draw(*made, *b).Pixel(x, y), Frame(bfNormal, w, h, x, y));
    b->SetGroupIndex(1);
    b->SetDown(true);
    b->SetEnabled(false);
    ::TBitmap down = Draw(*made, *b);
    EXPECT_EQ(down.Pixel(x, y), Frame(bfPressed, w, h, x, y));  // down wins over disabled
    EXPECT_GT(CountColour(down, kGlyphColour), 0);
    b->SetNumGlyphs(0);
    EXPECT_EQ(CountColour(Draw(*made, *b), kGlyphColour), 0);
}

TEST_F(BitButtons, SpeedButtonSkinOutlivesItsButton) {
    TSpeedButton* b = NewSpeedButton(60);
    auto* skin = new TSkinSpeedButton(skins.get());
    skin->InitSpeedButton(b, data.get());
    ASSERT_TRUE(skins->Contains(skin));
    delete b;
    EXPECT_EQ(skin->GraphicControl(), nullptr);
    skins->SkinChange();  // nothing to invalidate
    skin->PaintControl(nullptr);
    skins->Release();     // nothing to give back
    SUCCEED();
}
