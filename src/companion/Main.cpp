// BrimblestoneConsole.exe [/exit | /uninstall]
// The companion program: gives every File Explorer window a docked console, following Explorer
// from outside through the shell's public automation interfaces. One runs per user session; a
// second start asks the running one to show the console of the Explorer window the user works in
// and ends. /exit asks the running one to close its consoles and end, and waits until it has (the
// installer's upgrade); /uninstall does the same and removes the user's own sign-in entry (the
// installer's removal).
#include "companion/ProgramWindow.h"
#include "companion/SignInEntry.h"
#include "companion/SingleInstance.h"
#include "support/ModulePath.h"

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

constexpr int ExitBadArguments = 2;
constexpr int ExitNotStarted = 3;
constexpr int ExitNoAnswer = 4;

// The program's arguments, without its own name; nothing when there are none.
std::vector<std::wstring> Arguments()
{
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::wstring> found;
    for (int at = 1; arguments != nullptr && at < count; ++at)
        found.emplace_back(arguments[at]);
    ::LocalFree(arguments);
    return found;
}

enum class Request { Run, Exit, Uninstall };

// A switch, with "/" or "-", in any case.
bool IsSwitch(const std::wstring& argument, const wchar_t* name)
{
    return argument.size() > 1 && (argument[0] == L'/' || argument[0] == L'-') &&
           ::CompareStringOrdinal(argument.c_str() + 1, -1, name, -1, TRUE) == CSTR_EQUAL;
}

bool ParseRequest(const std::vector<std::wstring>& arguments, Request& request)
{
    request = Request::Run;
    if (arguments.empty())
        return true;
    if (arguments.size() > 1)
        return false;
    if (IsSwitch(arguments.front(), L"exit"))
        request = Request::Exit;
    else if (IsSwitch(arguments.front(), L"uninstall"))
        request = Request::Uninstall;
    else
        return false;
    return true;
}

int RunCompanion()
{
    if (FAILED(::OleInitialize(nullptr)))
        return ExitNotStarted;
    int exitCode = ExitNotStarted;
    {
        companion::ProgramWindow program(support::ModulePath(nullptr));
        if (program.Create()) {
            MSG message = {};
            while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
                if (program.RouteKey(message))
                    continue;
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
            exitCode = static_cast<int>(message.wParam);
        }
    }
    ::OleUninitialize();
    return exitCode;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    Request request = Request::Run;
    if (!ParseRequest(Arguments(), request))
        return ExitBadArguments;
    if (request == Request::Uninstall)
        companion::SetSignInEntry(false, support::ModulePath(nullptr));
    const companion::SingleInstance instance;
    if (!instance.IsFirst()) {
        const bool answered = companion::AskRunningInstance(request == Request::Run
                                                                ? companion::InstanceRequest::ShowConsole
                                                                : companion::InstanceRequest::Exit);
        return answered ? 0 : ExitNoAnswer;
    }
    if (request != Request::Run)
        return 0;
    return RunCompanion();
}
