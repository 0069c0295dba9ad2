#include "session/EndedProgramsText.h"

namespace session {
namespace {

const wchar_t* Why(EndingReason reason)
{
    switch (reason) {
    case EndingReason::SecondBreak:
        return L"Ctrl+Break twice";
    case EndingReason::CtrlCNotSent:
        return L"Ctrl+C could not be sent to the console";
    case EndingReason::CtrlBreakNotSent:
    default:
        return L"Ctrl+Break could not be sent to the console";
    }
}

}  // namespace

std::wstring EndedProgramsLine(EndingReason reason, const std::vector<std::wstring>& ended)
{
    std::wstring line = Why(reason);
    if (ended.empty())
        return line + L"; no console program was running to end.";
    line += L": ended ";
    for (std::size_t index = 0; index < ended.size(); ++index)
        line += (index == 0 ? L"" : L", ") + ended[index];
    return line + L".";
}

}  // namespace session
