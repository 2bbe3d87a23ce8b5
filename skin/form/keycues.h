// Keys that show focus cues. The platform's dialog manager clears a window's
// hide-focus flag when Tab moves the focus, and the Alt key does so for the
// window that has it; Wine's does neither. A message hook of the thread sees
// Tab and Alt on their way to any control of a skinned window and sends
// WM_CHANGEUISTATE (clear the hide-focus flag) to its top-level window.
#pragma once

namespace srt {

// Keeps the thread's hook installed while at least one is started.
class TKeyCueRoute {
public:
    TKeyCueRoute() = default;
    ~TKeyCueRoute() { Stop(); }
    TKeyCueRoute(const TKeyCueRoute&) = delete;
    TKeyCueRoute& operator=(const TKeyCueRoute&) = delete;

    void Start();
    void Stop();

private:
    bool FStarted = false;
};

}  // namespace srt
