#pragma once

#include <windows.h>
#include <exdisp.h>
#include <wrl/client.h>

namespace testsupport {

// The shell window list's test double (tools/ShellWindowsDouble) for one test. While this object
// lives, CLSID_ShellWindows reaches the double from every process of the prefix, and the first
// program that asks for the list starts its server; each test begins with no server running,
// so with an empty list. The end removes the registration and ends the server. The double's
// keys are volatile: a test program that dies first leaves them only until Wine's server ends.
class ShellWindowsDouble {
public:
    ShellWindowsDouble();
    ~ShellWindowsDouble();
    ShellWindowsDouble(const ShellWindowsDouble&) = delete;
    ShellWindowsDouble& operator=(const ShellWindowsDouble&) = delete;

    bool IsRegistered() const { return registered; }
    // The list as every program asks for it: CoCreateInstance(CLSID_ShellWindows, CLSCTX_ALL).
    Microsoft::WRL::ComPtr<IShellWindows> Connect() const;
    // The running server's process id, 0 when none runs.
    DWORD ServerProcessId() const;
    // Ends the server as a crash would (its clients' calls fail from then on) and waits, running
    // messages, until it is gone; the next client starts a new one. True when none runs.
    bool Kill() const;
    // Asks the server to end (it cuts every client's connection and exits) and waits until it
    // is gone; kills it when it does not end in time.
    bool End() const;

private:
    bool Register() const;

    bool registered = false;
};

}  // namespace testsupport
