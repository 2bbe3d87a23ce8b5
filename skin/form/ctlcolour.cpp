// The colours a skinned window gives its controls when they ask
// (WM_CTLCOLOR...): the skin's content colours where it has them, else
// what the window's own procedure answers.
#include <windows.h>

#include <cstring>
#include <optional>

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

}  // namespace srt
