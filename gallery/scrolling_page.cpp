// Skinned scroll bars: a memo with both bars, a list view with its header
// and stand-alone scroll bars. Mouse, wheel and keyboard scroll them as the
// platform does; the thumbs of the memo are dragged by the skin.
#include <string>

#include "commonskins.h"
#include "component/comctrls.h"
#include "component/dpi.h"
#include "gallery.h"

namespace gallery {

void ScrollingPage() {
    UseCommonControlSkins();
    TForm* form = NewPageForm("Memo, list view and scroll bars", 560, 330);
    auto* memo = new TMemo(form);
    memo->SetScrollBars(ssBoth);
    memo->SetWordWrap(false);
    Place(memo, form, 12, 12, 260, 200);
    std::string text;
    for (int i = 1; i <= 120; ++i) {
        const std::string n = std::to_string(i);
        text += n + "\r\n00:00:" + (i < 10 ? "0" : "") + n + ",000 --> 00:00:" + (i < 9 ? "0" : "") +
                std::to_string(i + 1) + ",500\r\nLine " + n +
                " of a subtitle long enough to need the horizontal scroll bar\r\n\r\n";
    }
    memo->Lines()->SetText(text);

    auto* list = new TListView(form);
    Place(list, form, 284, 12, 264, 200);
    list->AddColumn("#", 40);
    list->AddColumn("Start", 90);
    list->AddColumn("Text", 200);
    for (int i = 1; i <= 60; ++i)
        list->AddItem({std::to_string(i), "00:00:" + std::to_string(10 + i % 50) + ",000", "Cue number " + std::to_string(i)});

    // The layout is at 96 DPI: the platform's thickness there.
    auto* horz = new TScrollBar(form);
    Place(horz, form, 12, 224, 260, srt::SystemMetricForDpi(SM_CYHSCROLL, srt::kDesignDpi));
    horz->SetParams(30, 0, 99, 20);
    auto* vert = new TScrollBar(form);
    vert->SetKind(sbVertical);
    Place(vert, form, 284, 224, srt::SystemMetricForDpi(SM_CXVSCROLL, srt::kDesignDpi), 90);
    vert->SetParams(0, 0, 9, 0);
    CloseButton(form, 468, 292);
    form->Show();
}

}  // namespace gallery
