#include "console/ConsoleCodePageProbe.h"

#include "console/LibraryHelper.h"
#include "support/ModulePath.h"

#include <cstdlib>
#include <cwctype>
#include <string>

namespace console {
namespace {

// How long the helper may take to start, attach and answer.
constexpr ULONGLONG AnswerBound = 5000;

std::wstring FirstWord(const std::wstring& line)
{
    const std::wstring::size_type start = line.find_first_not_of(L" \t@");
    if (start == std::wstring::npos)
        return std::wstring();
    const std::wstring::size_type end = line.find_first_of(L" \t/\\.&|<>(;,=+:", start);
    std::wstring word = line.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    for (wchar_t& c : word)
        c = static_cast<wchar_t>(std::towlower(c));
    return word;
}

}  // namespace

bool CodePageQuestion::Ask(DWORD processId, const std::wstring& library)
{
    helper.Reset();
    if (processId == 0)
        return false;
    // Detached, so that it has no console of its own to leave before it attaches to the interpreter's.
    helper = StartLibraryHelper(library, L"ReportConsoleCodePage", std::to_wstring(processId), DETACHED_PROCESS);
    deadline = ::GetTickCount64() + AnswerBound;
    return IsAsked();
}

bool CodePageQuestion::Collect(DWORD wait, ConsoleCodePages& pages)
{
    pages = {};
    if (!helper)
        return true;
    const ULONGLONG now = ::GetTickCount64();
    const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    if (::WaitForSingleObject(helper.Get(), wait < left ? wait : left) != WAIT_OBJECT_0) {
        if (wait < left)
            return false;
        ::TerminateProcess(helper.Get(), 0);
        helper.Reset();
        return true;
    }
    DWORD exitCode = 0;
    if (::GetExitCodeProcess(helper.Get(), &exitCode) && LOWORD(exitCode) != 0 && HIWORD(exitCode) != 0)
        pages = {HIWORD(exitCode), LOWORD(exitCode)};
    helper.Reset();
    return true;
}

std::wstring CodePageHelperPath(HMODULE library)
{
    if (library == nullptr || ::GetProcAddress(library, "ReportConsoleCodePageW") == nullptr)
        return std::wstring();
    return support::ModulePath(library);
}

bool MayChangeCodePage(const std::wstring& line)
{
    static const wchar_t* const leaveItAlone[] = {
        L"",     L"cd",    L"chdir", L"cls",  L"copy", L"del",   L"dir",   L"echo", L"erase", L"md",   L"mkdir",
        L"move", L"path",  L"popd",  L"pushd", L"rd",  L"rem",   L"ren",   L"rename", L"rmdir", L"set", L"title",
        L"type", L"ver",   L"vol"};
    // A line of several commands may run anything after its first.
    if (line.find_first_of(L"&|") != std::wstring::npos)
        return true;
    const std::wstring word = FirstWord(line);
    for (const wchar_t* command : leaveItAlone) {
        if (word == command)
            return false;
    }
    return true;
}

}  // namespace console

extern "C" void CALLBACK ReportConsoleCodePageW(HWND, HINSTANCE, LPWSTR commandLine, int)
{
    const DWORD processId = commandLine ? static_cast<DWORD>(std::wcstoul(commandLine, nullptr, 10)) : 0;
    DWORD answer = 0;
    ::FreeConsole();
    if (processId != 0 && ::AttachConsole(processId))
        answer = MAKELONG(::GetConsoleOutputCP(), ::GetConsoleCP());
    ::ExitProcess(answer);
}
