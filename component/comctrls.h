// Common controls: scroll bar, list view, tab control, tab set, status bar,
// progress bar and track bar, over the platform's window classes (the tab
// set draws itself).
#pragma once

#include <string>
#include <vector>

#include "component/controls.h"
#include "component/stdctrls.h"

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TTrackBarOrientation { trHorizontal, trVertical };
enum TProgressBarOrientation { pbHorizontal, pbVertical };

// "SCROLLBAR": keeps Position in Min..Max - PageSize + 1 and moves it on
// the scroll codes it is sent.
class TScrollBar : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TScrollBar(TComponent* owner);
    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind v) { kind_ = v; }
    std::int32_t Min() const { return min_; }
    std::int32_t Max() const { return max_; }
    std::int32_t Position() const { return position_; }
    std::int32_t PageSize() const { return pageSize_; }
    std::int32_t SmallChange() const { return smallChange_; }
    std::int32_t LargeChange() const { return largeChange_; }
    void SetParams(std::int32_t position, std::int32_t min, std::int32_t max, std::int32_t pageSize);
    void SetPosition(std::int32_t v) { SetParams(v, min_, max_, pageSize_); }
    void SetSmallChange(std::int32_t v) { smallChange_ = v; }
    void SetLargeChange(std::int32_t v) { largeChange_ = v; }
    // The highest position: Max - PageSize + 1 with a page, else Max.
    std::int32_t Limit() const;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void WndProc(TMessage& message) override;

private:
    void Apply();
    TScrollBarKind kind_ = sbHorizontal;
    std::int32_t min_ = 0, max_ = 100, position_ = 0, pageSize_ = 0, smallChange_ = 1, largeChange_ = 1;
};

// "SysListView32" in report view.
class TListView : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TListView(TComponent* owner);
    void AddColumn(const std::string& caption, int width);
    // One row: the caption, then the sub-items.
    void AddItem(const std::vector<std::string>& cells);
    int ItemCount() const { return static_cast<int>(items_.size()); }
    // Width of column `index`: the window's, once it exists.
    int ColumnWidth(int index);
    // Its bounds and font, and its columns' widths.
    void ChangeScale(int to, int from) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;

private:
    void InsertColumn(int index);
    void InsertItem(int index);
    struct TColumn {
        std::string caption;
        int width;
    };
    std::vector<TColumn> columns_;
    std::vector<std::vector<std::string>> items_;
};

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

// "SysTabControl32": tabs without pages of their own. The room around a
// tab's caption and a tab's least width are the platform's at 96 DPI, scaled
// with the layout (ChangeScale), as are TabWidth and TabHeight.
class TTabControl : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TTabControl(TComponent* owner);
    TStringList& Tabs() { return tabs_; }
    void SetTabs(const std::vector<std::string>& tabs);
    std::int32_t TabIndex() const;
    void SetTabIndex(std::int32_t v);
    TTabPosition TabPosition() const { return position_; }
    void SetTabPosition(TTabPosition v) { position_ = v; }
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool v) { multiLine_ = v; }
    // Every tab this wide (0: each as wide as its caption needs).
    std::int32_t TabWidth() const { return tabWidth_; }
    void SetTabWidth(std::int32_t v);
    // The tabs this high (0: as the font needs).
    std::int32_t TabHeight() const { return tabHeight_; }
    void SetTabHeight(std::int32_t v);
    // The area inside the tab border, client coordinates.
    RECT DisplayRect();
    // Its bounds and font, and its tabs' sizes and padding.
    void ChangeScale(int to, int from) override;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void WndProc(TMessage& message) override;

private:
    // The padding and least width at the layout's DPI; the item size
    // when one is set, or `always`.
    void ApplyTabMetrics(bool always);
    TStringList tabs_;
    std::int32_t tabIndex_ = 0;
    TTabPosition position_ = tpTop;
    bool multiLine_ = false;
    std::int32_t tabWidth_ = 0, tabHeight_ = 0;
};

