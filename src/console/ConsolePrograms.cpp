#include "console/ConsolePrograms.h"

#include "console/ProcessTree.h"

#include <shellapi.h>

#include <cstddef>
#include <cwchar>
#include <utility>

namespace console {
namespace {

constexpr DWORD MostJobProcesses = 256;

// The list of process ids as the job reports it: a fixed header followed by the ids.
struct JobProcessIds {
    JOBOBJECT_BASIC_PROCESS_ID_LIST list;
    ULONG_PTR more[MostJobProcesses - 1];
};

// The program file the process runs; false when it cannot be asked. Asking allocates nothing.
bool ReadImage(HANDLE process, wchar_t (&image)[MAX_PATH])
{
    DWORD length = MAX_PATH;
    return process && ::QueryFullProcessImageNameW(process, 0, image, &length);
}

const wchar_t* FileNameOf(const wchar_t* image)
{
    const wchar_t* separator = std::wcsrchr(image, L'\\');
    return separator != nullptr ? separator + 1 : image;
}

bool RunsConsoleProgram(const wchar_t* image)
{
    // For a program without windows the type has no system version in its high word.
    const DWORD_PTR type = ::SHGetFileInfoW(image, 0, nullptr, 0, SHGFI_EXETYPE);
    return type != 0 && HIWORD(type) == 0;
}

// Adds the process to `programs`, held open, when it runs a console program.
void HoldIfConsoleProgram(support::UniqueHandle process, std::vector<HeldProgram>& programs)
{
    wchar_t image[MAX_PATH] = {};
    if (ReadImage(process.Get(), image) && RunsConsoleProgram(image))
        programs.push_back({std::move(process), FileNameOf(image)});
}

bool IsRunning(HANDLE process)
{
    return ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

void EndProcess(DWORD processId)
{
    const support::UniqueHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (process)
        ::TerminateProcess(process.Get(), 1);
}

// Holds the process the record names, unless its id has since been given to another one.
support::UniqueHandle OpenRecorded(const ProcessRecord& record)
{
    support::UniqueHandle process(::OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE,
                                                FALSE, record.id));
    if (process && CreationTimeOf(process.Get()) != record.created)
        process.Reset();
    return process;
}

// Visits the console programs in `job` other than the interpreter itself, without allocating.
template <typename Visit>
void ForEachConsoleProgramIn(HANDLE job, DWORD interpreterId, Visit visit)
{
    JobProcessIds ids = {};
    if (!job || !::QueryInformationJobObject(job, JobObjectBasicProcessIdList, &ids, sizeof(ids), nullptr))
        return;
    const ULONG_PTR* listed = ids.list.ProcessIdList;
    for (DWORD index = 0; index < ids.list.NumberOfProcessIdsInList; ++index) {
        const auto processId = static_cast<DWORD>(listed[index]);
        if (processId != interpreterId && IsConsoleProgram(processId))
            visit(processId);
    }
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
    return ReadImage(process.Get(), image) && RunsConsoleProgram(image);
}

std::vector<HeldProgram> HoldConsolePrograms(const std::vector<DWORD>& attached, DWORD interpreterId)
{
    std::vector<HeldProgram> programs;
    for (const DWORD processId : attached) {
        if (processId != interpreterId)
            HoldIfConsoleProgram(support::UniqueHandle(::OpenProcess(
                                     PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                                     processId)),
                                 programs);
    }
    return programs;
}

void EndPrograms(std::vector<HeldProgram>& programs) noexcept
{
    for (HeldProgram& program : programs)
        program.ended = IsRunning(program.process.Get()) && ::TerminateProcess(program.process.Get(), 1);
}

std::vector<std::wstring> NamesOfEnded(const std::vector<HeldProgram>& programs)
{
    std::vector<std::wstring> names;
    for (const HeldProgram& program : programs)
        if (program.ended)
            names.push_back(program.name);
    return names;
}

std::vector<DWORD> ConsoleProgramsIn(HANDLE job, DWORD interpreterId)
{
    std::vector<DWORD> programs;
    ForEachConsoleProgramIn(job, interpreterId, [&](DWORD processId) { programs.push_back(processId); });
    return programs;
}

void EndConsolePrograms(HANDLE job, DWORD interpreterId) noexcept
{
    ForEachConsoleProgramIn(job, interpreterId, [](DWORD processId) { EndProcess(processId); });
}

bool HasRunningProgram(HANDLE interpreter)
{
    ProcessRecords records = TakeProcessRecords();
    return !RunningProgramsOf(records, interpreter).empty();
}

std::vector<std::wstring> EndRunningPrograms(HANDLE interpreter)
{
    ProcessRecords records = TakeProcessRecords();
    std::vector<HeldProgram> programs;
    for (const ProcessRecord& program : RunningProgramsOf(records, interpreter))
        for (const ProcessRecord& process : TreeOf(records, program))
            HoldIfConsoleProgram(OpenRecorded(process), programs);
    EndPrograms(programs);
    return NamesOfEnded(programs);
}

}  // namespace console
