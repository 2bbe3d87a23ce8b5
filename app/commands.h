// The main window's commands beyond its three buttons, kept in one table
// and reached three ways: items below a separator in the window's skinned
// system menu, items below the edit control's own items in the memo's
// context menu, and shortcut keys on every control of the window.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "component/forms.h"
#include "component/menus.h"
#include "component/stdctrls.h"
#include "lang.h"
#include "windowhook.h"

class TSkinData;

namespace srt::app {

// The ids of the table's commands, unique within it.
enum TCommandId { cmTiming = 1, cmUndoRetime, cmRedoRetime, cmLanguage, cmSkin };

struct TCommand {
    int id = 0;
    TText text;                         // the menu caption, with its "&" mark
    TShortCut shortCut = scNone;
    std::function<void()> run;
    std::function<bool()> enabled;      // empty: always enabled
    std::function<bool()> checked;      // empty: never checked
    // A submenu instead of run: its items, asked for each time it opens.
    std::function<std::vector<TCommand>()> items;
};

class TCommandTable {
public:
    // `skin` draws the menus (may be null).
    TCommandTable(TCustomForm& form, TCustomMemo& memo, ::TSkinData* skin);
    ~TCommandTable();
    TCommandTable(const TCommandTable&) = delete;
    TCommandTable& operator=(const TCommandTable&) = delete;

    void Add(TCommand command);
    const std::vector<TCommand>& Commands() const { return commands_; }
    const TCommand* Find(int id) const;

    TLanguage Language() const { return language_; }
    void SetLanguage(TLanguage language) { language_ = language; }

    // Runs the enabled command of this shortcut; false when there is none.
    bool RunShortCut(TShortCut key);
    // Puts the shortcut keys on every windowed control of the form and the
    // menu items in place; call once the form's controls exist.
    void Attach();

    // The memo's context menu: the edit control's items, a separator and
    // the table's items. Shown at a screen point; built anew each time.
    void ShowMemoMenu(POINT screen);
    // Adds the table's items below a separator to the skinned system menu
    // unless they are there already (the skin rebuilds its menu on a change).
    void ExtendSystemMenu();

private:
    void HookKeys(TWinControl& control);
    void OnKey(TMessage& m, const TWndMethod& previous);
    void AddItems(TMenuItem& parent, const std::vector<TCommand>& commands, bool systemLook);
    TMenuItem* NewItem(TMenuItem& parent, const std::string& caption, bool systemLook);

    TCustomForm& form_;
    TCustomMemo& memo_;
    ::TSkinData* skin_;
    TLanguage language_ = TLanguage::Chinese;
    std::vector<TCommand> commands_;
    std::vector<std::unique_ptr<TWindowHook>> keyHooks_;
    TWindowHook memoHook_;
    TWindowHook formHook_;
    std::unique_ptr<TPopupMenu> memoMenu_;
    bool swallowChar_ = false;  // the character of a key that ran a command
};

// The virtual key with the modifiers held now, as a shortcut.
TShortCut ShortCutFromKey(unsigned virtualKey);

}  // namespace srt::app
