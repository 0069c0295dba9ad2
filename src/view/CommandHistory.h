#pragma once

#include <deque>
#include <string>
#include <vector>

namespace view {

// The lines submitted in one console, newest last, recalled with Up and Down. Recall replaces the
// command line; edits to a recalled line are not written back.
class CommandHistory {
public:
    static constexpr size_t DefaultCapacity = 30;

    // Keeps at most `lines` entries (at least one), dropping the oldest; ends any recall.
    void SetCapacity(size_t lines);
    // Lines kept from earlier sessions, newest last: they come before every line submitted here.
    void Restore(const std::vector<std::wstring>& earlier);

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
    void DropOldestBeyondCapacity();

    std::deque<std::wstring> entries;
    size_t capacity = DefaultCapacity;
    int historyPos = 0;  // 0: editing a new line; k: showing the k-th newest entry
    std::wstring savedLine;
};

}  // namespace view
