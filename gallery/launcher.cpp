#include "launcher.h"

#include <algorithm>

#include "gallery.h"

SRT_DEFINE_CLASS(TGalleryForm, TForm, )

namespace {
constexpr int kMargin = 12, kButtonWidth = 240, kButtonHeight = 26, kGap = 6, kRowsPerColumn = 10;
}  // namespace

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner) {
    ReadFormResource(*this, Application->Classes());
    SkinData1 = FindComponentAs<TSkinData>("SkinData1");
    const auto pages = gallery::Pages();
    const int count = static_cast<int>(pages.size());
    const int rows = std::min(count, kRowsPerColumn);
    const int columns = (count + kRowsPerColumn - 1) / kRowsPerColumn;
    for (int i = 0; i < count; ++i) {
        const int x = kMargin + (i / kRowsPerColumn) * (kButtonWidth + kGap);
        const int y = kMargin + (i % kRowsPerColumn) * (kButtonHeight + kGap);
        auto* button = gallery::Place(new TButton(this), this, x, y, kButtonWidth, kButtonHeight, pages[i].name);
        button->OnClick.Code = [show = pages[i].show](TObject*) { show(); };
    }
    SetClientWidth(2 * kMargin + columns * kButtonWidth + (columns - 1) * kGap);
    SetClientHeight(2 * kMargin + rows * kButtonHeight + (rows - 1) * kGap);
}

void RegisterGalleryClasses(TClassRegistry& classes) {
    RegisterControlClasses(classes);
    classes.Register<TGalleryForm, TSkinData>();
}

namespace gallery {

TSkinData* GallerySkin() {
    auto* launcher = dyncast<TGalleryForm>(Application ? Application->MainForm() : nullptr);
    return launcher ? launcher->SkinData1 : nullptr;
}

TForm* NewPageForm(const std::string& caption, int clientWidth, int clientHeight, TBorderStyle border) {
    // Each new page a little below and right of the one before.
    static int opened = 0;
    const int step = 28 * (opened++ % 8);
    auto* form = new TForm(Application);
    form->SetCaption(caption);
    form->SetBorderStyle(border);
    form->SetBounds(330 + step, 40 + step, 320, 240);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
    form->OnClose.Code = [form](TObject*) { form->Release(); };
    return form;
}

TButton* CloseButton(TForm* form, int x, int y) {
    auto* button = Place(new TButton(form), form, x, y, 80, 26, "Close");
    button->OnClick.Code = [form](TObject*) { form->Close(); };
    return button;
}

}  // namespace gallery
