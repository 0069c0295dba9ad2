#include "BandTestSupport.h"

#include <cstddef>
#include <string>

namespace {

using bandtest::BandInBrowser;

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

class BandOutput : public BandInBrowser {};

TEST_F(BandOutput, LargeOutputIsShownExactlyAsWritten)
{
    const std::string content = NumberedLines(300 * 1024);
    folder.File(L"big.txt", content);
    const std::wstring prompt = bandtest::PromptOf(folder.Path());
    const size_t commandAt = Text().size();

    ASSERT_TRUE(Run(L"type big.txt", folder.Path())) << Text().substr(commandAt, 200);

    // The typed command gives way to the output, which the interpreter does not precede by an echo.
    const std::wstring text = Text();
    const std::wstring shown = text.substr(commandAt, text.size() - prompt.size() - commandAt);
    const std::wstring expected(content.begin(), content.end());
    const size_t difference = FirstDifference(shown, expected);
    EXPECT_EQ(std::wstring::npos, difference)
        << "at " << difference << " of " << expected.size() << ", shown " << shown.size();
    EXPECT_EQ(std::wstring::npos, shown.find_first_not_of(L"\r\n", expected.size()))
        << "only line ends follow the file";
}

// Past about a million characters the oldest lines give way; the newest output stays whole and
// the command line after it still works.
TEST_F(BandOutput, FloodKeepsItsNewestLinesAndTheCommandLine)
{
    const std::string content = NumberedLines(1300 * 1024);
    folder.File(L"flood.txt", content);
    const std::wstring prompt = bandtest::PromptOf(folder.Path());
    const std::wstring lastLine(content.begin() + static_cast<std::ptrdiff_t>(content.rfind("line ")), content.end());
    Submit(L"type flood.txt");
    // The first prompt is among the lines that give way: the end of the file shows completion.
    ASSERT_TRUE(window.PumpUntil(
        [&] { return bandtest::EndsWith(Text(), lastLine + L"\r\n" + prompt); }, FloodBound));

    const std::wstring text = Text();
    EXPECT_LE(text.size(), 1000000u);
    const std::wstring tail(content.end() - 500 * 1024, content.end());
    EXPECT_TRUE(bandtest::EndsWith(text, tail + L"\r\n" + prompt)) << "the newest output is shown whole";
    EXPECT_EQ(0u, text.find(L"line ")) << "the text begins at a line's start";

    ASSERT_TRUE(Run(L"echo after the flood", folder.Path()));
    EXPECT_TRUE(bandtest::EndsWith(Text(), L">after the flood\r\n\r\n" + prompt));
}

TEST_F(BandOutput, PromptWithoutLineEndIsShownAndTheLineTypedAfterItIsSubmittedWhole)
{
    const std::wstring question = L"Your name? ";
    Submit(L"set /p answer=" + question);
    // The typed command ends in the question too: only the interpreter's output replaces it.
    const std::wstring asked = bandtest::PromptOf(folder.Path()) + question;
    ASSERT_TRUE(WaitForText([&](const std::wstring& text) { return bandtest::EndsWith(text, asked); })) << Text();

    window.TypeText(edit, L"ada lovelace");
    EXPECT_TRUE(bandtest::EndsWith(Text(), question + L"ada lovelace"));
    window.PressKey(edit, VK_RETURN);
    ASSERT_TRUE(WaitForPrompt(folder.Path(), 2)) << Text();

    ASSERT_TRUE(Run(L"echo [%answer%]", folder.Path()));
    EXPECT_NE(std::wstring::npos, Text().find(L">[ada lovelace]\r\n")) << Text();
}

TEST_F(BandOutput, ErrorOutputIsShownInOrderBeforeTheNextPrompt)
{
    const std::wstring prompt = bandtest::PromptOf(folder.Path());
    const std::wstring error = L"to the error pipe \r\n";
    Submit(L"echo to the error pipe 1>&2");
    ASSERT_TRUE(WaitForText([&](const std::wstring& text) {
        return text.find(error) != std::wstring::npos && bandtest::CountOf(text, prompt) == 2;
    })) << Text();
    const std::wstring text = Text();
    EXPECT_LT(text.find(error), text.rfind(prompt)) << text;
    EXPECT_TRUE(bandtest::EndsWith(text, prompt)) << text;
}

}  // namespace
