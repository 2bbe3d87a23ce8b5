// Keyboard access to a skinned window's menus from any focused control.
// With a control focused, Alt+letter reaches the platform as SC_KEYMENU on
// that control, whose default handling opens the menu of its top-level
// window by itself; the skin has taken that menu and the system-menu style
// off the window, so nothing would open. A CBT hook of the thread sees the
// command before it is carried out and hands it to the top-level window
// instead, whose skin opens its own bar or system menu.
#pragma once

namespace srt {

// Keeps the thread's hook installed while at least one exists.
class TKeyMenuRoute {
public:
    TKeyMenuRoute() = default;
    ~TKeyMenuRoute() { Stop(); }
    TKeyMenuRoute(const TKeyMenuRoute&) = delete;
    TKeyMenuRoute& operator=(const TKeyMenuRoute&) = delete;

    void Start();
    void Stop();
    bool Started() const { return FStarted; }

private:
    bool FStarted = false;
};

// While one exists the hook hands nothing on: the window's own SC_KEYMENU
// is being handled, and passing it to the platform must not come back.
class TKeyMenuScope {
public:
    TKeyMenuScope();
    ~TKeyMenuScope();
    TKeyMenuScope(const TKeyMenuScope&) = delete;
    TKeyMenuScope& operator=(const TKeyMenuScope&) = delete;

private:
    bool FOuter;
};

}  // namespace srt
