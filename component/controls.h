// Controls over real Win32 windows: TControl, TGraphicControl (no window of
// its own; its parent routes paint and mouse messages to it) and TWinControl
// (a window handle created on demand, a replaceable WindowProc).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "component/classes.h"
#include "component/dpi.h"
#include "component/graphics.h"

// Framework messages (values shared with the skinning engine).
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 0x06;
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 0x0C;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 0x13;
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 0x14;
inline constexpr UINT CM_MENUCHANGED = CM_BASE + 0x15;
inline constexpr UINT CM_EXIT = CM_BASE + 0x1B;
inline constexpr UINT CM_RELEASE = CM_BASE + 0x21;
// A child's notification reflected back to it by its parent: CN_BASE + the
// original message (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR..., WM_HSCROLL...).
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};
using TWndMethod = std::function<void(TMessage&)>;

class TWinControl;

class TControl : public TComponent {
    SRT_DECLARE_CLASS()
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    void SetParentComponent(TComponent* parent) override;
    TComponent* ParentComponent() const override;

    std::int32_t Left() const { return left_; }
    std::int32_t Top() const { return top_; }
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    void SetLeft(std::int32_t v) { SetBounds(v, top_, width_, height_); }
    void SetTop(std::int32_t v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(std::int32_t v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(std::int32_t v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    // False where another property gives the size (a form's client size).
    virtual bool StoresSize() const { return true; }
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    virtual RECT ClientRect() const { return {0, 0, width_, height_}; }

    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont* Font() { return &font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& v) { SetText(v); }
    virtual std::string GetText() const { return text_; }
    virtual void SetText(const std::string& v);
    std::string Hint() const { return hint_; }
    void SetHint(const std::string& v) { hint_ = v; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v) { showHint_ = v; }

    // The message method: starts as this control's WndProc; a skin may put
    // its own in place, keep the previous one and call it.
    TWndMethod WindowProc;
    LRESULT Perform(UINT msg, WPARAM wparam = 0, LPARAM lparam = 0);
    virtual void Invalidate();

    TNotifyEvent OnClick;
    virtual void Click();

    // Scales the layout from `from` to `to` dots per inch: position, size
    // and a font of its own (a parent's font comes with the parent's).
    // Bounds still as the last scaling left them are scaled from the ones
    // it started from, so that a layout taken to another DPI and back has
    // its pixels again.
    virtual void ChangeScale(int to, int from);
    // The DPI its bounds are at: 96, the design's, until it is scaled.
    int LayoutDpi() const { return layoutDpi_; }

protected:
    virtual void WndProc(TMessage& message);
    // A font of its own given in pixels, from `from` to `to` dots per inch.
    void ScaleFont(int to, int from);
    // Every control of its parent (and the parent) took its scaled bounds:
    // one whose window the platform places against another's places again.
    virtual void SiblingsScaled() {}
    virtual void FontChanged() {}
    virtual void ColorChanged() { Invalidate(); }
    virtual void TextChanged() { Invalidate(); }
    virtual void VisibleChanged();
    virtual void EnabledChanged();
    // The parent's font or colour changed.
    void ParentFontChanged();
    void ParentColorChanged();
    friend class TWinControl;

    std::string text_;

private:
    TWinControl* parent_ = nullptr;
    std::int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TFont font_;
    bool parentFont_ = true;
    std::string hint_;
    bool showHint_ = false;
    bool fontSync_ = false;
    int layoutDpi_ = srt::kDesignDpi;
    // The bounds the last scaling started from (at `dpi`) and the ones it gave.
    struct TScaleOrigin {
        int dpi = 0;
        RECT from{}, to{};
    } scaleOrigin_;
};

// A control without a window. Its parent sends it WM_PAINT with the device
// context in wParam (origin at the control's top left, clipped to it) and
// the mouse messages over it with control-relative coordinates.
class TGraphicControl : public TControl {
    SRT_DECLARE_CLASS()
public:
    explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
    void Invalidate() override;

protected:
    void WndProc(TMessage& message) override;
    virtual void Paint(TCanvas& canvas) { (void)canvas; }
};

struct TCreateParams {
    std::wstring WinClassName;     // a system class ("BUTTON"), or our own
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    bool OwnClass = false;         // register WinClassName with our procedure
    UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
    SRT_DECLARE_CLASS()
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // A window that exists goes with the control to the new parent's window;
    // without one there it goes, and is made again when asked for.
    void SetParent(TWinControl* parent) override;

    // The window, created (with the parents' windows) when first asked for.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // The control whose window this is, if it is one of ours.
    static TWinControl* FindControl(HWND window);

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(index); }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);

    std::int32_t TabOrder() const;
    void SetTabOrder(std::int32_t v);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v);
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool v) { doubleBuffered_ = v; }

    bool CanFocus() const;
    bool Focused() const { return handle_ && GetFocus() == handle_; }
    virtual void SetFocus();

    std::string GetText() const override;
    void SetText(const std::string& v) override;
    std::wstring GetTextW() const;
    void SetTextW(const std::wstring& v);

    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() const override;
    void Invalidate() override;
    // The controls inside it, then itself: a control that places its
    // controls from its own size has the last word.
    void ChangeScale(int to, int from) override;
    // Paints the visible graphic children that meet `clip` on `dc` (client coordinates).
    void PaintControls(HDC dc, const RECT& clip);

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // After the window exists: fonts, texts, limits.
    virtual void InitWnd();
    void DestroyHandle();
    void WndProc(TMessage& message) override;
    // The window's own procedure (the system class's, or DefWindowProcW).
    void DefaultHandler(TMessage& message);
    void FontChanged() override;
    void ColorChanged() override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    TBrush& ColorBrush() { return brush_; }
    bool Creating() const { return creating_; }
    // Scales the controls inside it, then tells each that all are.
    void ScaleControls(int to, int from);

    virtual void DoEnter() {}
    virtual void DoExit() {}
    // A windowed control inside this one received the focus.
    virtual void ChildFocused(TWinControl* control);
    // A control inside this one asks for the focus; true when this one
    // (a form) takes care of it.
    virtual bool RequestFocus(TWinControl* control) { (void)control; return false; }
    // `control` (with what it holds) is leaving this one or a control inside
    // it; told before it goes.
    virtual void ChildRemoved(TControl* control);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK ClassProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    void Attach(HWND hwnd);
    void Detach();
    TControl* GraphicControlAt(POINT client) const;
    bool RouteMouse(TMessage& message);
    void ReflectToChild(TMessage& message, HWND child);
    void ApplyFont();

    HWND handle_ = nullptr;
    WNDPROC defProc_ = nullptr;
    std::vector<TControl*> controls_;
    std::int32_t tabOrder_ = -1;
    bool tabStop_ = false;
    bool doubleBuffered_ = false;
    bool creating_ = false;
    bool mouseInside_ = false;
    TControl* mouseControl_ = nullptr;   // graphic child holding the mouse
    TControl* hoverControl_ = nullptr;   // graphic child under the mouse
    TBrush brush_;
    friend class TControl;
};

// Adds the layer's control classes to a registry for the reader.
void RegisterControlClasses(TClassRegistry& classes);
