// ShellWindowsDouble.exe [/register | /unregister | /end | -Embedding]
// The shell window list's test double: a local COM server that keeps the list of browser
// windows and sends DShellWindowsEvents, registered with TreatAs on CLSID_ShellWindows so that
// every program of the Wine prefix reaches it instead of Wine's own list, which is a stub.
//   /register     writes the registration (volatile keys, both registry views), each time under a
//                 new class of the double's; exit code 3 when it could not be written
//   /unregister   removes it
//   /end          asks the running server to end: it cuts its clients' connections and exits
//   (none), -Embedding   serves the list until ended or killed; started by COM when a program
//                 creates CLSID_ShellWindows and it is not running. Exit code 5 when another
//                 instance already serves, 6 when the double is not registered.
#include "ListFactory.h"
#include "ServerRegistration.h"
#include "ShellWindowList.h"
#include "ThisProgram.h"
#include "support/UniqueHandle.h"

#include <objbase.h>

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int ExitBadArguments = 2;
constexpr int ExitNoRegistry = 3;
constexpr int ExitNoServer = 4;
constexpr int ExitAlreadyServing = 5;
constexpr int ExitNotRegistered = 6;
// Signalled to end the running server; its existence marks a server as running.
constexpr const wchar_t* EndEventName = L"Local\\BrimblestoneShellWindowsDouble.End";

int EndRunningServer()
{
    const support::UniqueHandle end(::OpenEventW(EVENT_MODIFY_STATE, FALSE, EndEventName));
    if (end)
        ::SetEvent(end.Get());
    return 0;
}

// Serves messages (incoming calls arrive as messages of the apartment) until the end event.
void ServeUntilEnded(HANDLE end)
{
    for (;;) {
        const DWORD woken = ::MsgWaitForMultipleObjectsEx(1, &end, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED)
            return;
        MSG message = {};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return;
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

int Serve()
{
    const support::UniqueHandle end(::CreateEventW(nullptr, FALSE, FALSE, EndEventName));
    if (!end)
        return ExitNoServer;
    if (::GetLastError() == ERROR_ALREADY_EXISTS)
        return ExitAlreadyServing;
    const std::optional<CLSID> served = shellwindows::RegisteredClass();
    if (!served)
        return ExitNotRegistered;
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return ExitNoServer;
    int exitCode = 0;
    {
        Microsoft::WRL::ComPtr<shellwindows::ShellWindowList> list;
        list.Attach(new shellwindows::ShellWindowList());
        Microsoft::WRL::ComPtr<shellwindows::ListFactory> factory;
        factory.Attach(new shellwindows::ListFactory(list.Get()));
        DWORD registration = 0;
        if (SUCCEEDED(::CoRegisterClassObject(*served, factory.Get(), CLSCTX_LOCAL_SERVER,
                                              REGCLS_MULTIPLEUSE, &registration))) {
            ServeUntilEnded(end.Get());
            ::CoRevokeClassObject(registration);
        } else {
            exitCode = ExitNoServer;
        }
        list->Disconnect();
    }
    ::CoUninitialize();
    return exitCode;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::vector<std::wstring> arguments = standin::ThisProgramArguments();
    const std::wstring option = arguments.empty() ? L"" : arguments[0];
    if (arguments.size() > 1)
        return ExitBadArguments;
    if (option == L"/register")
        return shellwindows::RegisterServer(standin::ThisProgramPath()) ? 0 : ExitNoRegistry;
    if (option == L"/unregister")
        return shellwindows::UnregisterServer() ? 0 : ExitNoRegistry;
    if (option == L"/end")
        return EndRunningServer();
    if (option.empty() || option == L"-Embedding" || option == L"/Embedding")
        return Serve();
    return ExitBadArguments;
}
