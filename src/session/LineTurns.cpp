#include "session/LineTurns.h"

#include <utility>

namespace session {

std::optional<std::wstring> LineTurns::PromptReached()
{
    marked = true;
    if (unread) {
        atPrompt = false;
        return std::exchange(unread, std::nullopt);
    }
    atPrompt = true;
    return std::nullopt;
}

LineTurns::Route LineTurns::Submit(const std::wstring& line, bool programRuns)
{
    if (!marked)
        return Route::Unmarked;
    if (programRuns)
        return Route::Program;
    if (atPrompt) {
        atPrompt = false;
        return Route::Prompt;
    }
    if (!unread && held.empty()) {
        unread = line;
        return Route::Interpreter;
    }
    held.push_back(line);
    return Route::Held;
}

std::optional<LineTurns::TurnCome> LineTurns::NextHeld()
{
    if (held.empty() || (!atPrompt && unread))
        return std::nullopt;
    TurnCome turn{std::move(held.front()), atPrompt};
    held.pop_front();
    if (turn.atPrompt)
        atPrompt = false;
    else
        unread = turn.line;
    return turn;
}

std::deque<std::wstring> LineTurns::MarksStopped()
{
    marked = false;
    atPrompt = false;
    unread.reset();
    return std::exchange(held, std::deque<std::wstring>());
}

void LineTurns::Reset()
{
    held.clear();
    unread.reset();
    marked = false;
    atPrompt = false;
}

}  // namespace session
