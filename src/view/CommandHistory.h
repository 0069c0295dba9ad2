#pragma once

#include <deque>
#include <string>

namespace view {

// The lines submitted in one band, newest last, recalled with Up and Down. Recall replaces the
// command line; edits to a recalled line are not written back.
class CommandHistory {
public:
    static constexpr size_t Capacity = 30;

    // Records a submitted line (empty lines are not recorded) and ends any recall.
    void Submit(const std::wstring& line);

    // Up: the next older entry to show, or false when the input stays as it is.
    // `typedLine` is the command line as it stands; it is kept when recall begins.
    bool RecallOlder(const std::wstring& typedLine, std::wstring& shown);

    // Down: the next newer entry, or the line typed before recall began; false when not recalling.
    bool RecallNewer(std::wstring& shown);

    size_t Count() const { return entries.size(); }
    int Position() const { return historyPos; }

private:
    const std::wstring& EntryAtPosition() const { return entries[entries.size() - historyPos]; }

    std::deque<std::wstring> entries;
    int historyPos = 0;  // 0: editing a new line; k: showing the k-th newest entry
    std::wstring savedLine;
};

}  // namespace view
