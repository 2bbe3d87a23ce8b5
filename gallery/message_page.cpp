// A message dialog ("#32770") whose caption is longer than its text needs:
// the skin widens it so that the caption fits.
#include "gallery.h"


namespace gallery {

void MessagePage() {
    HWND owner = Application->MainForm() ? Application->MainForm()->Handle() : nullptr;
    MessageBoxW(owner, L"Saved.",
                L"A message dialog whose caption is much longer than the text it shows",
                MB_OK | MB_ICONINFORMATION);
}

}  // namespace gallery
