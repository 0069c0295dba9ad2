#pragma once

#include <string>
#include <vector>

namespace session {

// Why the console ended the console programs running in it.
enum class EndingReason {
    SecondBreak,       // Ctrl+Break pressed again soon after the first was sent
    CtrlCNotSent,      // Ctrl+C could not be sent to the interpreter's console
    CtrlBreakNotSent,  // nor Ctrl+Break
};

// The console's one line after it ended the console programs: why, and which, by their file
// names in the order they were ended; none when no console program ran.
std::wstring EndedProgramsLine(EndingReason reason, const std::vector<std::wstring>& ended);

}  // namespace session
