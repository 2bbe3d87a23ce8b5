// An MDI frame with three children, built on the platform's MDI classes.
// Maximised, a child's caption buttons go into the frame's menu bar.
#include "gallery.h"

#include <cstdio>

namespace gallery {
namespace {

constexpr wchar_t kFrameClass[] = L"SkinGalleryMdiFrame";
constexpr wchar_t kChildClass[] = L"SkinGalleryMdiChild";
enum : UINT { idNewChild = 1, idCascade, idTile, idMaximizeChild, idRestoreChild, idClose };
constexpr UINT kFirstChildId = 100;

struct TFrame {
    HWND client = nullptr;
    int children = 0;
};

TFrame* FrameOf(HWND window) { return reinterpret_cast<TFrame*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

HMENU BuildMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, idNewChild, L"&New child");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, idClose, L"&Close");
    HMENU window = CreatePopupMenu();
    AppendMenuW(window, MF_STRING, idCascade, L"&Cascade");
    AppendMenuW(window, MF_STRING, idTile, L"&Tile");
    AppendMenuW(window, MF_STRING, idMaximizeChild, L"Ma&ximize active child");
    AppendMenuW(window, MF_STRING, idRestoreChild, L"&Restore active child");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), L"&Window");
    return bar;
}

HWND ActiveChild(const TFrame& frame) {
    return reinterpret_cast<HWND>(SendMessageW(frame.client, WM_MDIGETACTIVE, 0, 0));
}

HWND NewChild(TFrame& frame) {
    wchar_t title[32];
    std::swprintf(title, std::size(title), L"Child %d", ++frame.children);
    MDICREATESTRUCTW create{};
    create.szClass = kChildClass;
    create.szTitle = title;
    create.hOwner = GetModuleHandleW(nullptr);
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    auto child = reinterpret_cast<HWND>(SendMessageW(frame.client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    // The frame's menu follows its children; the skin takes the new one here.
    SendMessageW(frame.client, WM_MDIREFRESHMENU, 0, 0);
    return child;
}

LRESULT CALLBACK FrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TFrame* frame = FrameOf(window);
    switch (msg) {
    case WM_NCCREATE:
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TFrame));
        break;
    case WM_CREATE: {
        CLIENTCREATESTRUCT client{GetSubMenu(GetMenu(window), 1), kFirstChildId};
        frame->client = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                        WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 0,
                                        0, window, nullptr, GetModuleHandleW(nullptr), &client);
        return frame->client ? 0 : -1;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case idNewChild: NewChild(*frame); return 0;
        case idCascade: SendMessageW(frame->client, WM_MDICASCADE, 0, 0); return 0;
        case idTile: SendMessageW(frame->client, WM_MDITILE, MDITILE_VERTICAL, 0); return 0;
        case idMaximizeChild:
            if (HWND child = ActiveChild(*frame)) SendMessageW(frame->client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
            return 0;
        case idRestoreChild:
            if (HWND child = ActiveChild(*frame)) SendMessageW(frame->client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
            return 0;
        case idClose: DestroyWindow(window); return 0;
        default: break;
        }
        break;
    case WM_NCDESTROY:
        delete frame;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return DefFrameProcW(window, nullptr, msg, wParam, lParam);
    default: break;
    }
    return DefFrameProcW(window, frame ? frame->client : nullptr, msg, wParam, lParam);
}

LRESULT CALLBACK ChildProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        wchar_t title[64] = {};
        GetWindowTextW(window, title, 64);
        RECT r{};
        GetClientRect(window, &r);
        // Text in the colours the window gives static text (a skin's, when it has some).
        SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window));
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, title, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(window, &ps);
        return 0;
    }
    return DefMDIChildProcW(window, msg, wParam, lParam);
}

void RegisterClasses() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    if (GetClassInfoW(instance, kFrameClass, &wc)) return;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = kFrameClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = ChildProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kChildClass;
    RegisterClassW(&wc);
}

// The frame, shown (and so skinned) before its children are made.
TFrame* OpenFrame(int children) {
    RegisterClasses();
    HWND window = CreateWindowExW(0, kFrameClass, L"MDI frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 360, 80, 560,
                                  400, nullptr, BuildMenu(), GetModuleHandleW(nullptr), nullptr);
    if (!window) return nullptr;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    TFrame* frame = FrameOf(window);
    for (int i = 0; i < children; ++i) NewChild(*frame);
    return frame;
}

}  // namespace

void MdiPage() { OpenFrame(3); }

void MdiMaximizedPage() {
    if (TFrame* frame = OpenFrame(3))
        if (HWND child = ActiveChild(*frame))
            SendMessageW(frame->client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
}

}  // namespace gallery
