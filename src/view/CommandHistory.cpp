#include "view/CommandHistory.h"

#include <algorithm>

namespace view {

void CommandHistory::SetCapacity(size_t lines)
{
    capacity = std::max<size_t>(lines, 1);
    DropOldestBeyondCapacity();
    historyPos = 0;
}

void CommandHistory::Restore(const std::vector<std::wstring>& earlier)
{
    const size_t room = capacity - std::min(capacity, entries.size());
    const size_t taken = std::min(room, earlier.size());
    entries.insert(entries.begin(), earlier.end() - static_cast<std::ptrdiff_t>(taken), earlier.end());
    historyPos = 0;
}

void CommandHistory::Submit(const std::wstring& line)
{
    if (!line.empty()) {
        entries.push_back(line);
        DropOldestBeyondCapacity();
    }
    historyPos = 0;
}

void CommandHistory::DropOldestBeyondCapacity()
{
    while (entries.size() > capacity)
        entries.pop_front();
}

bool CommandHistory::RecallOlder(const std::wstring& typedLine, std::wstring& shown)
{
    if (historyPos == 0)
        savedLine = typedLine;
    if (static_cast<size_t>(historyPos) >= entries.size())
        return false;
    ++historyPos;
    shown = EntryAtPosition();
    return true;
}

bool CommandHistory::RecallNewer(std::wstring& shown)
{
    if (historyPos > 1) {
        --historyPos;
        shown = EntryAtPosition();
        return true;
    }
    if (historyPos == 1) {
        historyPos = 0;
        shown = savedLine;
        return true;
    }
    return false;
}

}  // namespace view
