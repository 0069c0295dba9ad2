#include "MessagePump.h"

namespace standin {
namespace {

// Condition changes that come without a message (another thread's work) are seen this often.
constexpr DWORD PollIntervalMs = 10;

// Runs waiting messages until none is left; false when WM_QUIT arrived.
bool RunWaitingMessages(const std::function<bool()>& done, const MessageRouter& route)
{
    MSG message = {};
    while (!(done && done()) && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        DeliverMessage(message, route);
    }
    return true;
}

}  // namespace

void DeliverMessage(MSG& message, const MessageRouter& route)
{
    if (route && route(message))
        return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, const MessageRouter& route)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (!RunWaitingMessages(done, route))
            return false;
        if (done())
            return true;
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline)
            return false;
        const DWORD wait = static_cast<DWORD>(deadline - now < PollIntervalMs ? deadline - now : PollIntervalMs);
        ::MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

void PumpPending(const MessageRouter& route)
{
    RunWaitingMessages(nullptr, route);
}

}  // namespace standin
