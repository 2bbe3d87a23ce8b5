// A skin's content colours on a skinned window: the colours it answers its
// controls with, and the colours it gives a form's component controls and
// takes back.
#include "formskin_fixture.h"

#include <commctrl.h>

#include "component/forms.h"
#include "component/graphics.h"
#include "component/stdctrls.h"
#include "skin/data/contrast.h"
#include "skin/form/contentcolours.h"

namespace srt {
namespace {

using namespace formtest;

constexpr TColor kBlue = static_cast<TColor>(0xFF0000);  // the main window's label
constexpr TColor kPlatformText = static_cast<TColor>(0xFF000008);
constexpr TColor kPlatformWindow = static_cast<TColor>(0xFF000005);

TEST(LabelColour, TheFormsOwnColourStaysWhileItReads) {
    const std::uint32_t dark = RGBColour(0x2A, 0x2E, 0x35), light = RGBColour(0xF0, 0xF2, 0xF5);
    const TColour clientText = RGBColour(228, 231, 235), labelText = RGBColour(111, 195, 178);
    // Blue on dark grey falls below 4.5:1: the skin's label colour wins.
    EXPECT_EQ(SkinnedLabelColour(kBlue, true, dark, clientText, labelText), static_cast<TColor>(labelText));
    // Blue on a light face reads: the form's colour stays.
    EXPECT_EQ(SkinnedLabelColour(kBlue, true, light, clientText, labelText), kBlue);
    // A skin without LabelText leaves even an unreadable colour alone.
    EXPECT_EQ(SkinnedLabelColour(kBlue, true, dark, clientText, kNoColour), kBlue);
    // A label in the platform's text colour takes the skin's client text.
    EXPECT_EQ(SkinnedLabelColour(kPlatformText, false, dark, clientText, labelText), static_cast<TColor>(clientText));
    EXPECT_EQ(SkinnedLabelColour(kPlatformText, false, dark, kNoColour, labelText), static_cast<TColor>(labelText));
    EXPECT_EQ(SkinnedLabelColour(kPlatformText, false, dark, kNoColour, kNoColour), kPlatformText);
}

class ContentColours : public FormSkin {
protected:
    void UseSkin(const char* name) { ASSERT_TRUE(data.LoadFromBytes(SkinBytes(name))); }

    // Asks `parent` for the colours of `child` as the platform does.
    struct TAnswer {
        HBRUSH brush;
        COLORREF text, back;
    };
    TAnswer Ask(HWND parent, UINT msg, HWND child) {
        HDC dc = GetDC(child);
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkColor(dc, RGB(4, 5, 6));
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(parent, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)));
        const TAnswer a{brush, GetTextColor(dc), GetBkColor(dc)};
        ReleaseDC(child, dc);
        return a;
    }
    HWND Child(HWND parent, const wchar_t* cls, DWORD style = 0) {
        return CreateWindowExW(0, cls, L"text", WS_CHILD | WS_VISIBLE | style, 10, 10, 100, 20, parent, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }
};

TEST_F(ContentColours, FieldsAndStaticTextGetTheSkinsColoursAndBrushes) {
    UseSkin("dusk");
    HWND window = Make();
    ASSERT_TRUE(Skinned(window));
    const TSkinColours& c = data.Colours;
    HWND edit = Child(window, L"Edit"), readOnly = Child(window, L"Edit", ES_READONLY);
    HWND text = Child(window, L"Static"), off = Child(window, L"Static", WS_DISABLED);

    const TAnswer e = Ask(window, WM_CTLCOLOREDIT, edit);
    EXPECT_EQ(e.brush, data.EditBrush());
    EXPECT_EQ(e.text, c.EditText);
    EXPECT_EQ(e.back, c.Edit);
    // A read-only edit asks as static text, and still shows a field.
    EXPECT_EQ(Ask(window, WM_CTLCOLORSTATIC, readOnly).brush, data.EditBrush());
    EXPECT_EQ(Ask(window, WM_CTLCOLORLISTBOX, edit).brush, data.EditBrush());

    const TAnswer s = Ask(window, WM_CTLCOLORSTATIC, text);
    EXPECT_EQ(s.brush, data.ClientBrush());
    EXPECT_EQ(s.text, c.ClientText);
    EXPECT_EQ(s.back, c.Client);
    EXPECT_EQ(Ask(window, WM_CTLCOLORSTATIC, off).text, c.DisabledText);
    EXPECT_EQ(Ask(window, WM_CTLCOLORBTN, text).brush, data.ClientBrush());
}

TEST_F(ContentColours, ASkinWithoutThemAnswersAsBefore) {
    HWND window = Make();
    ASSERT_TRUE(Skinned(window));  // the default skin: no content colours
    HWND edit = Child(window, L"Edit"), text = Child(window, L"Static");
    EXPECT_EQ(data.EditBrush(), nullptr);
    const TAnswer e = Ask(window, WM_CTLCOLOREDIT, edit);
    EXPECT_EQ(e.text, GetSysColor(COLOR_WINDOWTEXT));  // the platform's own answer
    EXPECT_EQ(e.brush, GetSysColorBrush(COLOR_WINDOW));
    EXPECT_EQ(Ask(window, WM_CTLCOLORSTATIC, text).brush, data.ButtonFaceBrush());
}

// The pixels of `list` painted as it paints itself, counted where they equal `colour`.
int PaintedPixels(HWND list, COLORREF colour) {
    RECT c{};
    GetClientRect(list, &c);
    TBitmap shown(c.right, c.bottom);
    SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.Canvas()), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    int n = 0;
    for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x) n += shown.Pixel(x, y) == colour;
    return n;
}

