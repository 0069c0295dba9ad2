#include "session/OutputBatcher.h"

#include <algorithm>
#include <utility>

namespace session {
namespace {

// Beyond this an append's size gains nothing: the scrollback holds about a million characters.
constexpr size_t MaximumTake = 1 << 20;

}  // namespace

bool OutputBatcher::Add(const wchar_t* text, DWORD now)
{
    pending.append(text);
    return !shownOnce || pending.size() >= FlushSize || now - lastShown >= interval;
}

std::wstring OutputBatcher::Take()
{
    if (pending.size() <= takeSize)
        return std::exchange(pending, std::wstring());
    size_t length = takeSize;
    if (IS_HIGH_SURROGATE(pending[length - 1]))
        --length;
    std::wstring taken(pending, 0, length);
    pending.erase(0, length);
    return taken;
}

void OutputBatcher::Shown(DWORD started, DWORD ended, size_t count)
{
    const DWORD cost = ended - started;
    // An append too quick to time says only that a larger one fits.
    const size_t fitting = cost == 0 ? 2 * std::max(count, takeSize) : count * TargetStretch / cost;
    takeSize = std::min(std::max(fitting, MinimumTake), MaximumTake);
    interval = cost > MinimumInterval ? cost : MinimumInterval;
    lastShown = ended;
    shownOnce = true;
}

}  // namespace session
