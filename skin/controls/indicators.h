// Control skins of containers and indicators: panels and group boxes, status
// bars, progress bars, track-bar thumbs, headers and the size grips of
// dialogs.
#pragma once

#include "skin/controls/skincontrol.h"

namespace srt {

// Panels, radio and check groups, navigators: only recoloured to the skin's
// background; every message goes on to the control as it came.
class TSkinBox : public TSkinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinBox(TComponent* owner) : TSkinControl(owner) {}
    void InitControl(TWinControl* control, TSkinData* data, bool changeColour) override;
    void AfterProc(TMessage&) override {}
};

// Status bars from "StatusBarEdges" (1 lowered, 2 raised, 3 no bevel) and the
// size grip of "ExtraImages"; Frame3D edges without the element. Needs the
// TStatusBar object for its panels.
class TSkinStatusBar : public TSkinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinStatusBar(TComponent* owner) : TSkinControl(owner) {}
    void DrawControl(HDC dc, const RECT& r) override;

protected:
    TPaintMode PaintMode() const override { return TPaintMode::Whole; }
};

// Progress bars from "Progress": trough and bar frames, or with Style 1 the
// whole image as trough and the "Chunk" image repeated as the bar.
class TSkinProgress : public TSkinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinProgress(TComponent* owner) : TSkinControl(owner) {}
    void DrawControl(HDC dc, const RECT& r) override;
    // The right edge of the bar for position `pos` of upper limit `max`;
    // `r.left` when no bar is drawn.
    static int BarRight(const RECT& r, int pos, int max);

protected:
    TPaintMode PaintMode() const override;
    bool SkipsErase() const override { return true; }
};

// Track bars: the thumb through custom draw. The platform draws the channel
// and the ticks at their 96-DPI sizes; at another DPI they are drawn here in
// the platform's look at the scaled sizes (trackgeom.h).
class TSkinTrackBar : public TSkinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinTrackBar(TComponent* owner) : TSkinControl(owner) {}
    bool BeforeProc(TMessage& m) override;
    // The custom-draw answer; draws the thumb, and at another DPI than 96
    // the channel and the ticks, when that is the item.
    LRESULT CustomDraw(NMCUSTOMDRAW& cd);

protected:
    bool SkipsErase() const override { return true; }

private:
    // True when the notification was custom draw, answered here.
    bool OnNotify(TMessage& m);
    void DrawThumb(HDC dc);
    // False when the platform's own drawing is right (96 DPI) or kept (a
    // selection range, which the platform marks in both).
    bool DrawChannel(HDC dc, const RECT& channel);
    bool DrawTicks(HDC dc);
};

// Header sections from "Headerbar" frame 1, painted after the native header.
class TSkinHeader : public TSkinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinHeader(TComponent* owner) : TSkinControl(owner) {}
    // Attaches and registers with the owner.
    void InitWindow(HWND window, TSkinData* data) override;
    void DrawControl(HDC dc, const RECT& r) override;

protected:
    bool SkipsErase() const override;
};

// The size grip of a dialog ("scrollbar" window) is never shown.
class TSkinSizer : public TSkinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinSizer(TComponent* owner) : TSkinControl(owner) {}

protected:
    // Not in a print either.
    TPaintMode PaintMode() const override { return TPaintMode::Hidden; }
};

}  // namespace srt