// A report list view with one selected item, and a tree with one selected item.
std::vector<HWND> SelectedItems(HWND parent) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 10,
                                40, 200, 100, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 150;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.pszText = const_cast<wchar_t*>(L"Selected cue");
    item.state = item.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    HWND tree = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_SHOWSELALWAYS, 220, 40, 150,
                                100, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    TVINSERTSTRUCTW node{};
    node.hInsertAfter = TVI_ROOT;
    node.item.mask = TVIF_TEXT;
    node.item.pszText = const_cast<wchar_t*>(L"Selected node");
    auto handle = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&node)));
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(handle));
    return {list, tree};
}

TEST_F(ContentColours, SelectedItemsOfListViewsAndTreesTakeTheSkinsSelectionColours) {
    UseSkin("dusk");
    HWND window = Make(WS_OVERLAPPEDWINDOW, 400, 200);
    ASSERT_TRUE(Skinned(window));
    for (HWND h : SelectedItems(window)) {
        SetFocus(h);
        EXPECT_GT(PaintedPixels(h, data.Colours.EditHilight), 50) << "no selection in EditHilight";
        EXPECT_GT(PaintedPixels(h, data.Colours.EditHilightText), 5) << "no text in EditHilightText";
        EXPECT_EQ(PaintedPixels(h, GetSysColor(COLOR_HIGHLIGHT)), 0) << "the platform's selection colour";
    }
}

TEST_F(ContentColours, WithoutSelectionColoursItemsKeepThePlatformsLook) {
    HWND window = Make(WS_OVERLAPPEDWINDOW, 400, 200);
    ASSERT_TRUE(Skinned(window));  // the default skin: no content colours
    for (HWND h : SelectedItems(window)) {
        SetFocus(h);
        EXPECT_GT(PaintedPixels(h, GetSysColor(COLOR_HIGHLIGHT)), 50);
    }
}

class ComponentColours : public FormSkin {
protected:
    TApplication app;
};

TEST_F(ComponentColours, ControlsTakeTheSkinsColoursAndGetTheirOwnBack) {
    ASSERT_TRUE(data.LoadFromBytes(SkinBytes("dusk")));
    auto* form = new TForm(&app);
    auto* blue = new TLabel(form);
    blue->SetParent(form);
    blue->Font()->SetColor(kBlue);
    auto* plain = new TLabel(form);
    plain->SetParent(form);
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    auto* excluded = new TEdit(form);
    excluded->SetParent(form);
    excluded->SetTag(199);  // the skin leaves it alone (Tag 99 rule)
    const TColor memoFont = memo->Font()->Color(), memoColour = memo->Color();
    ASSERT_EQ(memoColour, kPlatformWindow);

    TContentColours colours;
    colours.Apply(*form, data);
    const TSkinColours& c = data.Colours;
    EXPECT_EQ(blue->Font()->Color(), static_cast<TColor>(c.LabelText));
    EXPECT_EQ(plain->Font()->Color(), static_cast<TColor>(c.ClientText));
    EXPECT_EQ(memo->Font()->Color(), static_cast<TColor>(c.EditText));
    EXPECT_EQ(memo->Color(), static_cast<TColor>(c.Edit));
    EXPECT_EQ(excluded->Color(), kPlatformWindow);
    EXPECT_GE(ContrastRatio(c.LabelText, c.Client), kOwnColourContrast);

    // A second skin without content colours gives every control its own back.
    ASSERT_TRUE(data.LoadFromBytes(SkinBytes("default")));
    colours.Apply(*form, data);
    EXPECT_EQ(blue->Font()->Color(), kBlue);
    EXPECT_EQ(plain->Font()->Color(), kPlatformText);
    EXPECT_TRUE(plain->ParentFont());
    EXPECT_EQ(memo->Font()->Color(), memoFont);
    EXPECT_EQ(memo->Color(), memoColour);

    // Restore gives the own colours back, whatever was set since.
    ASSERT_TRUE(data.LoadFromBytes(SkinBytes("dusk")));
    colours.Apply(*form, data);
    blue->Font()->SetColor(static_cast<TColor>(0x123456));
    plain->Font()->SetColor(static_cast<TColor>(0x654321));
    colours.Restore(*form);
    EXPECT_EQ(blue->Font()->Color(), kBlue);
    EXPECT_EQ(plain->Font()->Color(), kPlatformText);
    delete form;
}

}  // namespace
}  // namespace srt
