#include "console/ConsolePrograms.h"

#include "support/UniqueHandle.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <cstddef>
#include <vector>

namespace console {
namespace {

constexpr DWORD MostJobProcesses = 256;

// The list of process ids as the job reports it: a fixed header followed by the ids.
struct JobProcessIds {
    JOBOBJECT_BASIC_PROCESS_ID_LIST list;
    ULONG_PTR more[MostJobProcesses - 1];
};

void EndProcess(DWORD processId)
{
    const support::UniqueHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (process)
        ::TerminateProcess(process.Get(), 1);
}

struct ParentLink {
    DWORD process;
    DWORD parent;
    bool consoleHost;  // the process that shows a console, a child of the interpreter on newer systems
};
using ParentLinks = std::vector<ParentLink>;

// Every running process with its parent, from one snapshot.
ParentLinks TakeParentLinks()
{
    ParentLinks links;
    const HANDLE taken = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (taken == INVALID_HANDLE_VALUE)
        return links;
    const support::UniqueHandle snapshot(taken);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry))
        links.push_back({entry.th32ProcessID, entry.th32ParentProcessID, ::lstrcmpiW(entry.szExeFile, L"conhost.exe") == 0});
    return links;
}

std::vector<DWORD> ChildrenOf(const ParentLinks& links, DWORD parent)
{
    std::vector<DWORD> children;
    for (const ParentLink& link : links)
        if (link.parent == parent && link.process != parent)
            children.push_back(link.process);
    return children;
}

std::vector<DWORD> RunningProgramsOf(const ParentLinks& links, DWORD interpreterId)
{
    std::vector<DWORD> programs;
    for (const ParentLink& link : links)
        if (link.parent == interpreterId && link.process != interpreterId && !link.consoleHost &&
            IsConsoleProgram(link.process))
            programs.push_back(link.process);
    return programs;
}

// The process and everything below it, parents before their children.
std::vector<DWORD> TreeOf(const ParentLinks& links, DWORD root)
{
    std::vector<DWORD> tree{root};
    for (std::size_t next = 0; next < tree.size() && tree.size() < links.size(); ++next)
        for (DWORD child : ChildrenOf(links, tree[next]))
            tree.push_back(child);
    return tree;
}

}  // namespace

bool IsConsoleProgram(DWORD processId)
{
    const support::UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    wchar_t image[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (!process || !::QueryFullProcessImageNameW(process.Get(), 0, image, &length))
        return false;
    // For a program without windows the type has no system version in its high word.
    const DWORD_PTR type = ::SHGetFileInfoW(image, 0, nullptr, 0, SHGFI_EXETYPE);
    return type != 0 && HIWORD(type) == 0;
}

void EndConsolePrograms(HANDLE job, DWORD interpreterId)
{
    JobProcessIds ids = {};
    if (!job || !::QueryInformationJobObject(job, JobObjectBasicProcessIdList, &ids, sizeof(ids), nullptr))
        return;
    const ULONG_PTR* listed = ids.list.ProcessIdList;
    for (DWORD index = 0; index < ids.list.NumberOfProcessIdsInList; ++index) {
        const auto processId = static_cast<DWORD>(listed[index]);
        if (processId != interpreterId && IsConsoleProgram(processId))
            EndProcess(processId);
    }
}

bool HasRunningProgram(DWORD interpreterId)
{
    return interpreterId != 0 && !RunningProgramsOf(TakeParentLinks(), interpreterId).empty();
}

void EndRunningPrograms(DWORD interpreterId)
{
    if (interpreterId == 0)
        return;
    const ParentLinks links = TakeParentLinks();
    for (DWORD program : RunningProgramsOf(links, interpreterId))
        for (DWORD process : TreeOf(links, program))
            EndProcess(process);
}

}  // namespace console
