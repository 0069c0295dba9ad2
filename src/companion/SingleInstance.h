#pragma once

#include "support/UniqueHandle.h"

#include <windows.h>

namespace companion {

// What a second start asks of the companion that runs already.
enum class InstanceRequest : WPARAM {
    ShowConsole = 1,  // show the console of the Explorer window the user works in
    Exit = 2,         // close every console and end (the uninstaller's /exit)
};

// The message that carries a request (wParam) to the running companion's program window.
UINT InstanceRequestMessage() noexcept;
// The class of the program window, by which a second start finds the first.
constexpr const wchar_t* ProgramWindowClassName = L"Brimblestone Companion";

// One companion per user session: a named mutex in the session's namespace, held while the object
// lives by the first program that made it.
class SingleInstance {
public:
    SingleInstance();
    bool IsFirst() const noexcept { return first; }

private:
    support::UniqueHandle mutex;
    bool first = false;
};

// Hands the request to the running companion, waiting a few seconds for its window when it is
// still starting; with Exit, also waits until it has ended. False when none answered.
bool AskRunningInstance(InstanceRequest request);

}  // namespace companion
