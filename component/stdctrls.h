// Standard controls on the platform's own window classes.
#pragma once

#include "component/controls.h"

class TButtonControl : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TButtonControl(TComponent* owner);
};

// "BUTTON" with BS_PUSHBUTTON; a click runs OnClick.
class TButton : public TButtonControl {
    SRT_DECLARE_CLASS()
public:
    explicit TButton(TComponent* owner);
    bool Default() const { return default_; }
    void SetDefault(bool v) { default_ = v; }

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    bool default_ = false;
};

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// "EDIT": a one-line edit box; its descendant TCustomMemo has many lines.
class TCustomEdit : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TCustomEdit(TComponent* owner);
    std::int32_t MaxLength() const { return maxLength_; }
    void SetMaxLength(std::int32_t v);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle v) { borderStyle_ = v; }
    std::string Text() const { return GetText(); }

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void WndProc(TMessage& message) override;

private:
    std::int32_t maxLength_ = 0;
    bool readOnly_ = false;
    TBorderStyle borderStyle_ = bsSingle;
};

class TEdit : public TCustomEdit {
    SRT_DECLARE_CLASS()
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

class TCustomMemo;

// The memo's text as lines: split at CR LF, the text's own lines, never the
// rows the memo wraps them into on screen.
class TMemoStrings : public TStrings {
    SRT_DECLARE_CLASS()
public:
    explicit TMemoStrings(TCustomMemo& memo) : memo_(memo) {}
    int Count() const override;
    std::string Get(int index) const override;
    void Clear() override;
    void Add(const std::string& line) override;
    std::string Text() const override;
    void SetText(std::string_view text) override;

private:
    TCustomMemo& memo_;
};

// A multi-line "EDIT" without a length limit.
class TCustomMemo : public TCustomEdit {
    SRT_DECLARE_CLASS()
public:
    explicit TCustomMemo(TComponent* owner);
    TStrings* Lines() { return &lines_; }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle v) { scrollBars_ = v; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v) { wordWrap_ = v; }
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool v) { wantReturns_ = v; }

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TMemoStrings lines_;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    bool wantReturns_ = true;
};

class TMemo : public TCustomMemo {
    SRT_DECLARE_CLASS()
public:
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Text painted by its parent; no window.
class TLabel : public TGraphicControl {
    SRT_DECLARE_CLASS()
public:
    explicit TLabel(TComponent* owner);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);

protected:
    void Paint(TCanvas& canvas) override;
    void FontChanged() override { Invalidate(); }

private:
    void PaintBeneath(HDC dc) const;

    bool transparent_ = false;
    bool wordWrap_ = false;
    TAlignment alignment_ = taLeftJustify;
};
