#include "view/HeldBackOutput.h"

#include "support/TextCut.h"

#include <algorithm>
#include <utility>

namespace view {
namespace {

// The longest tail that is laid out again with each show of a flood: past it, the tail stays as shown.
constexpr std::size_t LongestTail = 65536;
// How far past the wanted cut a line end is looked for before a longer line is cut inside.
constexpr std::size_t LineEndSearchSpan = 16384;

std::wstring Tenths(std::size_t count, std::size_t unit)
{
    const std::size_t tenths = (count * 10 + unit / 2) / unit;
    return std::to_wstring(tenths / 10) + L"." + std::to_wstring(tenths % 10);
}

}  // namespace

HeldBackOutput::Stretch& HeldBackOutput::Open(int position, int lineStart, const OutputLineEnds& lineEnds)
{
    Stretch stretch;
    stretch.position = position;
    stretch.lineStart = lineStart;
    stretch.lineEnds = lineEnds;
    stretches.push_back(std::move(stretch));
    return stretches.back();
}

void HeldBackOutput::OpenTail(std::wstring text)
{
    tail = std::move(text);
    tailOpen = true;
}

bool HeldBackOutput::ExtendTail(const wchar_t* text, std::size_t length)
{
    if (tailOpen && tail.size() + length <= LongestTail) {
        tail.append(text, length);
        return true;
    }
    CloseTail();
    return false;
}

void HeldBackOutput::CloseTail() noexcept
{
    tailOpen = false;
    tail.clear();
    // A stretch left with nothing to say has nothing to lay out.
    if (!stretches.empty() && stretches.back().text.empty() && stretches.back().dropped == 0)
        stretches.pop_back();
}

std::wstring HeldBackOutput::TakeTail()
{
    tailOpen = false;
    return std::exchange(tail, std::wstring());
}

void HeldBackOutput::Replaced(int from, int to, int length) noexcept
{
    const int delta = length - (to - from);
    const auto move = [&](int& position) {
        if (position > to)
            position += delta;
        else if (position > from)
            position = from;
    };
    for (Stretch& stretch : stretches) {
        move(stretch.position);
        move(stretch.lineStart);
    }
}

void HeldBackOutput::Cut(int cut)
{
    // Text after a stretch was cut: the stretch's own, older text is beyond the scrollback too.
    const auto beyond = std::find_if(stretches.begin(), stretches.end(),
                                     [cut](const Stretch& stretch) { return stretch.position >= cut; });
    if (beyond == stretches.end() && tailOpen)
        TakeTail();
    stretches.erase(stretches.begin(), beyond);
    for (Stretch& stretch : stretches) {
        stretch.position -= cut;
        stretch.lineStart = std::max(0, stretch.lineStart - cut);
    }
}

void HeldBackOutput::KeepWithin(std::size_t bound)
{
    std::size_t held = 0;
    for (const Stretch& stretch : stretches)
        held += stretch.text.size();
    if (held <= bound)
        return;
    std::size_t excess = held - bound;
    for (Stretch& stretch : stretches) {
        if (excess == 0)
            break;
        const std::size_t cut = excess >= stretch.text.size()
                                    ? stretch.text.size()
                                    : support::CutAfterLineEnd(stretch.text, excess, LineEndSearchSpan);
        stretch.lineEnds.SkipUpTo(stretch.text, cut);
        stretch.text.erase(0, cut);
        stretch.dropped += cut;
        excess -= std::min(excess, cut);
    }
}

void HeldBackOutput::Clear() noexcept
{
    stretches.clear();
    tail.clear();
    tailOpen = false;
}

std::wstring HeldBackOutput::DroppedLine(std::size_t characters)
{
    std::wstring count;
    if (characters >= 999950)
        count = Tenths(characters, 1000000) + L" million";
    else if (characters >= 10000)
        count = Tenths(characters, 1000) + L" thousand";
    else
        count = std::to_wstring(characters);
    return L"... " + count + L" characters of output not shown ...";
}

}  // namespace view
