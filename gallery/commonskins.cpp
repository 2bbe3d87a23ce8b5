#include "commonskins.h"

#include <memory>

#include "component/comctrls.h"
#include "gallery.h"
#include "skin/controls/indicators.h"
#include "skin/controls/scrollbars.h"
#include "skin/controls/tabs.h"

namespace gallery {
namespace {

// The gallery skin with its progress bars in the block look.
TSkinData* BlockLook() {
    static std::unique_ptr<TSkinData> data;
    if (!data) {
        data = std::make_unique<TSkinData>(nullptr);
        if (!data->LoadFromBytes(GallerySkin()->SkinStream())) return nullptr;
        // A block-look skin: its trough is one frame, the chunk its bar.
        if (srt::TDataSkinBorder* p = data->Progress.get(); p && p->FrameCount >= 2 && !p->Image.Empty()) {
            TBitmap trough(p->Image.Width() / p->FrameCount, p->Image.Height());
            BitBlt(trough.Canvas(), 0, 0, trough.Width(), trough.Height(), p->Image.Canvas(), 0, 0, SRCCOPY);
            p->Image = std::move(trough);
            p->Style = 1;
        }
    }
    return data.get();
}

TObject* SkinFor(TComponent* control) {
    if (control->Is<TListView>()) return new srt::TSkinListView(nullptr);
    if (control->Is<TScrollBar>()) return new srt::TSkinScControl(nullptr);
    if (control->Is<TStatusBar>()) return new srt::TSkinStatusBar(nullptr);
    if (control->Is<TTabControl>()) return new srt::TSkinTab(nullptr);
    if (auto* bar = dyncast<TProgressBar>(control)) {
        auto* skin = new srt::TSkinProgress(nullptr);
        if (bar->Tag() == kBlockProgressTag)
            if (TSkinData* block = BlockLook()) skin->InitControl(bar, block, false);
        return skin;
    }
    return nullptr;
}

}  // namespace

void UseCommonControlSkins() {
    TSkinData* data = GallerySkin();
    static bool installed = false;
    if (!data || installed) return;
    installed = true;
    auto previous = data->OnSkinControl.Code;
    data->OnSkinControl.Code = [previous](TObject* sender, TSkinData* skinData, TComponent* form,
                                          TComponent* control, const std::string& cls, TObject*& skinned) {
        if (previous) previous(sender, skinData, form, control, cls, skinned);
        if (!skinned) skinned = SkinFor(control);
    };
}

}  // namespace gallery
