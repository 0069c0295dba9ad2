#include "ConsoleTestSupport.h"

#include "console/ConsoleMessages.h"

#include <algorithm>

namespace consoletest {
namespace {

constexpr wchar_t ClassName[] = L"Brimblestone console test window";

ATOM RegisterCollectingClass(WNDPROC procedure)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = ClassName;
    return ::RegisterClassW(&windowClass);
}

struct VisibleWindowSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK NoteVisibleWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<VisibleWindowSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window))
        search->found = true;
    return TRUE;
}

}  // namespace

CollectingWindow::CollectingWindow()
{
    static const ATOM registered = RegisterCollectingClass(Procedure);
    (void)registered;
    window.Reset(::CreateWindowExW(0, ClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr));
    ::SetWindowLongPtrW(window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

BOOL CollectingWindow::Start(console::ConsoleProcess& console, const wchar_t* directory, HMODULE helperLibrary)
{
    source = &console;
    return console.Start(Handle(), directory, helperLibrary);
}

LRESULT CALLBACK CollectingWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* collecting = reinterpret_cast<CollectingWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!collecting)
        return ::DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case console::OutputWaitingMessage:
        collecting->TakeOutput();
        return 0;
    case console::InterpreterEndedMessage:
        // Everything the interpreter wrote is queued by now.
        collecting->TakeOutput();
        ++collecting->delivered.exited;
        collecting->delivered.outputAtExit = collecting->delivered.output.size();
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void CollectingWindow::HoldTakes(bool held)
{
    takesHeld = held;
    if (!held)
        TakeOutput();
}

void CollectingWindow::TakeOutput()
{
    if (takesHeld)
        return;
    ::Sleep(takeDelay);
    console::MarkedOutput taken;
    if (source == nullptr || !source->TakeOutput(taken))
        return;
    delivered.dropped += taken.dropped;
    for (console::MarkedPrompt& prompt : taken.prompts)
        delivered.prompts.push_back({delivered.output.size() + prompt.offset, std::move(prompt.folder)});
    delivered.output += taken.text;
    delivered.takenLengths.push_back(taken.text.size());
}

bool CollectingWindow::PumpUntil(const std::function<bool()>& done, DWORD bound)
{
    const ULONGLONG deadline = ::GetTickCount64() + bound;
    while (!done()) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline)
            return false;
        ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 100)),
                                      QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        ProcessPending();
    }
    return true;
}

void CollectingWindow::ProcessPending()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

bool CollectingWindow::WaitForPrompt(std::size_t since)
{
    return PumpUntil([this, since] {
        const std::wstring& output = delivered.output;
        return output.size() > since && output.back() == L'>';
    });
}

bool CollectingWindow::WaitForMarkedPrompt(std::size_t since)
{
    return PumpUntil([this, since] { return delivered.prompts.size() > since; });
}

DWORD NewProcessId(const std::vector<DWORD>& before, const std::vector<DWORD>& after)
{
    for (DWORD id : after)
        if (std::find(before.begin(), before.end(), id) == before.end())
            return id;
    return 0;
}

support::UniqueHandle OpenForExitCode(DWORD processId)
{
    return support::UniqueHandle(
        ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, processId));
}

DWORD ExitCodeOf(HANDLE process)
{
    DWORD exitCode = 0;
    ::WaitForSingleObject(process, GenerousBound);
    ::GetExitCodeProcess(process, &exitCode);
    return exitCode;
}

bool HasVisibleWindow(DWORD processId)
{
    VisibleWindowSearch search = {processId, false};
    ::EnumWindows(NoteVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

constexpr wchar_t ReleaseEventVariable[] = L"BRIMBLESTONE_HELPER_RELEASE";

}  // namespace

// The interpreter inherits the variable that names the release event, as programs it runs do.
HelperProgram::HelperProgram()
{
    const std::wstring eventName = L"Brimblestone helper " + std::to_wstring(::GetCurrentProcessId()) + L" " +
                                   std::to_wstring(::GetTickCount64());
    release.Reset(::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
    ::SetEnvironmentVariableW(ReleaseEventVariable, eventName.c_str());
}

std::wstring HelperProgram::CommandLine(const wchar_t* name) const
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return L"\"" + std::wstring(path) + L"\" --gtest_also_run_disabled_tests --gtest_filter=ConsoleHelper.DISABLED_" +
           name + L"\r\n";
}

bool HelperProgram::WaitForRelease()
{
    wchar_t eventName[128] = {};
    if (!::GetEnvironmentVariableW(ReleaseEventVariable, eventName, 128))
        return false;
    support::UniqueHandle released(::OpenEventW(SYNCHRONIZE, FALSE, eventName));
    ::WaitForSingleObject(released.Get(), 60000);
    return true;
}

TemporaryFolder::TemporaryFolder(const wchar_t* name)
{
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    path = std::wstring(base) + name;
    ::CreateDirectoryW(path.c_str(), nullptr);
}

TemporaryFolder::~TemporaryFolder()
{
    for (const std::wstring& file : files)
        ::DeleteFileW(file.c_str());
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
        ::RemoveDirectoryW(folder->c_str());
    ::RemoveDirectoryW(path.c_str());
}

std::wstring TemporaryFolder::Folder(const wchar_t* name) const
{
    std::wstring folder = path + L"\\" + name;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    folders.push_back(folder);
    return folder;
}

std::wstring TemporaryFolder::WriteFile(const wchar_t* name, const std::string& content) const
{
    std::wstring file = path + L"\\" + name;
    support::UniqueFileHandle handle(
        ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ::WriteFile(handle.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    files.push_back(file);
    return file;
}

}  // namespace consoletest
