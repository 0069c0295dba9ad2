#include "console/ProcessTree.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<DWORD> IdsOf(const std::vector<console::ProcessRecord>& records)
{
    std::vector<DWORD> ids;
    for (const console::ProcessRecord& record : records)
        ids.push_back(record.id);
    return ids;
}

// Process ids are given again once their process ends, so a process whose parent ended names
// whatever process has that id today. Taking it for the new process's child would keep the
// console busy for good and end unrelated processes on Ctrl+C.
TEST(ProcessTree, ProcessOlderThanItsNamedParentIsNotItsChild)
{
    console::ProcessRecords records = {
        {40, 8, 1000, false},   // the interpreter, given the id of a process that ended
        {56, 40, 500, false},   // started by that earlier process: a system service
        {76, 56, 600, false},
        {70, 40, 1100, false},  // started by the interpreter
        {80, 70, 1200, false},
        {90, 70, 900, false},   // older than its named parent
        {95, 40, 0, false},     // cannot be asked when it started
    };
    const std::vector<console::ProcessRecord> children = console::ChildrenOf(records, 40, 1000);
    EXPECT_EQ(std::vector<DWORD>{70}, IdsOf(children));
    EXPECT_EQ((std::vector<DWORD>{70, 80}), IdsOf(console::TreeOf(records, children.at(0))));
    EXPECT_TRUE(console::ChildrenOf(records, 40, 0).empty()) << "a parent of unknown age has no children";
}

}  // namespace
