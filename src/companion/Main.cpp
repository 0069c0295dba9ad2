// BrimblestoneConsole.exe [/exit]
// The companion program: gives every File Explorer window a docked console, following Explorer
// from outside through the shell's public automation interfaces. One runs per user session; a
// second start asks the running one to show the console of the Explorer window the user works in
// and ends. /exit asks the running one to close its consoles and end, and waits until it has.
#include "companion/ProgramWindow.h"
#include "companion/SingleInstance.h"

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

constexpr int ExitBadArguments = 2;
constexpr int ExitNotStarted = 3;
constexpr int ExitNoAnswer = 4;

std::wstring ProgramPath()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size())
            return std::wstring(path.data(), length);
        path.resize(path.size() * 2);
    }
}

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

bool IsExitSwitch(const std::wstring& argument)
{
    return ::CompareStringOrdinal(argument.c_str(), -1, L"/exit", -1, TRUE) == CSTR_EQUAL ||
           ::CompareStringOrdinal(argument.c_str(), -1, L"-exit", -1, TRUE) == CSTR_EQUAL;
}

int RunCompanion()
{
    if (FAILED(::OleInitialize(nullptr)))
        return ExitNotStarted;
    int exitCode = ExitNotStarted;
    {
        companion::ProgramWindow program(ProgramPath());
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
    const std::vector<std::wstring> arguments = Arguments();
    if (arguments.size() > 1 || (arguments.size() == 1 && !IsExitSwitch(arguments.front())))
        return ExitBadArguments;
    const bool exitAsked = arguments.size() == 1;
    const companion::SingleInstance instance;
    if (!instance.IsFirst()) {
        const bool answered = companion::AskRunningInstance(exitAsked ? companion::InstanceRequest::Exit
                                                                      : companion::InstanceRequest::ShowConsole);
        return answered ? 0 : ExitNoAnswer;
    }
    if (exitAsked)
        return 0;
    return RunCompanion();
}
