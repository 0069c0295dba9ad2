#include "shared/ProcessProbe.h"

#include "support/UniqueHandle.h"

#include <tlhelp32.h>

namespace testsupport {
namespace {

template <typename Entry, typename First, typename Next, typename Visit>
void ForEachSnapshotEntry(DWORD what, First first, Next next, Visit visit)
{
    const support::UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(what, 0));
    if (!snapshot)
        return;
    Entry entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = first(snapshot.Get(), &entry); more; more = next(snapshot.Get(), &entry))
        visit(entry);
}

template <typename Keep>
std::vector<DWORD> ProcessIdsWhere(Keep keep)
{
    std::vector<DWORD> ids;
    ForEachSnapshotEntry<PROCESSENTRY32W>(TH32CS_SNAPPROCESS, ::Process32FirstW, ::Process32NextW,
                                          [&](const PROCESSENTRY32W& process) {
                                              if (keep(process))
                                                  ids.push_back(process.th32ProcessID);
                                          });
    return ids;
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM search)
{
    auto& wanted = *reinterpret_cast<WindowSearch*>(search);
    DWORD owner = 0;
    wchar_t className[64] = {};
    ::GetWindowThreadProcessId(window, &owner);
    ::GetClassNameW(window, className, 64);
    if (owner == wanted.processId && ::lstrcmpW(className, wanted.className) == 0)
        wanted.found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> TopWindowsOf(DWORD processId, const wchar_t* className)
{
    WindowSearch search = {processId, className, {}};
    if (processId != 0)
        ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int CountOpenHandles()
{
    int open = 0;
    for (ULONG_PTR value = 4; value <= 65536; value += 4) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++open;
    }
    return open;
}

int CountThreads()
{
    int threads = 0;
    ForEachSnapshotEntry<THREADENTRY32>(TH32CS_SNAPTHREAD, ::Thread32First, ::Thread32Next,
                                        [&](const THREADENTRY32& thread) {
                                            if (thread.th32OwnerProcessID == ::GetCurrentProcessId())
                                                ++threads;
                                        });
    return threads;
}

std::vector<DWORD> ChildProcessIds(const wchar_t* exeName, DWORD parent)
{
    return ProcessIdsWhere([&](const PROCESSENTRY32W& process) {
        return process.th32ParentProcessID == parent && ::lstrcmpiW(process.szExeFile, exeName) == 0;
    });
}

std::vector<DWORD> ProcessIds(const wchar_t* exeName)
{
    return ProcessIdsWhere(
        [&](const PROCESSENTRY32W& process) { return ::lstrcmpiW(process.szExeFile, exeName) == 0; });
}

}  // namespace testsupport
