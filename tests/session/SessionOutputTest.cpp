#include "SessionTestSupport.h"

#include "support/UniqueHandle.h"

#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <string>

namespace {

using sessiontest::SessionTest;

// More than a million characters through the text box take a while under an emulated system.
constexpr DWORD FloodBound = 120000;

// Numbered lines of printable single-byte text, CR LF ended, about `size` bytes in all.
std::string NumberedLines(size_t size)
{
    std::string text;
    for (int line = 0; text.size() < size; ++line)
        text += "line " + std::to_string(line) + " the quick brown fox jumps over the lazy dog\r\n";
    return text;
}

// Where two texts first differ, or npos when `shown` begins with `expected`.
size_t FirstDifference(const std::wstring& shown, const std::wstring& expected)
{
    for (size_t at = 0; at < expected.size(); ++at) {
        if (at >= shown.size() || shown[at] != expected[at])
            return at;
    }
    return std::wstring::npos;
}

constexpr wchar_t LentMark[] = L"output lent as ";

class SessionOutput : public SessionTest {
protected:
    // The write end of the interpreter's output pipe, lent by a program the interpreter runs:
    // what is written there reaches the console as the interpreter's own output.
    support::UniqueHandle BorrowOutput()
    {
        const std::wstring helper =
            sessiontest::HelperCommand(L"LendOutput") + L" " + std::to_wstring(::GetCurrentProcessId());
        if (!Run(helper, folder.Path()))
            return support::UniqueHandle();
        const std::wstring text = Text();
        const size_t at = text.rfind(LentMark);
        if (at == std::wstring::npos)
            return support::UniqueHandle();
        const auto value = std::wcstoull(text.c_str() + at + std::wcslen(LentMark), nullptr, 10);
        return support::UniqueHandle(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)));
    }

    // Writes plain ASCII text as the interpreter would, at a moment of the test's choosing.
    static void Deliver(HANDLE output, const wchar_t* text)
    {
        const std::string bytes(text, text + std::wcslen(text));
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    }
};

TEST_F(SessionOutput, LargeOutputIsShownExactlyAsWritten)
{
    const std::string content = NumberedLines(300 * 1024);
    folder.File(L"big.txt", content);
    const std::wstring prompt = sessiontest::PromptOf(folder.Path());
    const size_t commandAt = Text().size();

    ASSERT_TRUE(Run(L"type big.txt", folder.Path())) << Text().substr(commandAt, 200);

    // The typed command stays, followed by the output.
    const std::wstring text = Text();
    const size_t outputAt = commandAt + std::wstring(L"type big.txt\r\n").size();
    const std::wstring shown = text.substr(outputAt, text.size() - prompt.size() - outputAt);
    const std::wstring expected(content.begin(), content.end());
    const size_t difference = FirstDifference(shown, expected);
    EXPECT_EQ(std::wstring::npos, difference)
        << "at " << difference << " of " << expected.size() << ", shown " << shown.size();
    EXPECT_EQ(std::wstring::npos, shown.find_first_not_of(L"\r\n", expected.size()))
        << "only line ends follow the file";
}

// Past about a million characters the oldest lines give way; the newest output stays whole and
// the command line after it still works.
TEST_F(SessionOutput, FloodKeepsItsNewestLinesAndTheCommandLine)
{
    const std::string content = NumberedLines(1300 * 1024);
    folder.File(L"flood.txt", content);
    const std::wstring prompt = sessiontest::PromptOf(folder.Path());
    const std::wstring lastLine(content.begin() + static_cast<std::ptrdiff_t>(content.rfind("line ")), content.end());
    Submit(L"type flood.txt");
    // The first prompt is among the lines that give way: the end of the file shows completion.
    ASSERT_TRUE(WaitFor(
        [&] { return sessiontest::EndsWith(Text(), lastLine + L"\r\n" + prompt); }, FloodBound));

    const std::wstring text = Text();
    EXPECT_LE(text.size(), 1000000u);
    const std::wstring tail(content.end() - 500 * 1024, content.end());
    EXPECT_TRUE(sessiontest::EndsWith(text, tail + L"\r\n" + prompt)) << "the newest output is shown whole";
    EXPECT_EQ(0u, text.find(L"line ")) << "the text begins at a line's start";

    ASSERT_TRUE(Run(L"echo after the flood", folder.Path()));
    EXPECT_TRUE(sessiontest::EndsWith(Text(), prompt + L"echo after the flood\r\nafter the flood\r\n\r\n" + prompt));
}

// Wine's cmd does not echo what it reads: the line typed is what shows the command.
TEST_F(SessionOutput, SubmittedLineStaysInTheTranscriptOnce)
{
    const std::wstring prompt = sessiontest::PromptOf(folder.Path());
    ASSERT_TRUE(Run(L"echo hello", folder.Path()));
    EXPECT_TRUE(sessiontest::EndsWith(Text(), prompt + L"echo hello\r\nhello\r\n\r\n" + prompt)) << Text();
    EXPECT_EQ(L"", InputAfterPrompt(folder.Path()));
}

