#include "band/OutputBatcher.h"

#include <utility>

namespace band {

bool OutputBatcher::Add(const wchar_t* text, DWORD now)
{
    pending.append(text);
    return !shownOnce || pending.size() >= FlushSize || now - lastShown >= interval;
}

std::wstring OutputBatcher::Take()
{
    return std::exchange(pending, std::wstring());
}

void OutputBatcher::Shown(DWORD started, DWORD ended)
{
    const DWORD cost = ended - started;
    interval = cost > MinimumInterval ? cost : MinimumInterval;
    lastShown = ended;
    shownOnce = true;
}

}  // namespace band
