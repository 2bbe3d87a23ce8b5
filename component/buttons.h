// Check boxes, radio buttons, bitmap buttons (glyph and caption on a push
// button) and speed buttons (windowless buttons that can stay down).
#pragma once

#include "component/glyphlayout.h"
#include "component/graphics.h"
#include "component/stdctrls.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// "BUTTON" with BS_AUTOCHECKBOX, or BS_AUTO3STATE with AllowGrayed. The
// state lives in the window once it exists.
class TCheckBox : public TButtonControl {
    SRT_DECLARE_CLASS()
public:
    explicit TCheckBox(TComponent* owner);
    TCheckBoxState State() const;
    void SetState(TCheckBoxState v);
    bool Checked() const { return State() == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool v);
    // taLeftJustify puts the caption left of the box.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void WndProc(TMessage& message) override;

private:
    DWORD ButtonStyle() const;
    void UpdateStyle();
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TAlignment alignment_ = taRightJustify;
};

// "BUTTON" with BS_AUTORADIOBUTTON: checking one clears the others of its group.
class TRadioButton : public TButtonControl {
    SRT_DECLARE_CLASS()
public:
    explicit TRadioButton(TComponent* owner);
    bool Checked() const;
    void SetChecked(bool v);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void WndProc(TMessage& message) override;

private:
    bool checked_ = false;
};

// The glyph strip of bitmap and speed buttons: NumGlyphs frames side by
// side (up, disabled, down, stay-down), the colour of pixel (0, 0) see-through.
struct TButtonGlyph {
    TBitmap Glyph;
    std::int32_t NumGlyphs = 1;
    TButtonLayout Layout = blGlyphLeft;
    std::int32_t Margin = -1;
    std::int32_t Spacing = 4;
    // Frame width of the strip; 0 without a glyph or frame count.
    int FrameWidth() const;
    // Draws the glyph and caption on a face of `client` size.
    void Draw(HDC dc, const RECT& client, const std::wstring& caption, int frame, bool enabled, bool speedButton);
};

// A push button drawn by its owner with a glyph beside its caption.
class TBitBtn : public TButton {
    SRT_DECLARE_CLASS()
public:
    explicit TBitBtn(TComponent* owner);
    TBitmap& Glyph() { return glyph_.Glyph; }
    std::int32_t NumGlyphs() const { return glyph_.NumGlyphs; }
    void SetNumGlyphs(std::int32_t v);
    TButtonLayout Layout() const { return glyph_.Layout; }
    void SetLayout(TButtonLayout v);
    std::int32_t Margin() const { return glyph_.Margin; }
    void SetMargin(std::int32_t v);
    std::int32_t Spacing() const { return glyph_.Spacing; }
    void SetSpacing(std::int32_t v);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    TButtonGlyph glyph_;
};

// A button without a window, painted by its parent. With a GroupIndex it
// stays down once clicked, and the others of its group come up.
class TSpeedButton : public TGraphicControl {
    SRT_DECLARE_CLASS()
public:
    explicit TSpeedButton(TComponent* owner);
    TBitmap& Glyph() { return glyph_.Glyph; }
    std::int32_t NumGlyphs() const { return glyph_.NumGlyphs; }
    void SetNumGlyphs(std::int32_t v);
    TButtonLayout Layout() const { return glyph_.Layout; }
    void SetLayout(TButtonLayout v);
    std::int32_t Margin() const { return glyph_.Margin; }
    void SetMargin(std::int32_t v);
    std::int32_t Spacing() const { return glyph_.Spacing; }
    void SetSpacing(std::int32_t v);
    bool Down() const { return down_; }
    void SetDown(bool v);
    std::int32_t GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(std::int32_t v) { groupIndex_ = v; }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v) { allowAllUp_ = v; }
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    void Click() override;

protected:
    void WndProc(TMessage& message) override;
    void Paint(TCanvas& canvas) override;

private:
    TButtonGlyph glyph_;
    bool down_ = false;
    bool pressed_ = false;  // the mouse is held on it
    bool hot_ = false;
    bool flat_ = false;
    bool allowAllUp_ = false;
    std::int32_t groupIndex_ = 0;
};
