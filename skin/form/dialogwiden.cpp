// Message dialogs widened to show their whole caption on the skinned frame.
#include "skin/form/winskinform.h"

namespace srt {
namespace {
constexpr UINT kSwpResizeFrame = SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED;  // 0x26
}  // namespace

void TWinSkinForm::WidenDialog(bool refresh) {
    if (FShowState == ssMaximized) {
        RecalcFrame();
        return;
    }
    RECT& client = FWindow.clientRect;
    if (refresh) GetClientRect(FHandle, &client);
    int width = client.right + FMetrics.BorderLeft + FMetrics.BorderRight;
    const int height = client.bottom + FMetrics.TitleHeight + FMetrics.BorderBottom + FMenus.height;
    // At start (sizing) and on a refresh alike: a dialog is only ever widened
    // to what its caption needs, so a second pass moves nothing.
    if (IsMessageDialogClass(FWindow.className)) {
        {
            ClientDC screen(nullptr);
            GdiSelect font(screen.Get(), FCaption.font);
            SIZE size{};
            GetTextExtentPoint32W(screen.Get(), L" ", 1, &size);
            FCaption.spaceWidth = size.cx;
        }
        ReadCaptionText();
        const int needed = DialogCaptionWidth(FMetrics, *Skin().Title, FCaption.spaceWidth,
                                              static_cast<int>(FCaption.text.size()));
        if (width < needed) {
            const int shift = (needed - width) / 2;
            for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                RECT r{};
                GetWindowRect(child, &r);
                MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&r), 2);
                SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
            }
            width = needed;
        }
    }
    SetWindowPos(FHandle, nullptr, 0, 0, width, height, kSwpResizeFrame);
}

}  // namespace srt
