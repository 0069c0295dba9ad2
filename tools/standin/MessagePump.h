#pragma once

#include <windows.h>

#include <functional>

namespace standin {

// Generous enough for a slow machine; a wait that reaches it has failed, not been slow.
constexpr DWORD DefaultPumpTimeoutMs = 20000;

// Offered every message before it is dispatched; true when it took the message.
using MessageRouter = std::function<bool(MSG&)>;

// Runs the thread's messages until `done` holds (true) or the timeout passes (false). `done`
// is checked before each wait and after each message. A WM_QUIT ends the pump (false) and is
// posted again for the loop outside.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, const MessageRouter& route);

// Runs the messages already waiting, and those they cause, without waiting for more.
void PumpPending(const MessageRouter& route);

// Offers the message to the router, otherwise translates and dispatches it.
void DeliverMessage(MSG& message, const MessageRouter& route);

}  // namespace standin
