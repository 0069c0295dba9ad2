#include "shared/ShellWindowsDouble.h"

#include "MessagePump.h"
#include "shared/BuiltPrograms.h"
#include "shared/ProcessProbe.h"
#include "support/UniqueHandle.h"

#include <string>

namespace testsupport {
namespace {

constexpr const wchar_t* ServerProgramName = L"ShellWindowsDouble.exe";

std::wstring ServerProgram()
{
    return BuiltToolPath(L"ShellWindowsDouble\\ShellWindowsDouble.exe");
}

// Runs messages meanwhile: the server may be calling one of this thread's event sinks.
bool WaitForEnd(HANDLE process)
{
    return standin::PumpUntil([&] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; },
                              standin::DefaultPumpTimeoutMs, nullptr);
}

}  // namespace

ShellWindowsDouble::ShellWindowsDouble()
{
    End();
    registered = Register();
}

ShellWindowsDouble::~ShellWindowsDouble()
{
    End();
    RunToEnd(ServerProgram(), {L"/unregister"});
}

bool ShellWindowsDouble::Register() const
{
    return RunToEnd(ServerProgram(), {L"/register"}) == 0;
}

Microsoft::WRL::ComPtr<IShellWindows> ShellWindowsDouble::Connect() const
{
    Microsoft::WRL::ComPtr<IShellWindows> list;
    ::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&list));
    return list;
}

DWORD ShellWindowsDouble::ServerProcessId() const
{
    const std::vector<DWORD> running = ProcessIds(ServerProgramName);
    return running.empty() ? 0 : running.front();
}

// Under Wine 8 the killed server's class stays registered as running, so the double is registered
// anew, under a new class, for the next client to start a new server.
bool ShellWindowsDouble::Kill() const
{
    for (const DWORD id : ProcessIds(ServerProgramName)) {
        const support::UniqueHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (process && ::TerminateProcess(process.Get(), 1))
            WaitForEnd(process.Get());
    }
    return ServerProcessId() == 0 && Register();
}

bool ShellWindowsDouble::End() const
{
    const DWORD id = ServerProcessId();
    if (id == 0)
        return true;
    const support::UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, id));
    if (process && RunToEnd(ServerProgram(), {L"/end"}) == 0 && WaitForEnd(process.Get()))
        return true;
    return Kill();
}

}  // namespace testsupport
