#include "commands.h"

#include "component/dpi.h"
#include "component/wstr.h"
#include "skin/data/skindata.h"
#include "skin/form/winskinform.h"
#include "skin/manager/skinmanager.h"
#include "skin/manager/skintypes.h"
#include "skin/menu/skinpopup.h"

namespace srt::app {
namespace {

// Marks the items this table put into the skin's system menu.
constexpr std::int32_t kTableTag = 0x5254;

// The edit control's own context menu, as the platform's edit builds it.
struct TEditItem {
    TText text;
    UINT message;
};
constexpr TText kEditUndo{L"撤消(&U)", L"&Undo"};
constexpr TText kEditCut{L"剪切(&T)", L"Cu&t"};
constexpr TText kEditCopy{L"复制(&C)", L"&Copy"};
constexpr TText kEditPaste{L"粘贴(&P)", L"&Paste"};
constexpr TText kEditDelete{L"删除(&D)", L"&Delete"};
constexpr TText kEditSelectAll{L"全选(&A)", L"Select &All"};

bool Held(int key) { return GetKeyState(key) < 0; }

}  // namespace

TShortCut ShortCutFromKey(unsigned virtualKey) {
    TShortCut key = static_cast<TShortCut>(virtualKey & 0xFF);
    if (Held(VK_CONTROL)) key |= scCtrl;
    if (Held(VK_SHIFT)) key |= scShift;
    if (Held(VK_MENU)) key |= scAlt;
    return key;
}

TCommandTable::TCommandTable(TCustomForm& form, TCustomMemo& memo, ::TSkinData* skin)
    : form_(form), memo_(memo), skin_(skin) {}

TCommandTable::~TCommandTable() {
    formHook_.Release();
    memoHook_.Release();
    for (auto& hook : keyHooks_) hook->Release();
}

void TCommandTable::Add(TCommand command) { commands_.push_back(std::move(command)); }

const TCommand* TCommandTable::Find(int id) const {
    for (const TCommand& c : commands_)
        if (c.id == id) return &c;
    return nullptr;
}

bool TCommandTable::RunShortCut(TShortCut key) {
    for (const TCommand& c : commands_) {
        if (c.shortCut == scNone || c.shortCut != key || !c.run) continue;
        if (c.enabled && !c.enabled()) return false;
        c.run();
        return true;
    }
    return false;
}

void TCommandTable::Attach() {
    std::vector<TWinControl*> controls{&form_};
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (int j = 0; j < controls[i]->ControlCount(); ++j)
            if (auto* child = dyncast<TWinControl>(controls[i]->Controls(j))) controls.push_back(child);
    for (std::size_t i = 1; i < controls.size(); ++i) HookKeys(*controls[i]);
    memoHook_.Attach(memo_, [this](TMessage& m, const TWndMethod& previous) {
        if (m.Msg != WM_CONTEXTMENU) return previous(m);
        POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
        if (m.LParam == -1) {  // from the keyboard: at the memo's top left
            p = {4, 4};
            ClientToScreen(memo_.Handle(), &p);
        }
        ShowMemoMenu(p);
        m.Result = 0;
    });
    // The skin starts and rebuilds its system menu on messages to the form.
    formHook_.Attach(form_, [this](TMessage& m, const TWndMethod& previous) {
        previous(m);
        switch (m.Msg) {
        case kWmSkinReapply:
        case WM_ACTIVATE:
        case WM_SETCURSOR:
        case WM_SHOWWINDOW:
        case WM_WINDOWPOSCHANGED:
        case WM_NCCALCSIZE:
            ExtendSystemMenu();
            break;
        }
    });
}

void TCommandTable::HookKeys(TWinControl& control) {
    auto hook = std::make_unique<TWindowHook>();
    hook->Attach(control, [this](TMessage& m, const TWndMethod& previous) { OnKey(m, previous); });
    keyHooks_.push_back(std::move(hook));
}

// A key that runs a command reaches neither the control nor, as the
// character the message loop made of it, the control's typing.
void TCommandTable::OnKey(TMessage& m, const TWndMethod& previous) {
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        swallowChar_ = false;
        if (RunShortCut(ShortCutFromKey(static_cast<unsigned>(m.WParam)))) {
            swallowChar_ = true;
            m.Result = 0;
            return;
        }
        break;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (swallowChar_) {
            swallowChar_ = false;
            m.Result = 0;
            return;
        }
        break;
    }
    previous(m);
}

