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
#include "support/UniqueHandle.h"

#include <objbase.h>
#include <shellapi.h>

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

std::vector<std::wstring> ProgramArguments()
{
    int count = 0;
    wchar_t** raw = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    for (int i = 1; raw && i < count; ++i)
        arguments.emplace_back(raw[i]);
    ::LocalFree(raw);
    return arguments;
}

std::wstring ProgramPath()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size())
            return std::wstring(path.data(), length);
        path.resize(path.size() * 2);
    }
}

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
    const std::vector<std::wstring> arguments = ProgramArguments();
    const std::wstring option = arguments.empty() ? L"" : arguments[0];
    if (arguments.size() > 1)
        return ExitBadArguments;
    if (option == L"/register")
        return shellwindows::RegisterServer(ProgramPath()) ? 0 : ExitNoRegistry;
    if (option == L"/unregister")
        return shellwindows::UnregisterServer() ? 0 : ExitNoRegistry;
    if (option == L"/end")
        return EndRunningServer();
    if (option.empty() || option == L"-Embedding" || option == L"/Embedding")
        return Serve();
    return ExitBadArguments;
}
