// Scroll-bar skins: the bars of scrolling controls (memos, list views, any
// window with WS_HSCROLL or WS_VSCROLL) painted over the platform's after it
// has drawn them, the thumb dragged in a loop of our own for controls that
// ask for it, and stand-alone scroll bar controls. The platform keeps its
// scrolling logic: line and page clicks, auto-repeat, wheel and keyboard.
#pragma once

#include "skin/controls/scrollgeom.h"
#include "skin/controls/skincontrol.h"

namespace srt {

class TSkinHeader;

// Pressed parts.
enum : int {
    kPartNone, kPartLeft, kPartRight, kPartUp, kPartDown, kPartHorzThumb, kPartVertThumb
};

// The pressed part a scroll code shows, for a horizontal or a vertical bar.
int PressedPartForCode(int code, bool vertical);

class TSkinScrollBar : public TSkinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinScrollBar(TComponent* owner) : TSkinControl(owner) {}

    // Attaches to the control; `ownThumbDrag`: the skin drags the thumb itself.
    void InitScrollBar(TWinControl* control, TSkinData* data, bool ownThumbDrag);
    // The classification's entry: the colour flag is the own-thumb-drag flag.
    void InitControl(TWinControl* control, TSkinData* data, bool changeColour) override;
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;

    int PressedPart() const { return FPressedPart; }
    bool Dragging() const { return FDragging; }
    bool OwnThumbDrag() const { return FOwnThumbDrag; }
    const TScrollBarRects& Rects() const { return FRects; }
    const TScrollMetrics& HorzMetrics() const { return FHorzMetrics; }
    const TScrollMetrics& VertMetrics() const { return FVertMetrics; }

protected:
    // The bars lie outside the client area.
    TPaintMode PaintMode() const override { return TPaintMode::Outside; }
    void OnScroll(TMessage& m);
    void OnCaptureChanged(const TMessage& m);
    void DrawScrollBar(HDC dc, const TIntRect& bar, bool vertical);
    void CalcThumb(const TIntRect& bar, bool vertical);
    // The lengths of the last paint; the thumb test reads the same.
    TScrollBarLengths FLengths;
    // True when the thumb test started (and finished) the drag loop.
    bool ThumbTest(TMessage& m);
    void TrackThumb(bool vertical, UINT scrollMessage);
    void EndDrag(bool vertical, UINT scrollMessage, int value);
    // True when a bar's values or presence changed since the last paint: the
    // platform then drew its own bar over ours (an edit scrolled by keys).
    bool BarsChanged();

    int FPressedPart = kPartNone;
    LONG_PTR FStyle = 0;
    LONG_PTR FExStyle = 0;
    bool FDragging = false;
    bool FOwnThumbDrag = false;
    bool FVScrolling = false;
    bool FHScrolling = false;
    SCROLLINFO FHorzInfo{};
    SCROLLINFO FVertInfo{};
    TScrollBarRects FRects;  // the bars and the size box, window coordinates
    TScrollMetrics FHorzMetrics;
    TScrollMetrics FVertMetrics;

private:
    struct TSeen {
        LONG_PTR bars = 0;
        TScrollValues horz, vert;
        bool operator==(const TSeen&) const;
    };
    TSeen Look() const;
    TSeen FSeen;
    UINT FDragMessage = 0;
    int FDragValue = 0;
};

// A list view: its bars as TSkinScrollBar paints them, and its header.
class TSkinListView : public TSkinScrollBar {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinListView(TComponent* owner) : TSkinScrollBar(owner) {}
    void InitControl(TWinControl* control, TSkinData* data, bool changeColour) override;
    TSkinHeader* HeaderSkin() const { return FHeaderSkin; }

private:
    TSkinHeader* FHeaderSkin = nullptr;
};

// A stand-alone scroll bar control: the whole window is one bar.
class TSkinScControl : public TSkinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSkinScControl(TComponent* owner) : TSkinControl(owner) {}
    bool BeforeProc(TMessage& m) override;
    void DrawControl(HDC dc, const RECT& r) override;

    int PressedPart() const { return FPressedPart; }
    int TrackLength = 0;
    int ThumbLength = 0;
    int ThumbPos = 0;

private:
    void OnSetValues(TMessage& m);
    void OnScroll(TMessage& m);
    int FPressedPart = kPartNone;
};

// The lengths of the bars of a window at `dpi`, from the platform's metrics.
TScrollBarLengths ScrollBarLengths(int dpi);

// Composes one bar from `data` (the records of the bar's DPI) at the bar's
// own size and copies it onto `bar` of `dc`: the track, both arrows (pressed
// after `pressedPart`, each image square within its button) and the thumb
// after `m`, every part within its span (ScrollBarSpans). Nothing without
// the "Scrollbar" element.
void ComposeScrollBar(HDC dc, const TIntRect& bar, bool vertical, const TScrollMetrics& m, int pressedPart,
                      const TSkinElements& data, const TScrollBarLengths& lengths, bool limitSize);

}  // namespace srt