// A row of tabs hanging from its top edge, drawn by the control. When they
// do not all fit, a horizontal up-down child at its right end scrolls them
// (FirstIndex). Its margins and the room around a caption scale with the
// layout (ChangeScale).
class TTabSet : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TTabSet(TComponent* owner);
    TStringList& Tabs() { return tabs_; }
    void SetTabs(const std::vector<std::string>& tabs);
    std::int32_t TabIndex() const { return tabIndex_; }
    void SetTabIndex(std::int32_t v);
    std::int32_t FirstIndex() const { return firstIndex_; }
    void SetFirstIndex(std::int32_t v);
    std::int32_t StartMargin() const { return startMargin_; }
    void SetStartMargin(std::int32_t v) { startMargin_ = v; Invalidate(); }
    std::int32_t EndMargin() const { return endMargin_; }
    void SetEndMargin(std::int32_t v) { endMargin_ = v; Invalidate(); }
    // Width of tab `index` in the control's font: text width + 9 pixels at
    // 96 DPI.
    int TabWidth(int index);

    // A tab that shows: its index and its place (client coordinates, the
    // control's full height).
    struct TTab {
        int Index;
        RECT Bounds;
    };
    // The tabs that show, from FirstIndex on, left to right: a tab that
    // would pass the end margin is left out and the next one tried. Painting
    // (the control's and a skin's) and TabAt read this one layout.
    std::vector<TTab> VisibleTabs();
    // The tab at x (client coordinates), -1 for none.
    int TabAt(int x);
    // Where the scroll arrows are (client coordinates), shown or not.
    RECT ScrollerRect() const;
    // Its bounds and font, its margins and its tabs' widths.
    void ChangeScale(int to, int from) override;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void WndProc(TMessage& message) override;

private:
    void Paint(HDC dc);
    // Places, fills and shows or hides the scroll arrows.
    void UpdateScroller();
    int TabWidth(HDC dc, int index);
    TStringList tabs_;
    std::int32_t tabIndex_ = -1;
    std::int32_t firstIndex_ = 0;
    std::int32_t startMargin_ = 5, endMargin_ = 5;
    HWND scroller_ = nullptr;
};

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TBiDiMode { bdLeftToRight, bdRightToLeft };

struct TStatusPanel {
    std::string Text;
    std::int32_t Width = 50;
    TAlignment Alignment = taLeftJustify;
    TStatusPanelBevel Bevel = pbLowered;
    TBiDiMode BiDiMode = bdLeftToRight;
};

// "msctls_statusbar32" with panels, or one simple panel. Panel widths are
// layout: they scale with it (ChangeScale).
class TStatusBar : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TStatusBar(TComponent* owner);
    const std::vector<TStatusPanel>& Panels() const { return panels_; }
    void SetPanels(std::vector<TStatusPanel> panels);
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool v);
    std::string SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& v);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool v) { sizeGrip_ = v; }
    // Its bounds and font, and its panels' edges (each edge rounded once).
    void ChangeScale(int to, int from) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void WndProc(TMessage& message) override;

private:
    void Apply();
    // The panels' right edges to the window, the last one reaching its
    // right end (`resized`: a new one).
    void ApplyParts(bool resized);
    std::vector<TStatusPanel> panels_;
    bool simplePanel_ = false;
    std::string simpleText_;
    bool sizeGrip_ = true;
};

// "msctls_progress32".
class TProgressBar : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TProgressBar(TComponent* owner);
    std::int32_t Min() const { return min_; }
    std::int32_t Max() const { return max_; }
    std::int32_t Position() const { return position_; }
    void SetRange(std::int32_t min, std::int32_t max);
    void SetPosition(std::int32_t v);
    TProgressBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TProgressBarOrientation v) { orientation_ = v; }
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool v) { smooth_ = v; }

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;

private:
    std::int32_t min_ = 0, max_ = 100, position_ = 0;
    TProgressBarOrientation orientation_ = pbHorizontal;
    bool smooth_ = false;
};

// "msctls_trackbar32".
class TTrackBar : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TTrackBar(TComponent* owner);
    std::int32_t Min() const { return min_; }
    std::int32_t Max() const { return max_; }
    std::int32_t Position() const;
    void SetRange(std::int32_t min, std::int32_t max);
    void SetPosition(std::int32_t v);
    std::int32_t Frequency() const { return frequency_; }
    void SetFrequency(std::int32_t v) { frequency_ = v; }
    TTrackBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation v) { orientation_ = v; }

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void WndProc(TMessage& message) override;

private:
    std::int32_t min_ = 0, max_ = 10, position_ = 0, frequency_ = 1;
    TTrackBarOrientation orientation_ = trHorizontal;
};

// Adds the common controls to a registry for the reader.
void RegisterCommonControlClasses(TClassRegistry& classes);
