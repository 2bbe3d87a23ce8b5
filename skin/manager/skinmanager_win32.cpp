// The window side of the manager: the deferred-action timer, the
// thread-local CBT hook of the GUI thread, the form-level tests before a
// form skin is attached and the table of deferred actions.
#include <windows.h>

#include <string>

#include "component/forms.h"
#include "component/trace.h"
#include "skin/draw/skindraw.h"
#include "skin/manager/formrules.h"
#include "skin/manager/skinmanager.h"

namespace srt {
namespace {

HHOOK g_hook = nullptr;  // the one CBT hook; the callback has no context argument

std::string ClassNameOf(HWND window) {
    char name[101] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

HWND HandleOf(std::uintptr_t window) { return reinterpret_cast<HWND>(window); }
std::uintptr_t Id(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

TCustomForm* FindApplicationForm(HWND window) {
    if (!Screen) return nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form->HandleAllocated() && form->Handle() == window) return form;
    }
    return nullptr;
}

void CALLBACK ActionTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    if (TSkinManage* manager = TheSkinManager()) manager->TimerTick();
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    TSkinManage* manager = TheSkinManager();
    if (code < 0 || !manager) return CallNextHookEx(g_hook, code, wParam, lParam);
    HWND window = reinterpret_cast<HWND>(wParam);
    switch (code) {
    case HCBT_CREATEWND: {
        const std::string cls = ClassNameOf(window);
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (cls == "ScrollBar" && (cs->style & SBS_SIZEGRIP) && manager->FindFormSkin(Id(cs->hwndParent)))
            return 10;  // no size grip on a skinned form
        if (cls == "#32768") manager->SkinPopupWindow(Id(window));
        break;
    }
    case HCBT_DESTROYWND: manager->ReleasePopupWindow(Id(window)); break;
    case HCBT_ACTIVATE:
        manager->NoteActivation();
        manager->SkinWindow(Id(window));
        break;
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

void TSkinManage::ArmTimer(bool enabled) {
    FTimerEnabled = enabled;
    if (FTimerId) {
        KillTimer(nullptr, FTimerId);
        FTimerId = 0;
    }
    if (enabled && FStarted != 4) FTimerId = SetTimer(nullptr, 0, FTimerInterval, ActionTimerProc);
}

void TSkinManage::InstallHook() {
    if (FHook) return;
    const DWORD version = GetVersion();
    g_hook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    FHook = reinterpret_cast<std::uintptr_t>(g_hook);
    SkinTrace("Windows version %lx (%lu.%lu)", version, version & 0xFF, (version >> 8) & 0xFF);
    SkinTrace("thread %lx, hook %lx", GetCurrentThreadId(), FHook);
}

void TSkinManage::ReleaseHook() {
    if (!FHook) return;
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    FHook = 0;
}

bool TSkinManage::SkinWindow(std::uintptr_t id) {
    HWND window = HandleOf(id);
    if (!IsWindow(window)) return false;
    TSkinWindowFacts facts;
    facts.managerActive = FActive;
    if (FActive) {
        facts.answersQuery = SendMessageA(window, kWmSkinQuery, 0, 0) == 1;
        facts.hasFormSkin = FindFormSkin(id) != nullptr;
    }
    TCustomForm* form = FindApplicationForm(window);
    facts.scanning = FScanning;
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    facts.isChild = (style & WS_CHILD) != 0;
    if (facts.isChild) facts.parentClassName = ClassNameOf(GetParent(window));
    RECT r{};
    GetWindowRect(window, &r);
    facts.width = r.right - r.left;
    facts.height = r.bottom - r.top;
    facts.isForm = form != nullptr;
    facts.formTag = form ? form->Tag() : 0;
    facts.className = ClassNameOf(window);
    if (CheckSkinWindow(facts) != TSkinRefusal::None) return false;

    for (::TSkinData* data : FSkinDatas) {
        if (data->SkinFormtype() != sfMainform) continue;
        bool doSkin = true;
        if (data->OnFormSkin) {
            data->OnFormSkin(data, facts.className, doSkin);
        } else {
            doSkin = AcceptFormClass(facts.className, srt::TSkinControls(data->SkinControls()));
        }
        if (!doSkin) return false;
        break;
    }

    std::vector<TSkinDataCandidate> candidates;
    for (::TSkinData* data : FSkinDatas) {
        TSkinDataCandidate c;
        c.formType = data->SkinFormtype();
        if (auto* owner = dynamic_cast<TWinControl*>(data->Owner()); owner && owner->HandleAllocated()) {
            c.ownerIsWindow = true;
            c.ownerHandle = Id(owner->Handle());
        }
        candidates.push_back(c);
    }
    const int chosen = SelectSkinData(candidates, id, facts.className);
    if (chosen < 0 || FSkinDatas[chosen]->Empty() || !FFormFactory) return false;

    std::unique_ptr<TManagedFormSkin> skin = FFormFactory(id, FSkinDatas[chosen], form);
    if (!skin) return false;
    FForms.push_back(std::move(skin));
    PostMessageA(window, kWmSkinStart, 0, kSkinStartLParam);
    return true;
}

void TSkinManage::SkinWindow(TComponent* form) {
    if (auto* control = dynamic_cast<TWinControl*>(form)) SkinWindow(Id(control->Handle()));
}

void TSkinManage::SkinPopupWindow(std::uintptr_t id) {
    if (!FActive || !FPopupFactory) return;
    HWND window = HandleOf(id);
    if (SendMessageA(window, kWmSkinQuery, 0, 0) == 1) return;
    for (const auto& popup : FPopups)
        if (popup->Window() == id) return;
    std::vector<TSkinDataCandidate> candidates;
    for (::TSkinData* data : FSkinDatas) candidates.push_back({data->SkinFormtype(), false, 0});
    const int chosen = SelectSkinData(candidates, id, "#32768");
    if (chosen < 0) return;
    ::TSkinData* data = FSkinDatas[chosen];
    if (data->Empty() || !data->HasControl(xcMainMenu)) return;
    if (auto popup = FPopupFactory(id, data)) FPopups.push_back(std::move(popup));
}

bool TSkinManage::ReleasePopupWindow(std::uintptr_t id) {
    for (auto it = FPopups.begin(); it != FPopups.end(); ++it) {
        if ((*it)->Window() != id) continue;
        std::unique_ptr<TManagedPopupSkin> popup = std::move(*it);
        FPopups.erase(it);
        popup->Detach();
        return true;
    }
    return false;
}

// Detaches (or not), takes out of the list and frees form skin `index`.
void TSkinManage::FreeFormSkin(std::size_t index, bool detach) {
    std::unique_ptr<TManagedFormSkin> skin = std::move(FForms[index]);
    FForms.erase(FForms.begin() + static_cast<std::ptrdiff_t>(index));
    if (!detach) return;
    HWND window = HandleOf(skin->Window());
    skin->Detach();
    skin.reset();
    if (IsWindow(window)) {
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
    }
}

// A dead form skin is only ever freed: its window and form are gone.
void TSkinManage::RunAction(TManagerAction action, ::TSkinData* source) {
    if (action == maPurge) {
        for (std::size_t i = FForms.size(); i-- > 0;)
            if (i < FForms.size() && FForms[i]->LifeState() == fsDead) FreeFormSkin(i, false);
        return;
    }
    if (!source) return;
    const bool onlyThis = source->SkinFormtype() == sfOnlyThisForm;
    switch (action) {
    case maActivate: {
        if (!Screen) break;
        for (int i = Screen->FormCount() - 1; i >= 0; --i) {
            TCustomForm* form = Screen->Forms(i);
            if (onlyThis && form != source->Owner()) continue;
            if (form->HandleAllocated()) SkinWindow(Id(form->Handle()));
            if (onlyThis) break;
        }
        break;
    }
    case maDeactivate:
        for (std::size_t i = FForms.size(); i-- > 0;) {
            if (i >= FForms.size()) continue;
            const bool dead = FForms[i]->LifeState() == fsDead;
            if (onlyThis && (dead || FForms[i]->SkinData() != source)) continue;
            FreeFormSkin(i, !dead);
            if (onlyThis) break;
        }
        break;
    case maRefresh: {
        const auto live = [source](const auto& skin) {
            return skin->LifeState() != fsDead && skin->SkinData() == source;
        };
        bool reapplied = false;
        for (const auto& skin : FForms) {
            if (!live(skin)) continue;
            skin->FreeCaches();
            skin->RecomputeFrame();
            if (onlyThis) {
                skin->Reapply();
                reapplied = true;
                break;
            }
        }
        if (!reapplied)
            for (std::size_t i = 0; i < FForms.size(); ++i)
                if (live(FForms[i])) FForms[i]->Reapply();
        // FreeFormCaches freed the caption buttons of every form skin: those
        // of other sources are built again too, from their unchanged skins.
        for (std::size_t i = 0; i < FForms.size(); ++i) {
            TManagedFormSkin& skin = *FForms[i];
            if (skin.LifeState() == fsDead || !skin.CachesFreed()) continue;
            skin.RecomputeFrame();
            HWND window = HandleOf(skin.Window());
            if (IsWindow(window)) RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        }
        break;
    }
    default: break;
    }
}

}  // namespace srt
