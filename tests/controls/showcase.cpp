// A form with one of each control the control skins paint, skinned with the
// program's own skin, for looking at (screenshots): showcase.exe SKIN [ms].
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "component/forms.h"
#include "skin/controls/controlskins.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<std::uint8_t> skin{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    TApplication app;
    TSkinData data(nullptr);
    if (!data.LoadFromBytes(skin)) return 1;
    auto* form = app.CreateForm<TForm>();
    form->SetCaption("Controls");
    form->SetBounds(40, 40, 420, 300);
    form->SetColor(static_cast<TColor>(data.Colours.ButtonFace));
    auto place = [&](TWinControl* c, int x, int y, int w, int h, const char* text) {
        c->SetParent(form);
        c->SetBounds(x, y, w, h);
        if (text) c->SetCaption(text);
        return c;
    };
    place(new TButton(form), 16, 16, 90, 26, "Open");
    place(new TButton(form), 116, 16, 90, 26, "Adjust");
    auto* off = place(new TButton(form), 216, 16, 90, 26, "Disabled");
    off->SetEnabled(false);
    place(new TEdit(form), 16, 56, 190, 22, "1500");
    auto* memo = new TMemo(form);
    place(memo, 16, 90, 190, 90, nullptr);
    memo->SetText("1\r\n00:00:01,000 --> 00:00:02,500\r\nHello");
    form->Show();
    srt::TControlSkins skins(nullptr, &data, form->Handle());
    skins.ClassifyComponents(form);
    HWND h = form->Handle();
    auto raw = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int hh) {
        return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, hh, h, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    };
    HWND check = raw(L"BUTTON", L"Check box", BS_AUTOCHECKBOX, 230, 56, 150, 20);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    raw(L"BUTTON", L"Unchecked", BS_AUTOCHECKBOX, 230, 80, 150, 20);
    HWND radio = raw(L"BUTTON", L"Radio one", BS_AUTORADIOBUTTON, 230, 104, 150, 20);
    SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
    raw(L"BUTTON", L"Radio two", BS_AUTORADIOBUTTON, 230, 128, 150, 20);
    HWND combo = raw(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL, 230, 156, 150, 200);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"UTF-8"));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    HWND edit = raw(L"EDIT", L"25", 0, 230, 190, 60, 22);
    SetWindowLongPtrW(edit, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    SetWindowPos(edit, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    raw(UPDOWN_CLASSW, L"", 0, 292, 190, 18, 22);
    raw(L"BUTTON", L"Group", BS_GROUPBOX, 16, 190, 190, 60);
    skins.ClassifyByWindowClass();
    InvalidateRect(h, nullptr, TRUE);
    const DWORD until = GetTickCount() + static_cast<DWORD>(argc > 2 ? std::atoi(argv[2]) : 4000);
    MSG msg;
    while (GetTickCount() < until) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
    skins.Release();
    return 0;
}
