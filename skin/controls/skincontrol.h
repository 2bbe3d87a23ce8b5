// TSkinControl: the base of every control skin. One object per skinned
// control, owned by the TControlSkins of the window that holds the control.
// It takes over the control's messages through TWindowSkin (the control
// object's WindowProc, or the raw window's procedure), paints the client
// along one path chosen by the skin's paint mode, lets a descendant decide
// per message whether the previous procedure still runs, and paints from the
// skin's element records. Win32, GUI thread only.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "component/controls.h"
#include "component/dpi.h"
#include "skin/data/skindata.h"
#include "skin/draw/elementdraw.h"
#include "skin/manager/windowskin.h"

namespace srt {

// What a control skin needs of the collection that owns it: registration,
// the closing state and the one hot control. TControlSkins implements it.
class TSkinControl;
class TSkinControlOwner {
public:
    virtual bool Contains(const TSkinControl* skin) const = 0;
    virtual void Add(TSkinControl* skin) = 0;
    // While closing, controls keep the skin's colour when detached.
    virtual bool Closing() const = 0;
    virtual TSkinControl* HotControl() const = 0;
    virtual void SetHotControl(TSkinControl* control) = 0;

protected:
    ~TSkinControlOwner() = default;
};

// FState bits.
inline constexpr unsigned char kHot = 1;
inline constexpr unsigned char kPressed = 2;

class TSkinControl : public TComponent, protected TWindowSkin {
    SRT_DECLARE_CLASS()
public:
    // `owner`: the TControlSkins that keeps and frees this object.
    explicit TSkinControl(TComponent* owner);
    ~TSkinControl() override;

    // Attaches to a control object; registers with the owner. Does nothing
    // the second time.
    virtual void InitControl(TWinControl* control, TSkinData* data, bool changeColour);
    // Attaches to a raw window; the caller registers the object.
    virtual void InitWindow(HWND window, TSkinData* data);
    // Detaches and restores; safe to call more than once.
    virtual void Unsubclass();
    // True: the message goes on to the previous procedure.
    virtual bool BeforeProc(TMessage& m);
    virtual void AfterProc(TMessage& m);
    // Paints the whole window on `dc`, or on the window DC when it is null.
    virtual void PaintControl(HDC dc);
    // Draws the control into `r` (origin 0,0, the window's size).
    virtual void DrawControl(HDC dc, const RECT& r);
    // Re-applies the skin after the skin data changed.
    virtual void SkinChange();
    virtual bool Available() const { return true; }

    HWND Handle() const { return FHandle; }
    // The control object; null once it has been freed.
    TWinControl* Control() const { return MethodGone() ? nullptr : FControl; }
    // The speed button painted, while it lives.
    TGraphicControl* GraphicControl() const { return MethodAlive() ? FGraphicControl : nullptr; }
    const RECT& WindowRect() const { return FWindowRect; }
    bool Inited() const { return FInited; }
    unsigned char State() const { return FState; }
    void SendMouseLeave();

    // Detaches and frees now, or once the message being handled returns.
    void Free();

protected:
    // Takes the control's messages, registers with the owner and, with
    // `changeColour`, gives the control the skin's face colour.
    void AttachControl(TWinControl* control, TSkinData* data, bool changeColour);

    // How the skin takes its control's client paint messages (WM_PAINT,
    // WM_PRINTCLIENT, WM_ERASEBKGND). One path in this class reads it; the
    // descendants' BeforeProc and AfterProc see these messages only when the
    // control paints too (Over, Outside).
    enum class TPaintMode : std::uint8_t {
        // The control paints, then the skin paints over it: WM_PAINT on the
        // DC in WParam or the window DC, WM_PRINTCLIENT on the caller's DC
        // (saved and restored around the skin's part).
        Over,
        // The control paints its client; the skin's part lies outside it (a
        // border, scroll bars): WM_PAINT without a DC then paints on the
        // window DC, WM_PRINTCLIENT adds nothing.
        Outside,
        // The skin paints the whole client: OnPaint, PaintClient for
        // WM_PRINTCLIENT; WM_ERASEBKGND is answered without erasing. None of
        // the three reaches the control.
        Whole,
        // Nothing is painted, by the skin or the control.
        Hidden,
    };
    virtual TPaintMode PaintMode() const { return TPaintMode::Over; }
    // WM_ERASEBKGND answered without erasing although the control paints:
    // what the skin paints covers the background. Always so for Whole and Hidden.
    virtual bool SkipsErase() const { return false; }
    // WM_PAINT of a skin that paints its whole client (Whole).
    virtual void OnPaint(TMessage& m) { PaintHandler(m); }

