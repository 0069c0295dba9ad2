#pragma once

#include <windows.h>

#include <string>

namespace session {

// Gathers the interpreter's output between appends to the text box. Appending is what costs
// (the text box re-lays out its text on every append), so a flood of small chunks is shown in
// a few large appends, while a chunk after a quiet spell (a prompt, an echo) is shown at once.
// The gathering interval grows with the cost of the last append, so the window's thread never
// spends more than about half of a flood appending. One append takes only as much as the last
// appends showed in TargetStretch, so that no output, however costly to lay out (one endless
// line), holds the window's thread for long; the rest stays gathered. Once FlushSize is gathered
// the window takes nothing more from the reader's queue, which bounds what is held.
class OutputBatcher {
public:
    static constexpr size_t FlushSize = 64 * 1024;  // characters gathered before an append is due
    // Milliseconds of gathering at least. Every append also has the text box drawn again once,
    // which costs about as much as appending 15,000 characters (its scroll bar alone about 7 ms
    // under Wine), so a flood is shown in fewer, larger appends; a prompt waits at most this long.
    static constexpr DWORD MinimumInterval = 50;
    // Milliseconds one append should take at most: well under the 50 ms the window's thread may be
    // held, because on a busy machine other processes also run while an append is under way.
    static constexpr DWORD TargetStretch = 30;
    static constexpr size_t MinimumTake = 2048;    // characters an append takes however slow

    // Adds one chunk; true when the gathered text should be shown now.
    bool Add(const wchar_t* text, DWORD now);

    bool HasPending() const { return !pending.empty(); }
    bool IsFull() const { return pending.size() >= FlushSize; }

    // How long the tail may wait for the next chunk before it is shown anyway.
    DWORD Interval() const { return interval; }

    // Hands over what the next append should show: the oldest gathered text, as much as fits.
    std::wstring Take();
    // How many characters the next Take hands over, give or take half a surrogate pair.
    size_t NextTakeLength() const { return pending.size() < takeSize ? pending.size() : takeSize; }

    // Records one append of `count` characters, from its start to its end, as tick counts.
    void Shown(DWORD started, DWORD ended, size_t count);

private:
    std::wstring pending;
    DWORD lastShown = 0;
    DWORD interval = MinimumInterval;
    bool shownOnce = false;
    size_t takeSize = FlushSize;
};

}  // namespace session
