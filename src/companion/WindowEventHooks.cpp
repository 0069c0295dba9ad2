#include "companion/WindowEventHooks.h"

#include <algorithm>

namespace companion {
namespace {

// The hooks of this thread, which get its events: an out-of-context hook has no context of its own.
thread_local WindowEventHooks* threadHooks = nullptr;
thread_local WindowEventHooks::Handler* threadHandler = nullptr;

// Narrow ranges, so that the busy ones between them (focus, selection, value changes inside the
// window's list) are never sent to this process.
struct EventRange {
    DWORD first;
    DWORD last;
};
constexpr EventRange HeardEvents[] = {
    {EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND},
    {EVENT_SYSTEM_MOVESIZESTART, EVENT_SYSTEM_MOVESIZEEND},
    {EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZEEND},
    {EVENT_OBJECT_DESTROY, EVENT_OBJECT_REORDER},
    {EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_NAMECHANGE},
    {0x8017, 0x8018},  // EVENT_OBJECT_CLOAKED, EVENT_OBJECT_UNCLOAKED (Windows 8 on)
};

}  // namespace

WindowEventHooks::WindowEventHooks(Handler handler) : handler(std::move(handler))
{
    threadHooks = this;
    threadHandler = &this->handler;
}

WindowEventHooks::~WindowEventHooks()
{
    for (const auto& process : hooks)
        Unhook(process.second);
    if (threadHooks == this) {
        threadHooks = nullptr;
        threadHandler = nullptr;
    }
}

void WindowEventHooks::Follow(DWORD processId)
{
    if (processId == 0 || hooks.count(processId) != 0)
        return;
    std::vector<HWINEVENTHOOK>& made = hooks[processId];
    for (const EventRange& range : HeardEvents) {
        if (const HWINEVENTHOOK hook = ::SetWinEventHook(range.first, range.last, nullptr, OnEvent, processId, 0,
                                                         WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS))
            made.push_back(hook);
    }
}

void WindowEventHooks::KeepOnly(const std::vector<DWORD>& processIds)
{
    for (auto process = hooks.begin(); process != hooks.end();) {
        if (std::find(processIds.begin(), processIds.end(), process->first) != processIds.end()) {
            ++process;
            continue;
        }
        Unhook(process->second);
        process = hooks.erase(process);
    }
}

void CALLBACK WindowEventHooks::OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                                        DWORD)
try {
    if (object != OBJID_WINDOW || child != CHILDID_SELF || window == nullptr || threadHandler == nullptr ||
        !*threadHandler)
        return;
    (*threadHandler)(event, window);
} catch (...) {
    // Nothing escapes into the system's call; a lost event is made up by the regular check.
}

void WindowEventHooks::Unhook(const std::vector<HWINEVENTHOOK>& hooks) noexcept
{
    for (const HWINEVENTHOOK hook : hooks)
        ::UnhookWinEvent(hook);
}

}  // namespace companion
