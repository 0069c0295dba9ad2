#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <vector>

namespace companion {

// The system's window events (moved, sized, minimized, restored, shown, hidden, reordered,
// renamed, cloaked, destroyed, brought to the foreground) of the windows of chosen processes,
// heard from outside them: out-of-context hooks, whose events arrive as this thread reads its
// messages, also inside its outgoing calls. One object per thread.
class WindowEventHooks {
public:
    // `handler` gets each event of a window itself (not of its parts); it must not call out to
    // another process.
    using Handler = std::function<void(DWORD event, HWND window)>;

    explicit WindowEventHooks(Handler handler);
    ~WindowEventHooks();
    WindowEventHooks(const WindowEventHooks&) = delete;
    WindowEventHooks& operator=(const WindowEventHooks&) = delete;

    // Hears the process's windows from now on; hearing it already changes nothing.
    void Follow(DWORD processId);
    // Keeps hearing only the processes given.
    void KeepOnly(const std::vector<DWORD>& processIds);

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                 DWORD thread, DWORD time);
    static void Unhook(const std::vector<HWINEVENTHOOK>& hooks) noexcept;

    Handler handler;
    std::map<DWORD, std::vector<HWINEVENTHOOK>> hooks;  // by process id
};

}  // namespace companion
