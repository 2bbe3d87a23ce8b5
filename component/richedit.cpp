#include "component/richedit.h"

#include <richedit.h>

SRT_DEFINE_CLASS(TRichEdit, TCustomMemo, )

void TRichEdit::CreateParams(TCreateParams& p) {
    TCustomMemo::CreateParams(p);
    // The class comes with its library; without it the memo stays a plain edit.
    static const bool loaded = LoadLibraryW(L"riched20.dll") != nullptr;
    if (loaded) p.WinClassName = RICHEDIT_CLASSW;
}
