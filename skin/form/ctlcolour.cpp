// The colours a skinned window gives its controls when they ask
// (WM_CTLCOLOR...): the skin's content colours where it has them, else
// what the window's own procedure answers. List views and trees ask
// nobody; their items are coloured as they are drawn (NM_CUSTOMDRAW).
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <optional>

#include "skin/controls/contentrules.h"
#include "skin/form/winskinform.h"

namespace srt {

namespace {

// An edit, list or combo box shows a field; everything else sits on the client area.
bool ShowsAField(UINT msg, HWND child) {
    if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) return true;
    char name[16] = {};
    GetClassNameA(child, name, sizeof name);
    return _stricmp(name, "Edit") == 0 || _stricmp(name, "ComboBox") == 0 || _stricmp(name, "ListBox") == 0;
}

COLORREF Rgb(TColour c) { return ColorToRGB(static_cast<TColor>(c)); }

enum class TItemList : std::uint8_t { None, ListView, Tree };

TItemList ItemListOf(HWND h) {
    char name[32] = {};
    GetClassNameA(h, name, sizeof name);
    if (_stricmp(name, WC_LISTVIEWA) == 0) return TItemList::ListView;
    if (_stricmp(name, WC_TREEVIEWA) == 0) return TItemList::Tree;
    return TItemList::None;
}

// An item about to be drawn in the skin's colours: its colours on the
// notification, and the item no longer marked selected, which would make
// the control draw it in the platform's selection colours. True when
// the item's colours changed.
bool ColourItem(const TSkinColours& c, TItemList kind, NMCUSTOMDRAW& cd) {
    const bool selected = (cd.uItemState & CDIS_SELECTED) != 0;
    // The platform shows an unfocused selection only where the style asks.
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(cd.hdr.hwndFrom, GWL_STYLE));
    const bool shown = GetFocus() == cd.hdr.hwndFrom ||
                       (style & (kind == TItemList::ListView ? LVS_SHOWSELALWAYS : TVS_SHOWSELALWAYS)) != 0;
    const TItemColours item = ItemColours(c, selected && shown, (cd.uItemState & CDIS_HOT) != 0);
    if (!HasColour(item.back) || !HasColour(item.text)) return false;
    if (kind == TItemList::ListView) {
        auto& lv = reinterpret_cast<NMLVCUSTOMDRAW&>(cd);
        lv.clrText = Rgb(item.text);
        lv.clrTextBk = Rgb(item.back);
    } else {
        auto& tv = reinterpret_cast<NMTVCUSTOMDRAW&>(cd);
        tv.clrText = Rgb(item.text);
        tv.clrTextBk = Rgb(item.back);
    }
    cd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
    return true;
}

// Colours the DC for `child` from the skin's content colours; the brush to
// answer with, or nothing when the skin leaves that kind's colours out.
std::optional<LRESULT> ContentColours(const TSkinData& data, UINT msg, HDC dc, HWND child) {
    const TSkinColours& c = data.Colours;
    const bool field = ShowsAField(msg, child);
    const TColour back = field ? c.Edit : c.Client;
    const HBRUSH brush = field ? data.EditBrush() : data.ClientBrush();
    if (!HasColour(back) || !brush) return std::nullopt;
    const TColour text = !IsWindowEnabled(child) && HasColour(c.DisabledText) ? c.DisabledText
                         : field                                              ? c.EditText
                                                                              : c.ClientText;
    if (HasColour(text)) SetTextColor(dc, Rgb(text));
    SetBkColor(dc, Rgb(back));
    if (field) SetBkMode(dc, OPAQUE);  // typed text must cover what it replaces
    return reinterpret_cast<LRESULT>(brush);
}

}  // namespace

LRESULT TWinSkinForm::OnCtlColor(const TMsg& m) {
    LRESULT r = PassOn(m.msg, m.wParam, m.lParam);
    const auto dc = reinterpret_cast<HDC>(m.wParam);
    if (const auto content = ContentColours(*FSkinData, m.msg, dc, reinterpret_cast<HWND>(m.lParam))) {
        if (!FForm && !ShowsAField(m.msg, reinterpret_cast<HWND>(m.lParam))) SetBkMode(dc, TRANSPARENT);
        return *content;
    }
    if (!FForm) {
        SetBkMode(dc, TRANSPARENT);
        if (m.msg == WM_CTLCOLORSTATIC && FSkinData->ButtonFaceBrush())
            r = reinterpret_cast<LRESULT>(FSkinData->ButtonFaceBrush());
    }
    return r;
}

LRESULT TWinSkinForm::OnNotify(const TMsg& m) {
    LRESULT r = PassOn(m.msg, m.wParam, m.lParam);
    auto* hdr = reinterpret_cast<NMHDR*>(m.lParam);
    if (!hdr || hdr->code != static_cast<UINT>(NM_CUSTOMDRAW) || !FSkinData) return r;
    const TSkinColours& c = FSkinData->Colours;
    if (!HasColour(c.EditHilight) && !HasColour(c.HotText)) return r;  // nothing to change: as before
    const TItemList kind = ItemListOf(hdr->hwndFrom);
    if (kind == TItemList::None || (r & CDRF_SKIPDEFAULT)) return r;
    auto& cd = *reinterpret_cast<NMCUSTOMDRAW*>(m.lParam);
    if (cd.dwDrawStage == CDDS_PREPAINT) return r | CDRF_NOTIFYITEMDRAW;
    if (cd.dwDrawStage == CDDS_ITEMPREPAINT && ColourItem(c, kind, cd)) return r | CDRF_NEWFONT;
    return r;
}

}  // namespace srt
