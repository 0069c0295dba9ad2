#include "session/EchoFilter.h"

#include <algorithm>
#include <utility>

namespace session {

void EchoFilter::Expect(const std::wstring& line)
{
    size_t begin = 0;
    for (;;) {
        const size_t end = line.find(L'\n', begin);
        std::wstring echo = line.substr(begin, end == std::wstring::npos ? std::wstring::npos : end - begin);
        if (!echo.empty() && echo.back() == L'\r')
            echo.pop_back();
        // An empty line shows nothing to recognise it by.
        if (!echo.empty())
            expected.push_back(echo + L"\r\n");
        if (end == std::wstring::npos)
            return;
        begin = end + 1;
    }
}

void EchoFilter::PromptMarked() noexcept
{
    promptsMarked = true;
    afterPrompt = true;
}

const std::wstring& EchoFilter::Filter(const wchar_t* text, size_t length)
{
    shown.clear();
    input = std::move(heldBack);
    heldBack.clear();
    input.append(text, length);
    size_t at = 0;
    while (at < input.size()) {
        if (expected.empty()) {
            ShowRest(input, at);
            break;
        }
        if (afterPrompt) {
            size_t echoed = 0;
            const Match match = MatchAt(input, at, echoed);
            if (match == Match::Partial) {
                heldBack.assign(input, at, std::wstring::npos);
                break;
            }
            afterPrompt = false;
            if (match == Match::Whole) {
                at += echoed;
                continue;
            }
            expected.clear();
            continue;
        }
        const size_t prompt = promptsMarked ? std::wstring::npos : input.find(L'>', at);
        if (prompt == std::wstring::npos) {
            ShowRest(input, at);
            break;
        }
        shown.append(input, at, prompt + 1 - at);
        afterPrompt = true;
        at = prompt + 1;
    }
    return shown;
}

// Whether the text at `at` is the echo of an expected line, or may still become one. A whole echo
// is taken off the queue with every older line, which the interpreter has read without echo.
EchoFilter::Match EchoFilter::MatchAt(const std::wstring& text, size_t at, size_t& echoed)
{
    const size_t available = text.size() - at;
    bool partial = false;
    for (auto echo = expected.begin(); echo != expected.end(); ++echo) {
        const size_t compared = std::min(available, echo->size());
        if (text.compare(at, compared, *echo, 0, compared) != 0)
            continue;
        if (compared < echo->size()) {
            partial = true;
            continue;
        }
        echoed = echo->size();
        expected.erase(expected.begin(), echo + 1);
        return Match::Whole;
    }
    return partial ? Match::Partial : Match::None;
}

void EchoFilter::ShowRest(const std::wstring& text, size_t at)
{
    if (at >= text.size())
        return;
    shown.append(text, at, std::wstring::npos);
    afterPrompt = !promptsMarked && text.back() == L'>';
}

std::wstring EchoFilter::ReleaseHeldBack()
{
    afterPrompt = false;
    return std::exchange(heldBack, std::wstring());
}

void EchoFilter::Forget() noexcept
{
    expected.clear();
    heldBack.clear();
    afterPrompt = false;
    promptsMarked = false;
}

}  // namespace session
