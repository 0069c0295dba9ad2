#pragma once

#include <windows.h>

#include <vector>

namespace console {

// One running process as a snapshot of the system saw it.
struct ProcessRecord {
    DWORD id;
    DWORD parent;        // the id its parent had; that parent may have ended and the id been given again
    ULONGLONG created;   // when it started, 0 where the process cannot be asked, NotAskedYet before
    bool consoleHost;    // the process that shows a console, a child of the interpreter on newer systems
};
using ProcessRecords = std::vector<ProcessRecord>;

// A start time not asked for yet: only the processes that name a parent of interest are asked.
constexpr ULONGLONG NotAskedYet = ~0ULL;

// Every running process, from one snapshot.
ProcessRecords TakeProcessRecords();

// When the process started, 0 where it cannot be asked.
ULONGLONG CreationTimeOf(HANDLE process);

// The processes that `parent`, started at `parentCreated`, started itself. A process naming the
// parent's id but older than the parent was started by an earlier process that had the same id.
// Asks the start time of each process that names the parent and was not asked yet.
std::vector<ProcessRecord> ChildrenOf(ProcessRecords& records, DWORD parent, ULONGLONG parentCreated);

// The process and everything below it, parents before their children.
std::vector<ProcessRecord> TreeOf(ProcessRecords& records, const ProcessRecord& root);

}  // namespace console