TMenuItem* TCommandTable::NewItem(TMenuItem& parent, const std::string& caption, bool systemLook) {
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(caption);
    item->SetTag(kTableTag);
    if (::TSkinData* data = skin_; data && !data->Empty()) {
        // The records for the DPI of the window the menu belongs to, read
        // when the menu is measured and drawn.
        HWND window = systemLook ? form_.Handle() : memo_.Handle();
        item->OnMeasureItem.Code = [data, item, systemLook, window](TObject*, HDC dc, int& w, int& h) {
            const srt::TSkinElements& elements = data->ElementsAt(srt::WindowDpi(window));
            if (systemLook)
                MeasureSysMenuItem(elements, *item, dc, w, h);
            else
                MeasureSkinItem(elements, *item, dc, w, h);
        };
        item->OnDrawItem.Code = [data, item, window](TObject*, HDC dc, const RECT& r, bool selected) {
            DrawSkinMenuItem(data->ElementsAt(srt::WindowDpi(window)), *item, dc, r, selected);
        };
    }
    parent.Add(item);
    return item;
}

void TCommandTable::AddItems(TMenuItem& parent, const std::vector<TCommand>& commands, bool systemLook) {
    for (const TCommand& c : commands) {
        TMenuItem* item = NewItem(parent, Narrow(c.text.In(language_)), systemLook);
        item->SetShortCut(c.shortCut);
        item->SetEnabled(!c.enabled || c.enabled());
        item->SetChecked(c.checked && c.checked());
        if (c.items) {
            AddItems(*item, c.items(), systemLook);
        } else if (c.run) {
            item->OnClick.Code = [run = c.run](TObject*) { run(); };
        }
    }
}

void TCommandTable::ShowMemoMenu(POINT screen) {
    memoMenu_ = std::make_unique<TPopupMenu>(nullptr);
    const bool owned = skin_ && !skin_->Empty();
    memoMenu_->SetOwnerDraw(owned);
    TMenuItem& root = *memoMenu_->Items();
    HWND memo = memo_.Handle();
    DWORD start = 0, end = 0;
    SendMessageW(memo, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const bool selection = start != end;
    const bool writable = !(GetWindowLongW(memo, GWL_STYLE) & ES_READONLY);
    auto edit = [&](const TText& text, bool enabled, UINT message, WPARAM w = 0, LPARAM l = 0) {
        TMenuItem* item = NewItem(root, Narrow(text.In(language_)), false);
        item->SetEnabled(enabled);
        item->OnClick.Code = [memo, message, w, l](TObject*) { SendMessageW(memo, message, w, l); };
    };
    edit(kEditUndo, writable && SendMessageW(memo, EM_CANUNDO, 0, 0), EM_UNDO);
    NewItem(root, "-", false);
    edit(kEditCut, writable && selection, WM_CUT);
    edit(kEditCopy, selection, WM_COPY);
    edit(kEditPaste, writable && IsClipboardFormatAvailable(CF_UNICODETEXT), WM_PASTE);
    edit(kEditDelete, writable && selection, WM_CLEAR);
    NewItem(root, "-", false);
    const int length = GetWindowTextLengthW(memo);
    edit(kEditSelectAll, length > 0 && !(start == 0 && end == static_cast<DWORD>(length)), EM_SETSEL, 0, -1);
    NewItem(root, "-", false);
    AddItems(root, commands_, false);
    memo_.SetFocus();
    memoMenu_->Popup(screen.x, screen.y);
}

void TCommandTable::ExtendSystemMenu() {
    TSkinManage* manager = TheSkinManager();
    if (!manager || !form_.HandleAllocated()) return;
    auto* skin = dynamic_cast<TWinSkinForm*>(manager->FindFormSkin(reinterpret_cast<std::uintptr_t>(form_.Handle())));
    TPopupMenu* menu = skin ? skin->SkinSystemMenu() : nullptr;
    if (!menu) return;
    // Never while a menu is open: its platform menu would change under it.
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)))
        return;
    TMenuItem& root = *menu->Items();
    if (root.Count() > 0 && root.Items(root.Count() - 1)->Tag() == kTableTag) return;
    const int first = root.Count();
    NewItem(root, "-", true);
    AddItems(root, commands_, true);
    // Texts, states and submenus as they are when the menu opens.
    menu->OnPopup.Code = [this, menu, first](TObject*) {
        TMenuItem& items = *menu->Items();
        while (items.Count() > first) {
            TMenuItem* last = items.Items(items.Count() - 1);
            items.Remove(last);
            delete last;
        }
        NewItem(items, "-", true);
        AddItems(items, commands_, true);
    };
}

}  // namespace srt::app