// An interpreter that does not echo what it reads (Wine's; Windows' with echo off) has its output
// shown whole, even where it repeats the line that ran it, and so has a batch file that reads a line.
TEST_F(SessionOutput, OutputThatRepeatsTheLineIsShown)
{
    folder.File(L"say.bat", "@echo say\r\n");
    folder.File(L"readback.bat", "@set /p fruit=\r\n@echo %fruit%\r\n");
    ASSERT_TRUE(Run(L"say", folder.Path()));
    EXPECT_EQ(2u, sessiontest::CountOf(Text(), L"say\r\n")) << "typed, then printed: " << Text();

    const size_t prompts = sessiontest::CountOf(Text(), sessiontest::PromptOf(folder.Path()));
    Submit(L"readback");
    Submit(L"banana");
    ASSERT_TRUE(WaitForPrompt(folder.Path(), prompts + 1)) << Text();
    EXPECT_EQ(2u, sessiontest::CountOf(Text(), L"banana\r\n")) << "typed, then printed: " << Text();
}

// Output of a running program goes in front of what the user types meanwhile; once the prompt
// is back, Enter runs the line.
TEST_F(SessionOutput, LineTypedAheadSurvivesOutputAndRuns)
{
    const std::wstring prompt = sessiontest::PromptOf(folder.Path());
    const support::UniqueHandle output = BorrowOutput();
    ASSERT_TRUE(output) << Text();
    Deliver(output.Get(), L"\r\ntick 1\r\n");
    Type(L"echo typed-ahead");
    Press(VK_LEFT);
    for (const wchar_t* tick : {L"tick 2\r\n", L"tick 3\r\n", L"\r\n", prompt.c_str()})
        Deliver(output.Get(), tick);
    const std::wstring expected = L"tick 3\r\n\r\n" + prompt + L"echo typed-ahead";
    EXPECT_TRUE(WaitForText([&](const std::wstring& text) { return sessiontest::EndsWith(text, expected); })) << Text();
    Type(L"!");
    EXPECT_EQ(L"echo typed-ahea!d", InputAfterPrompt(folder.Path())) << "the caret stayed in the line";

    ASSERT_TRUE(Run(L"", folder.Path()));
    EXPECT_NE(std::wstring::npos, Text().find(prompt + L"echo typed-ahea!d\r\ntyped-ahea!d\r\n")) << Text();
}

TEST_F(SessionOutput, PromptWithoutLineEndIsShownAndTheLineTypedAfterItIsSubmittedWhole)
{
    const std::wstring question = L"Your name? ";
    Submit(L"set /p answer=" + question);
    const std::wstring asked = sessiontest::PromptOf(folder.Path()) + L"set /p answer=" + question + L"\r\n" + question;
    ASSERT_TRUE(WaitForText([&](const std::wstring& text) { return sessiontest::EndsWith(text, asked); })) << Text();

    Type(L"ada lovelace");
    EXPECT_TRUE(sessiontest::EndsWith(Text(), question + L"ada lovelace"));
    Press(VK_RETURN);
    ASSERT_TRUE(WaitForPrompt(folder.Path(), 2)) << Text();

    ASSERT_TRUE(Run(L"echo [%answer%]", folder.Path()));
    EXPECT_NE(std::wstring::npos, Text().find(L"]\r\n[ada lovelace]\r\n")) << Text();
}

TEST_F(SessionOutput, ErrorOutputIsShownInOrderBeforeTheNextPrompt)
{
    const std::wstring prompt = sessiontest::PromptOf(folder.Path());
    const std::wstring error = L"to the error pipe \r\n";
    Submit(L"echo to the error pipe 1>&2");
    ASSERT_TRUE(WaitForText([&](const std::wstring& text) {
        return text.find(error) != std::wstring::npos && sessiontest::CountOf(text, prompt) == 2;
    })) << Text();
    const std::wstring text = Text();
    EXPECT_LT(text.find(error), text.rfind(prompt)) << text;
    EXPECT_TRUE(sessiontest::EndsWith(text, prompt)) << text;
}

// Run by the interpreter in the console's tests, never on its own: gives the test program whose
// process id ends its command line a handle to its standard output, the interpreter's output pipe.
TEST(SessionHelper, DISABLED_LendOutput)
{
    const wchar_t* line = ::GetCommandLineW();
    const DWORD borrower = std::wcstoul(std::wcsrchr(line, L' ') + 1, nullptr, 10);
    const support::UniqueHandle process(::OpenProcess(PROCESS_DUP_HANDLE, FALSE, borrower));
    HANDLE lent = nullptr;
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), ::GetStdHandle(STD_OUTPUT_HANDLE), process.Get(), &lent, 0,
                                  FALSE, DUPLICATE_SAME_ACCESS));
    const std::wstring mark = LentMark;
    const std::string said =
        std::string(mark.begin(), mark.end()) + std::to_string(reinterpret_cast<uintptr_t>(lent)) + "\r\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), said.data(), static_cast<DWORD>(said.size()), &written, nullptr);
}

}  // namespace
