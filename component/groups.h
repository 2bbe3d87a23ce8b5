// Containers: group boxes, panels, and groups of radio buttons or check
// boxes made from a list of item captions.
#pragma once

#include <vector>

#include "component/buttons.h"
#include "component/stdctrls.h"

// "BUTTON" with BS_GROUPBOX: a frame with a caption around its controls.
class TGroupBox : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TGroupBox(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
};

enum TBevelCut { bvNone, bvLowered, bvRaised };

// A window of our own class with a bevel and a centred caption.
class TPanel : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TPanel(TComponent* owner);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut v);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle v) { borderStyle_ = v; }
    // Paints no background: the parent shows through.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    TBevelCut bevelOuter_ = bvRaised;
    TBorderStyle borderStyle_ = bsNone;
    bool transparent_ = false;
};

// A group box holding one button per line of Items, laid out in Columns.
class TCustomButtonGroup : public TGroupBox {
    SRT_DECLARE_CLASS()
public:
    explicit TCustomButtonGroup(TComponent* owner);
    const TStringList& Items() const { return items_; }
    // One button per caption, replacing the previous ones.
    void SetItems(const std::vector<std::string>& captions);
    std::int32_t Columns() const { return columns_; }
    void SetColumns(std::int32_t v);
    void SetBounds(int left, int top, int width, int height) override;
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TButtonControl* Buttons(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }

protected:
    virtual TButtonControl* NewButton() = 0;
    void Arrange();

private:
    TStringList items_;
    std::vector<TButtonControl*> buttons_;
    std::int32_t columns_ = 1;
};

class TRadioGroup : public TCustomButtonGroup {
    SRT_DECLARE_CLASS()
public:
    explicit TRadioGroup(TComponent* owner) : TCustomButtonGroup(owner) {}
    // The checked item, -1 for none.
    std::int32_t ItemIndex() const;
    void SetItemIndex(std::int32_t v);
    TNotifyEvent OnClick;

protected:
    TButtonControl* NewButton() override;
};

class TCheckGroup : public TCustomButtonGroup {
    SRT_DECLARE_CLASS()
public:
    explicit TCheckGroup(TComponent* owner) : TCustomButtonGroup(owner) {}
    bool Checked(int index) const;
    void SetChecked(int index, bool v);

protected:
    TButtonControl* NewButton() override;
};