    // Runs `draw` with the window's rectangle at origin 0,0 on `dc`, or on the
    // window DC (released afterwards) when `dc` is null; stores FWindowRect.
    void WithWindowDC(HDC dc, const std::function<void(HDC, const RECT&)>& draw);
    // Every message, by either way in: the client paint path, then
    // BeforeProc, the previous procedure and AfterProc.
    void WndProc(TMessage& m);
    // The previous method or procedure; the platform's default for a
    // window the skin never took over.
    void CallOldProc(TMessage& m);
    void OnSetText(const TMessage& m);
    void OnNcDestroy();
    void Redraw();
    void FillBackground(HDC dc, const RECT& r);
    // The drawing path of a skin that paints its whole client itself:
    // DrawControl with the window's rectangle at origin 0,0 onto `dc`.
    void PaintClient(HDC dc);
    // WM_PAINT: PaintClient on the DC in WParam, or between BeginPaint and EndPaint.
    void PaintHandler(TMessage& m);
    // WM_PRINTCLIENT: PaintClient on the DC in WParam. The flags need nothing
    // more: WM_PRINT already sent WM_ERASEBKGND for PRF_ERASEBKGND, and the
    // message itself is the client part.
    void PrintClientHandler(TMessage& m);
    // `element` composed for `r` (keyed when its Trans is 1) and copied there.
    void DrawElement(HDC dc, const RECT& r, TFrameIndex frame, TDataSkinObject& element);
    // `element` composed for `r` onto the scratch bitmap filled with the face colour.
    void DrawElementToBuffer(const RECT& r, TDataSkinObject& element, TKeying keying, TFrameIndex frame);
    // `frame` of `bitmap` stretched over `r`, fuchsia keyed.
    void DrawStripFrame(HDC dc, const RECT& r, TFrameIndex frame, ::TBitmap& bitmap);
    // `align`: 0 left, 1 centred, 2 right. The DC keeps its font.
    void DrawCaption(HDC dc, const RECT& r, UINT align, bool enabled, const std::wstring& text, TColor colour);
    void DrawIconCaption(HDC dc, const RECT& r, UINT align, const std::wstring& text, int imageIndex,
                         HIMAGELIST images, TColor colour);
    void BlitBuffer(HDC dc, const RECT& r);

    // Hot-control hand-over.
    void HotMouseMove();
    void HotMouseEnter();
    void HotMouseLeave();

    TSkinControlOwner* Skins() const;
    std::wstring ReadText() const;
    bool ReadEnabled() const;
    bool ReadFocused() const;
    // A skin colour as a GDI colour.
    COLORREF Colour(TColour c) const;
    // The DPI of the control's window (a graphic control's: its parent's); the
    // records painting and hit testing read at it (FSkinData set); a length of
    // 96-DPI pixels at it.
    int Dpi() const;
    const TSkinElements& Elements() const { return FSkinData->ElementsAt(Dpi()); }
    int Scaled(int length) const { return ScaleToDpi(length, Dpi()); }

    unsigned char FState = 0;
    bool FEnabled = false;
    bool FFocused = false;
    std::wstring FText;
    TSkinData* FSkinData = nullptr;
    HWND FHandle = nullptr;
    TWinControl* FControl = nullptr;
    RECT FWindowRect{};
    TGraphicControl* FGraphicControl = nullptr;
    bool FChangeColor = false;
    TColor FOldColor = 0;
    bool FInited = false;

private:
    void WindowMessage(TMessage& m) override { WndProc(m); }
    void MethodMessage(TMessage& m) override { WndProc(m); }
    // The client paint path before and after the previous procedure; true
    // from PaintBefore when the message is answered.
    bool PaintBefore(TMessage& m);
    void PaintAfter(const TMessage& m);
};

}  // namespace srt
