#include "console/ConsolePrograms.h"

#include "console/ProcessTree.h"
#include "support/UniqueHandle.h"

#include <shellapi.h>

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

// Ends the process the record names, unless its id has since been given to another one.
void EndProcess(const ProcessRecord& record)
{
    const support::UniqueHandle process(
        ::OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, record.id));
    if (process && CreationTimeOf(process.Get()) == record.created)
        ::TerminateProcess(process.Get(), 1);
}

std::vector<ProcessRecord> RunningProgramsOf(ProcessRecords& records, HANDLE interpreter)
{
    std::vector<ProcessRecord> programs;
    for (const ProcessRecord& child : ChildrenOf(records, ::GetProcessId(interpreter), CreationTimeOf(interpreter)))
        if (!child.consoleHost && IsConsoleProgram(child.id))
            programs.push_back(child);
    return programs;
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

bool HasRunningProgram(HANDLE interpreter)
{
    ProcessRecords records = TakeProcessRecords();
    return !RunningProgramsOf(records, interpreter).empty();
}

void EndRunningPrograms(HANDLE interpreter)
{
    ProcessRecords records = TakeProcessRecords();
    for (const ProcessRecord& program : RunningProgramsOf(records, interpreter))
        for (const ProcessRecord& process : TreeOf(records, program))
            EndProcess(process);
}

}  // namespace console
