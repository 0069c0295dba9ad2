#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace session {

// Paces the interpreter's output into the text box. Laying text out is what costs, so output is
// gathered and shown at most once a frame: at once after a quiet spell (a prompt, an echo), else
// when the frame comes. One show lays out only as much as the last shows laid out in TargetStretch,
// so that no output, however costly to lay out (one endless line), holds the window's thread for
// long; of more, the text box lays out the newest part and holds back the rest. While a flood brings
// more than that, its shows are spaced so that they take at most one part in FloodShare of the
// window's time; in between, the window's thread is free for keys, drawing and the browser. Once
// the flood has passed, the held-back text is laid out a slice at a time, every other moment.
class OutputBatcher {
public:
    // Milliseconds between two shows at least: about two frames of a screen. Every show also has the
    // text box drawn again once, which costs about as much as laying out 15,000 characters under
    // Wine; a prompt waits at most this long.
    static constexpr DWORD MinimumInterval = 33;
    // Milliseconds one show should take at most, drawing included: well under the 50 ms the window's
    // thread may be held, because on a busy machine other processes also run while it is under way,
    // and the same show may take twice as long there.
    static constexpr DWORD TargetStretch = 20;
    static constexpr std::size_t MinimumTake = 2048;  // characters a show lays out however slow
    // A flood's shows take at most one part in this of the window's time, as long as they still come
    // once in LongestFloodInterval: the screen's newest state, and the final one once the flood
    // ends, is never further off than that, also when a loaded machine makes every show slow.
    static constexpr DWORD FloodShare = 10;
    static constexpr DWORD LongestFloodInterval = 50;

    void Add(const wchar_t* text) { pending.append(text); }
    bool HasPending() const { return !pending.empty(); }
    std::size_t PendingLength() const { return pending.size(); }
    // Hands over everything gathered.
    std::wstring Take();
    // How many characters one show lays out at most.
    std::size_t TakeSize() const { return takeSize; }

    // Milliseconds from `now` until the next show may come.
    DWORD Wait(DWORD now) const;
    // How long after the last show the next one may come.
    DWORD Interval() const { return interval; }

    // Records one show of `count` characters, from its start to its end, as times of Clock().
    // `flooding`: more came than one show lays out.
    void Shown(DWORD started, DWORD ended, std::size_t count, bool flooding);

    // Milliseconds, of a clock finer than the tick count's 10 to 16 ms: a show is timed to the
    // millisecond, and one too quick to time is one that took less than that.
    static DWORD Clock() noexcept;

private:
    std::wstring pending;
    DWORD lastShown = 0;
    DWORD interval = MinimumInterval;
    bool shownOnce = false;
    std::size_t takeSize = 16 * 1024;
};

}  // namespace session
