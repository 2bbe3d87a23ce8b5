#include "skin/controls/controlskins.h"

#include <algorithm>

#include "skin/controls/buttons.h"
#include "skin/controls/edits.h"
#include "skin/controls/indicators.h"
#include "skin/controls/scrollbars.h"
#include "skin/controls/tabs.h"

namespace srt {

SRT_DEFINE_CLASS(TControlSkins, TComponent, )

TSkinControl* CreateControlSkin(TSkinKind kind, TControlSkins* owner) {
    switch (kind) {
    case TSkinKind::Button: return new TSkinButton(owner);
    case TSkinKind::CheckBox: return new TSkinCheckBox(owner);
    case TSkinKind::RadioButton: return new TSkinRadioButton(owner);
    case TSkinKind::Edit: return new TSkinEdit(owner);
    case TSkinKind::ComboBox: return new TSkinComBox(owner);
    case TSkinKind::UpDown: return new TSkinUpDown(owner);
    case TSkinKind::ScrollBar: return new TSkinScrollBar(owner);
    case TSkinKind::Box: return new TSkinBox(owner);
    case TSkinKind::TrackBar: return new TSkinTrackBar(owner);
    case TSkinKind::Tab: return new TSkinTab(owner);
    case TSkinKind::Tab31: return new TSkinTab31(owner);
    case TSkinKind::Progress: return new TSkinProgress(owner);
    case TSkinKind::Sizer: return new TSkinSizer(owner);
    default: return nullptr;
    }
}

TControlSkins::TControlSkins(TComponent* owner, TSkinData* data, HWND window)
    : TComponent(owner), data_(data), window_(window) {}

TControlSkins::~TControlSkins() { Release(); }

void TControlSkins::ClassifyComponents(TComponent* container) {
    if (!data_ || !container) return;
    if (!form_) form_ = container;
    srt::ClassifyComponents(*this, container);
}

void TControlSkins::ClassifyByWindowClass() {
    if (!data_ || !window_) return;
    for (HWND child = GetTopWindow(window_); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const auto style = static_cast<std::uint32_t>(GetWindowLongPtrW(child, GWL_STYLE));
        if (!(style & WS_CHILD) || FindByHandle(child)) continue;
        char name[101] = {};
        GetClassNameA(child, name, 101);
        const std::string cls = Lower(name);
        TSkinKind kind = WindowClassKind(cls, style);
        if (kind == TSkinKind::None) continue;
        HWND target = child;
        if (cls == "comboboxex32") {
            target = GetWindow(child, GW_CHILD);
            if (!target || FindByHandle(target)) continue;
        }
        AttachWindow(target, kind);
    }
}

void TControlSkins::AttachWindow(HWND window, TSkinKind kind) {
    TSkinControl* skin = CreateControlSkin(kind, this);
    if (!skin) return;
    skin->InitWindow(window, data_);
    if (!skin->Inited() || !skin->Handle()) {
        skin->Free();
        return;
    }
    Add(skin);
}

void TControlSkins::SkinChange() {
    for (TSkinControl* c : std::vector<TSkinControl*>(controls_)) c->SkinChange();
}

void TControlSkins::Release() {
    hot_ = nullptr;
    for (TSkinControl* c : std::vector<TSkinControl*>(controls_)) c->Free();
    controls_.clear();
    // Skins made by other skins (an edit's spin button) go with their owner here.
    while (ComponentCount() > 0) {
        auto* c = dyncast<TSkinControl>(Components(ComponentCount() - 1));
        if (!c) break;
        c->Free();
    }
}

void TControlSkins::LeaveHot() {
    if (TSkinControl* hot = std::exchange(hot_, nullptr)) hot->SendMouseLeave();
}

void TControlSkins::LeaveHotOutside(POINT screen) {
    if (hot_ && !PtInRect(&hot_->WindowRect(), screen)) LeaveHot();
}

bool TControlSkins::Contains(const TSkinControl* skin) const {
    return std::find(controls_.begin(), controls_.end(), skin) != controls_.end();
}

void TControlSkins::Add(TSkinControl* skin) {
    if (skin && !Contains(skin)) controls_.push_back(skin);
}

TSkinControl* TControlSkins::FindByHandle(HWND window) const {
    for (TSkinControl* c : controls_)
        if (c->Handle() == window) return c;
    return nullptr;
}

void TControlSkins::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove) {
        std::erase(controls_, component);
        if (hot_ == component) hot_ = nullptr;
        // A speed button that goes takes its skin along.
        for (TSkinControl* c : std::vector<TSkinControl*>(controls_))
            if (c->GraphicControl() == component) c->Free();
    }
    TComponent::Notification(component, operation);
}

std::string TControlSkins::FormName() { return form_ ? form_->Name() : std::string(); }

std::vector<TSkinEntry> TControlSkins::Entries() {
    std::vector<TSkinEntry> out;
    out.reserve(controls_.size());
    for (TSkinControl* c : controls_) {
        const TComponent* control = c->Control() ? static_cast<const TComponent*>(c->Control()) : c->GraphicControl();
        out.push_back({control, reinterpret_cast<std::uintptr_t>(c->Handle())});
    }
    return out;
}

std::uintptr_t TControlSkins::Handle(TComponent* c) {
    auto* w = dyncast<TWinControl>(c);
    return w && w->HandleAllocated() ? reinterpret_cast<std::uintptr_t>(w->Handle()) : 0;
}

void TControlSkins::HandleNeeded(TComponent* c) {
    if (auto* w = dyncast<TWinControl>(c)) w->HandleNeeded();
}

std::uint32_t TControlSkins::Style(TComponent* c) {
    auto* w = dyncast<TWinControl>(c);
    return w && w->HandleAllocated() ? static_cast<std::uint32_t>(GetWindowLongPtrW(w->Handle(), GWL_STYLE)) : 0;
}

std::vector<TComponent*> TControlSkins::Children(TComponent* c) {
    std::vector<TComponent*> out;
    if (auto* w = dyncast<TWinControl>(c))
        for (int i = 0; i < w->ControlCount(); ++i) out.push_back(w->Controls(i));
    return out;
}

void TControlSkins::Adopt(TObject* skin, TComponent* control) {
    auto* s = dyncast<TSkinControl>(skin);
    if (!s || Contains(s)) return;
    if (s->Owner() != this) InsertComponent(s);
    Add(s);
    if (auto* w = dyncast<TWinControl>(control)) s->InitControl(w, data_, false);
}

void TControlSkins::Attach(TComponent* control, TSkinKind kind, bool changeColour, bool byHandle) {
    auto* w = dyncast<TWinControl>(control);
    if (!w) return;
    if (byHandle) {
        if (HWND h = w->Handle(); h && !FindByHandle(h)) AttachWindow(h, kind);
        return;
    }
    for (TSkinControl* c : controls_)
        if (c->Control() == w) return;
    TSkinControl* skin = CreateControlSkin(kind, this);
    if (!skin) return;
    skin->InitControl(w, data_, changeColour);
    if (!skin->Inited()) skin->Free();
}

}  // namespace srt
