// Control skins of the button family: push buttons, check boxes and radio
// buttons, painted from the skin's "Buttons" element.
#pragma once

#include "component/buttons.h"
#include "component/glyphlayout.h"
#include "skin/controls/skincontrol.h"

namespace srt {

// Frames of the "Buttons" image.
enum TButtonFrame { bfNormal = 1, bfPressed = 2, bfDisabled = 3, bfHot = 4 };

// The frame a button shows: disabled wins over pressed, pressed over hot and focus.
int ButtonFrame(bool focused, bool pressed, bool hot, bool enabled);

// A push button. The press is kept from the button's own procedure; the
// skin produces the click on the mouse-up, only after a press on it.
class TSkinButton : public TSkinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinButton(TComponent* owner) : TSkinControl(owner) {}
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;

protected:
    TPaintMode PaintMode() const override { return TPaintMode::Whole; }
    // The caption colour of a frame.
    TColor CaptionColour(int frame, bool enabled) const;
    void OnLButtonDown(TMessage& m);
    void OnLButtonUp();
    // The space bar presses and releases the button; false for other keys.
    bool OnKey(TMessage& m);
    // The keyboard-focus cue over a composed face `r`, in the caption colour.
    void DrawFocus(HDC dc, const RECT& r, TColor colour) const;
    ::TBitmap FBuffer;
};

// A bitmap button: the push button's frames, with the button's glyph (its
// first frame, whatever the state) beside the caption.
class TSkinBitButton : public TSkinButton {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinBitButton(TComponent* owner) : TSkinButton(owner) {}
    void DrawControl(HDC dc, const RECT& r) override;
};

// A speed button: a control without a window, painted on its parent's. It
// keeps its own press; the skin only follows it.
class TSkinSpeedButton : public TSkinBitButton {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinSpeedButton(TComponent* owner) : TSkinBitButton(owner) {}
    ~TSkinSpeedButton() override;
    // Attaches to the speed button and registers with the owner.
    void InitSpeedButton(TSpeedButton* button, TSkinData* data);
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    void PaintControl(HDC dc) override;
    void DrawSpeedButton(HDC dc, const RECT& r);

protected:
    TPaintMode PaintMode() const override;
    void OnPaint(TMessage& m) override;

private:
    TSpeedButton* Button() const;
    void OnLButtonDown(TMessage& m);
    void OnMouseLeave();
    // Sets or clears the press and repaints.
    void SetPressed(bool pressed);
};

// The frame of a speed button: Down wins over everything, disabled over
// pressed and hot.
int SpeedButtonFrame(bool pressed, bool hot, bool enabled, bool down);
// The glyph shown with a frame: 1 up, 2 disabled, 3 down; 1 when the strip
// has fewer glyphs.
int SpeedButtonGlyph(int frame, int numGlyphs);

// Frame `index` (from 1) of `count` glyphs side by side, drawn at (x, y) with
// the colour of its pixel (0, 0) left out. Nothing for a count below 1.
void DrawGlyphFrame(HDC dc, POINT at, int count, int index, ::TBitmap& glyph);

// Check boxes and radio buttons: the native control paints, then the skin
// paints the mark cell over it.
class TSkinCheckBox : public TSkinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinCheckBox(TComponent* owner) : TSkinControl(owner) {}
    void AfterProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;
    // The cell shown: 1 unchecked, 2 checked, 3 and 4 disabled; 4 indeterminate.
    int Cell();

protected:
    virtual bool Radio() const { return false; }
};

class TSkinRadioButton : public TSkinCheckBox {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinRadioButton(TComponent* owner) : TSkinCheckBox(owner) {}

protected:
    bool Radio() const override { return true; }
};

// Where the mark cell of width W and height H goes in a button rectangle at `dpi`.
RECT MarkRect(const RECT& r, int w, int h, bool leftText, int dpi = kDesignDpi);

}  // namespace srt
