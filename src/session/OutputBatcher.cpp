#include "session/OutputBatcher.h"

#include <algorithm>
#include <utility>

namespace session {
namespace {

// More than this is never laid out at once, however quick the last shows were.
constexpr std::size_t MaximumTake = 256 * 1024;

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
    // it took too long. A show too quick to time says only that a larger one fits; what fits grows
    // by half at most from one show to the next, as a show's cost is not all in its characters and
    // varies with the machine's load: a show larger than the last one measured stays within the target.
    if (count >= takeSize / 2 || cost > TargetStretch) {
        const std::size_t fitting = cost == 0 ? 2 * count : count * TargetStretch / cost;
        takeSize = std::min({std::max(fitting, MinimumTake), takeSize + takeSize / 2, MaximumTake});
    }
    interval = std::max(flooding ? std::min(cost * (FloodShare - 1), LongestFloodInterval) : cost, MinimumInterval);
    lastShown = ended;
    shownOnce = true;
}

DWORD OutputBatcher::Clock() noexcept
{
    LARGE_INTEGER now = {};
    LARGE_INTEGER frequency = {};
    if (!::QueryPerformanceCounter(&now) || !::QueryPerformanceFrequency(&frequency) || frequency.QuadPart < 1000)
        return ::GetTickCount();
    return static_cast<DWORD>(now.QuadPart / (frequency.QuadPart / 1000));
}

}  // namespace session
