// The control skins of one skinned window: the entry point of the form skin.
//
//     TControlSkins controls(formSkin, skinData, window);
//     controls.FormSkin = formSkin;        // OnSkinControl's sender
//     controls.ClassifyComponents(form);   // a form of the application, or
//     controls.ClassifyByWindowClass();    // any other window (dialogs)
//     ...
//     controls.SkinChange();               // after the skin data changed
//     controls.LeaveHotOutside(cursor);    // from the form skin's hover timer
//     controls.SetClosing(true);           // the window is being destroyed
//     controls.Release();                  // every control skin detached and freed
//
// It owns the control skins (FControls) and knows the one showing its hot
// look (FHotControl). Win32, GUI thread only.
#pragma once

#include <windows.h>

#include <vector>

#include "component/controls.h"
#include "skin/controls/classify.h"
#include "skin/controls/skincontrol.h"
#include "skin/data/skindata.h"

namespace srt {

class TControlSkins : public TComponent, public TSkinControlOwner, private TClassifyTarget {
    SRT_DECLARE_CLASS()
public:
    TControlSkins(TComponent* owner, TSkinData* data, HWND window);
    ~TControlSkins() override;

    // Sender of OnSkinControl; the form skin, or this object without one.
    TObject* FormSkin = nullptr;

    // Attaches control skins to the owned components of `container` (the form).
    void ClassifyComponents(TComponent* container);
    // Attaches control skins to the direct child windows of the window.
    void ClassifyByWindowClass();
    void SkinChange();
    void Release();

    bool Closing() const override { return closing_; }
    void SetClosing(bool closing) { closing_ = closing; }

    TSkinControl* HotControl() const override { return hot_; }
    void SetHotControl(TSkinControl* control) override { hot_ = control; }
    // The hot control gets its mouse-leave and is cleared.
    void LeaveHot();
    // As LeaveHot, when `screen` lies outside the hot control's window.
    void LeaveHotOutside(POINT screen);

    const std::vector<TSkinControl*>& Controls() const { return controls_; }
    bool Contains(const TSkinControl* skin) const override;
    void Add(TSkinControl* skin) override;
    TSkinControl* FindByHandle(HWND window) const;
    TSkinData* SkinData() const { return data_; }
    HWND Window() const { return window_; }

    void Notification(TComponent* component, TOperation operation) override;

private:
    // TClassifyTarget
    TSkinData& Data() override { return *data_; }
    TObject* Sender() override { return FormSkin ? FormSkin : this; }
    std::string FormName() override;
    std::vector<TSkinEntry> Entries() override;
    std::uintptr_t Handle(TComponent* c) override;
    void HandleNeeded(TComponent* c) override;
    std::uint32_t Style(TComponent* c) override;
    std::vector<TComponent*> Children(TComponent* c) override;
    void Adopt(TObject* skin, TComponent* control) override;
    void Attach(TComponent* control, TSkinKind kind, bool changeColour, bool byHandle) override;
    void AttachWindow(HWND window, TSkinKind kind);
    void Remove(TSkinControl* skin);

    TSkinData* data_;
    HWND window_;
    std::vector<TSkinControl*> controls_;
    TSkinControl* hot_ = nullptr;
    bool closing_ = false;
    TComponent* form_ = nullptr;
};

// A new control skin of `kind` owned by `owner`, or null for a kind that has
// no control skin in this build.
TSkinControl* CreateControlSkin(TSkinKind kind, TControlSkins* owner);

}  // namespace srt
