#include "view/CommandHistory.h"

namespace view {

void CommandHistory::Submit(const std::wstring& line)
{
    if (!line.empty()) {
        entries.push_back(line);
        if (entries.size() > Capacity)
            entries.pop_front();
    }
    historyPos = 0;
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
