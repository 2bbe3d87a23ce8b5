#include "launcher.h"

#include <windows.h>

#include <algorithm>

#include "component/wstr.h"
#include "skin/data/skinfolder.h"

#include "gallery.h"

SRT_DEFINE_CLASS(TGalleryForm, TForm, )

namespace {
constexpr int kMargin = 12, kMinButtonWidth = 240, kButtonHeight = 26, kGap = 6, kRowsPerColumn = 10;
constexpr int kButtonPadding = 16;  // each side: the skin's frame margin and some air
constexpr int kComboHeight = 200;  // with its list dropped down

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/") + 1); }

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) return path.substr(0, n);
        path.resize(path.size() * 2);
    }
}

}  // namespace

int ButtonWidthFor(TFont& font, const std::string& caption) {
    const std::wstring text = Widen(caption);
    SIZE extent{};
    if (HDC dc = GetDC(nullptr)) {
        HGDIOBJ old = SelectObject(dc, font.Handle());
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
    }
    return static_cast<int>(extent.cx) + 2 * kButtonPadding;
}

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner) {
    ReadFormResource(*this, Application->Classes());
    SkinData1 = FindComponentAs<TSkinData>("SkinData1");
    if (SkinData1) storedSkin_ = SkinData1->SkinStream();
    const auto pages = gallery::Pages();
    const int count = static_cast<int>(pages.size());
    const int rows = std::min(count, kRowsPerColumn);
    const int columns = (count + kRowsPerColumn - 1) / kRowsPerColumn;
    // Every button as wide as the longest title needs.
    int buttonWidth = kMinButtonWidth;
    for (const auto& page : pages) buttonWidth = std::max(buttonWidth, ButtonWidthFor(*Font(), page.name));
    for (int i = 0; i < count; ++i) {
        const int x = kMargin + (i / kRowsPerColumn) * (buttonWidth + kGap);
        const int y = kMargin + (i % kRowsPerColumn) * (kButtonHeight + kGap);
        auto* button = gallery::Place(new TButton(this), this, x, y, buttonWidth, kButtonHeight, pages[i].name);
        button->OnClick.Code = [show = pages[i].show](TObject*) { show(); };
    }
    const int width = columns * buttonWidth + (columns - 1) * kGap;

    // The skin chooser under the buttons. Its entries say what they are: a
    // label beside it would keep the platform's text colour on every skin.
    const int chooserY = kMargin + rows * (kButtonHeight + kGap) + kGap;
    skinFiles_ = srt::ShippedSkinFiles(FolderOf(ModulePath()));
    std::vector<std::string> titles = {"Skin: stored" + (SkinData1 && !SkinData1->SkinName.empty()
                                                             ? " (" + SkinData1->SkinName + ")"
                                                             : std::string())};
    for (const std::wstring& file : skinFiles_) titles.push_back("Skin: " + Narrow(srt::SkinFileTitle(file)));
    SkinList = gallery::Place(new TComboBox(this), this, kMargin, chooserY, width, kComboHeight);
    SkinList->SetStyle(csDropDownList);
    SkinList->SetItems(titles);
    SkinList->SetItemIndex(0);
    SkinList->OnChange.Code = [this](TObject*) { ChooseSkin(SkinList->ItemIndex()); };

    SetClientWidth(2 * kMargin + width);
    SetClientHeight(chooserY + kButtonHeight + kMargin);
}

bool TGalleryForm::ChooseSkin(int index) {
    if (!SkinData1 || index < 0 || index > static_cast<int>(skinFiles_.size())) return false;
    if (index == 0) return SkinData1->LoadFromBytes(storedSkin_);
    SkinData1->SetSkinFile(Narrow(skinFiles_[static_cast<std::size_t>(index - 1)]));
    if (SkinData1->SkinFileError().empty()) return true;
    Application->ShowException(SkinData1->SkinFileError());
    return false;
}

bool TGalleryForm::ChooseSkin(const std::string& title) {
    for (std::size_t i = 0; i < skinFiles_.size(); ++i) {
        if (Narrow(srt::SkinFileTitle(skinFiles_[i])) != title) continue;
        const int index = static_cast<int>(i) + 1;
        SkinList->SetItemIndex(index);
        return ChooseSkin(index);
    }
    return false;
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
