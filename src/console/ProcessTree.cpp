#include "console/ProcessTree.h"

#include "support/UniqueHandle.h"

#include <tlhelp32.h>

#include <cstddef>

namespace console {
namespace {

ULONGLONG CreationTimeOfId(DWORD processId)
{
    const support::UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    return process ? CreationTimeOf(process.Get()) : 0;
}

}  // namespace

ULONGLONG CreationTimeOf(HANDLE process)
{
    FILETIME created = {}, exited = {}, kernel = {}, user = {};
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

ProcessRecords TakeProcessRecords()
{
    ProcessRecords records;
    const HANDLE taken = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (taken == INVALID_HANDLE_VALUE)
        return records;
    const support::UniqueHandle snapshot(taken);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry))
        records.push_back({entry.th32ProcessID, entry.th32ParentProcessID, NotAskedYet,
                           ::lstrcmpiW(entry.szExeFile, L"conhost.exe") == 0});
    return records;
}

std::vector<ProcessRecord> ChildrenOf(ProcessRecords& records, DWORD parent, ULONGLONG parentCreated)
{
    std::vector<ProcessRecord> children;
    if (parentCreated == 0)
        return children;
    for (ProcessRecord& record : records) {
        if (record.parent != parent || record.id == parent)
            continue;
        if (record.created == NotAskedYet)
            record.created = CreationTimeOfId(record.id);
        if (record.created >= parentCreated)
            children.push_back(record);
    }
    return children;
}

std::vector<ProcessRecord> TreeOf(ProcessRecords& records, const ProcessRecord& root)
{
    std::vector<ProcessRecord> tree{root};
    for (std::size_t next = 0; next < tree.size() && tree.size() <= records.size(); ++next)
        for (const ProcessRecord& child : ChildrenOf(records, tree[next].id, tree[next].created))
            tree.push_back(child);
    return tree;
}

}  // namespace console
