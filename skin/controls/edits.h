// Control skins of text-entry controls: the edit border, the combo box's
// edge and drop-down button, and spin (up-down) buttons.
#pragma once

#include "skin/controls/skincontrol.h"

namespace srt {

class TSkinUpDown;

// Two lines over the outer edge of an edit box or memo: "ButtonShadow"
// outside, the skin's Edit colour (white without one) inside. A date
// picker's text is recoloured to EditText. A spin button inside the edit gets its own skin.
class TSkinEdit : public TSkinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinEdit(TComponent* owner) : TSkinControl(owner) {}
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;
    // The border drawn for WM_PRINT: the DC's brush inside, "ButtonShadow" outside.
    void PrintBorder(HDC dc);
    TSkinUpDown* UpDown() const { return FUpDown; }

protected:
    // The border lies outside the client area.
    TPaintMode PaintMode() const override { return TPaintMode::Outside; }

private:
    TSkinUpDown* FUpDown = nullptr;
};

// Combo boxes: the "SunkEdge" frame, the "ComboButton" frame (on the left,
// from the mirrored strip, with WS_EX_LEFTSCROLLBAR) and the arrow glyph of
// "ExtraImages"; or the flat look when "ComboButton" has Style 1.
class TSkinComBox : public TSkinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinComBox(TComponent* owner) : TSkinControl(owner) {}
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;
    // The drop-down button's rectangle in a window rectangle at origin, from
    // the platform's metrics at `dpi`: a scroll arrow's width and the edge.
    static RECT ButtonRect(const RECT& r, bool left, int dpi = kDesignDpi);
    // The button where the combo box itself takes clicks on it (its
    // COMBOBOXINFO), through the edge beside it; ButtonRect at the window's
    // DPI where the window does not tell.
    RECT ClickedButtonRect(const RECT& r, bool left) const;

private:
    void DrawEdge(HDC dc, const RECT& r);
    void DrawFlat(HDC dc, const RECT& r);
    // `inside` (within the edge) in the field's brush around the edit
    // child, under a skin with an Edit colour.
    void FillEditPadding(HDC dc, const RECT& inside);
    // Sets or clears a state bit and repaints.
    void SetStateBit(unsigned char bit, bool on);
    LONG_PTR FStyle = 0;
    LONG_PTR FExStyle = 0;
};

// Up-down buttons from "UpDown.Vert" / "UpDown.Horz", or plain boxes with
// line arrows without them.
class TSkinUpDown : public TSkinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinUpDown(TComponent* owner) : TSkinControl(owner) {}
    bool BeforeProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;

    // States of the two buttons (1 normal, 2 pressed, 3 disabled, 4 hot) for
    // the cursor at `p` in client coordinates.
    static void ButtonStates(const RECT& client, bool horizontal, POINT p, bool pressed, bool hot, bool enabled,
                             int& first, int& second, RECT& firstRect, RECT& secondRect);

    // The fixed border pieces of a button's frame away from the design DPI:
    // the element's margins, or without any, its rounded corner and edge
    // (kButtonCorner 96-DPI pixels) at `dpi`.
    static constexpr int kButtonCorner = 3;
    static TMargins ButtonMargins(const TDataSkinObject& element, int dpi);

    bool FInEdit = false;
    int FHorizontal = 0;

protected:
    TPaintMode PaintMode() const override { return TPaintMode::Whole; }

private:
    void OnLButtonDown(TMessage& m);
    void OnLButtonUp(TMessage& m);
    void DrawUpDownButton(HDC dc, TDataSkinBorder& element, const RECT& r, int part, int state);
    void DrawPlainButton(HDC dc, const RECT& r, int part, int state);
    void DrawPlainButtonAt(HDC dc, const RECT& r, int part, HBRUSH face, COLORREF ink, int dpi);
};

}  // namespace srt
