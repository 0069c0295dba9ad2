#include "session/OutputBatcher.h"

#include <algorithm>
#include <utility>

namespace session {
namespace {

// Beyond this a show's size gains nothing: the scrollback holds about a million characters.
constexpr std::size_t MaximumTake = 1 << 20;

}  // namespace

std::wstring OutputBatcher::Take()
{
    return std::exchange(pending, std::wstring());
}

DWORD OutputBatcher::Wait(DWORD now) const
{
    const DWORD since = now - lastShown;
    return !shownOnce || since >= interval ? 0 : interval - since;
}

void OutputBatcher::Shown(DWORD started, DWORD ended, std::size_t count, bool flooding)
{
    const DWORD cost = ended - started;
    // A show that laid out much less than it could says nothing of what more would cost, unless even
    // it took too long. A show too quick to time says only that a larger one fits.
    if (count >= takeSize / 2 || cost > TargetStretch) {
        const std::size_t fitting = cost == 0 ? 2 * std::max(count, takeSize) : count * TargetStretch / cost;
        takeSize = std::min(std::max(fitting, MinimumTake), MaximumTake);
    }
    interval = std::max(flooding ? cost * (FloodShare - 1) : cost, MinimumInterval);
    lastShown = ended;
    shownOnce = true;
}

}  // namespace session
