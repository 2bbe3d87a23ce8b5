// Choosing a value: combo boxes, up-down (spin) buttons and date-time pickers.
#pragma once

#include <string>
#include <vector>

#include "component/stdctrls.h"

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

// "COMBOBOX" with its list of items.
class TComboBox : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TComboBox(TComponent* owner);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle v) { style_ = v; }
    void SetItems(const std::vector<std::string>& items);
    const std::vector<std::string>& Items() const { return items_; }
    std::int32_t ItemIndex() const;
    void SetItemIndex(std::int32_t v);
    // Height is the closed box's; the window has room below for the list.
    void SetBounds(int left, int top, int width, int height) override;
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void WndProc(TMessage& message) override;

private:
    // The window's height: the closed box and its dropped list.
    int WindowHeight() const;

    TComboBoxStyle style_ = csDropDown;
    std::vector<std::string> items_;
    std::int32_t itemIndex_ = -1;
};

enum TUDOrientation { udHorizontal, udVertical };

// "msctls_updown32": steps Position between Min and Max, and shows it in
// its Associate when it has one.
class TUpDown : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TUpDown(TComponent* owner);
    std::int32_t Min() const { return min_; }
    void SetMin(std::int32_t v);
    std::int32_t Max() const { return max_; }
    void SetMax(std::int32_t v);
    std::int32_t Position() const;
    void SetPosition(std::int32_t v);
    TUDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TUDOrientation v) { orientation_ = v; }
    TWinControl* Associate() const { return associate_; }
    // Takes its place at the right edge of `control`, a component of the
    // same owner (the owner's removal notice clears it).
    void SetAssociate(TWinControl* control);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void Notification(TComponent* component, TOperation operation) override;
    void SiblingsScaled() override;

private:
    void AlignToAssociate();

    std::int32_t min_ = 0, max_ = 100, position_ = 0;
    TUDOrientation orientation_ = udVertical;
    TWinControl* associate_ = nullptr;
};

enum TDateTimeKind { dtkDate, dtkTime };

// "SysDateTimePick32": a date with a drop-down calendar, or a time with spin buttons.
class TDateTimePicker : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TDateTimePicker(TComponent* owner);
    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind v) { kind_ = v; }

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TDateTimeKind kind_ = dtkDate;
};
