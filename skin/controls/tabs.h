// Tab skins: the native tab control (tabs on any of its four sides, its
// scroll arrows skinned as an up-down) and the tab set whose tabs hang from
// its top edge. Both draw from "Tabs": Image the tabs (frame 1 normal, 2
// selected), Image2 the border of the display area, whose sheet takes the
// skin's Client colour when it has one. The current tab shows a focus
// rectangle while the keyboard has the focus.
#pragma once

#include "skin/controls/skincontrol.h"

namespace srt {

class TSkinUpDown;

// Image operations of the tab skins, on 32-bit bitmaps.
::TBitmap FlipVertical(const ::TBitmap& source);
// A quarter turn: counter-clockwise, or clockwise.
::TBitmap Rotate(const ::TBitmap& source, bool clockwise);

class TSkinTab : public TSkinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinTab(TComponent* owner) : TSkinControl(owner) {}
    void InitWindow(HWND window, TSkinData* data) override;
    // The same for a tab control object an application hands over.
    void InitControl(TWinControl* control, TSkinData* data, bool changeColour) override;
    void DrawControl(HDC dc, const RECT& r) override;
    void SkinChange() override;
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;

    // 0 top, 1 bottom, 2 left, 3 right.
    int TabPosition() const { return FTabPosition; }
    const ::TBitmap& TabImage() const { return FTabImage; }
    const ::TBitmap& BorderImage() const { return FBorderImage; }
    TSkinUpDown* UpDown() const { return FUpDown; }

private:
    void Prepare();
    void PrepareImages();
    // The up-down child, skinned once; true when it is visible.
    bool FindUpDown(RECT& window);
    // The sheet (the display area inside `border`) in the skin's Client
    // colour, the visible children left out; nothing without that colour.
    void FillSheet(HDC dc, const RECT& border);
    // The focused tab shows the focus cue: the keyboard has the focus and
    // the window's UI state does not hide it.
    bool ShowsFocusCue() const;

    int FTabPosition = 0;
    ::TBitmap FTabImage;
    ::TBitmap FBorderImage;
    ::TBitmap FStripBuffer;
    TSkinUpDown* FUpDown = nullptr;
    int FImageDpi = 0;  // the DPI FTabImage and FBorderImage were prepared at
    int FFocusHidden = -1;  // focus cues hidden (1) or shown (0) by WM_UPDATEUISTATE; -1: not told
};

// The tab set (a TTabSet object).
class TSkinTab31 : public TSkinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinTab31(TComponent* owner) : TSkinControl(owner) {}
    void InitControl(TWinControl* control, TSkinData* data, bool changeColour) override;
    void DrawControl(HDC dc, const RECT& r) override;
    void AfterProc(TMessage& m) override;

protected:
    TPaintMode PaintMode() const override { return TPaintMode::Whole; }
    void OnPaint(TMessage& m) override;

private:
    ::TBitmap FTabImage;
    int FImageDpi = 0;  // the DPI FTabImage was prepared at
    int FFocusHidden = -1;  // as in TSkinTab
};

}  // namespace srt
