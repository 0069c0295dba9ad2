#include "ConsoleTestSupport.h"

#include "console/ConsoleProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using consoletest::CollectingWindow;
using consoletest::TemporaryFolder;

namespace {

std::wstring Lowered(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), ::towlower);
    return text;
}

// The built library, which exports the code-page helper's entry point: the test program's folder's parent.
std::wstring BuiltLibrary()
{
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring path = program;
    path.erase(path.find_last_of(L'\\'));
    path.erase(path.find_last_of(L'\\'));
    return path + L"\\Brimblestone.dll";
}

// One interpreter per test, started in `folder`, with its first prompt already read.
class ConsoleProcessOutput : public ::testing::Test {
protected:
    void StartIn(const std::wstring& folder)
    {
        ASSERT_TRUE(console.Start(window.Handle(), folder.c_str()));
        ASSERT_TRUE(window.WaitForPrompt(0));
    }

    // Sends one line and waits for the prompt after it; returns what came back on standard output.
    std::wstring Run(const wchar_t* line)
    {
        const std::size_t seen = window.Got().output.size();
        EXPECT_TRUE(console.WriteLine(line));
        EXPECT_TRUE(window.WaitForPrompt(seen));
        return window.Got().output.substr(seen);
    }

    void TearDown() override { console.Stop(); }

    CollectingWindow window;
    console::ConsoleProcess console;
};

TEST_F(ConsoleProcessOutput, InterpreterRunsInTheGivenFolderWithTheHostEnvironment)
{
    TemporaryFolder folder(L"brimblestone folder");
    ::SetEnvironmentVariableW(L"BRIMBLESTONE_PROBE", L"inherited-value");
    StartIn(folder.Path());
    EXPECT_NE(std::wstring::npos, Lowered(Run(L"cd\r\n")).find(Lowered(folder.Path())));
    EXPECT_NE(std::wstring::npos, Run(L"echo %BRIMBLESTONE_PROBE%\r\n").find(L"inherited-value"));
    ::SetEnvironmentVariableW(L"BRIMBLESTONE_PROBE", nullptr);
}

// The interpreter reads and writes the pipes in its console's code page, not the band's.
TEST_F(ConsoleProcessOutput, AccentedNamesGoThereAndReadBackExactly)
{
    TemporaryFolder folder(L"brimblestone accents");
    const std::wstring names[] = {L"Caf\xe9.txt", L"\xc4rger.txt", L"na\xefve.txt"};
    for (const std::wstring& name : names)
        folder.WriteFile(name.c_str(), "accent\r\n");
    StartIn(folder.Path());
    const std::wstring listing = Run(L"dir /b\r\n");
    for (const std::wstring& name : names)
        EXPECT_NE(std::wstring::npos, listing.find(name + L"\r\n")) << listing;
    Run(L"ren \"Caf\xe9.txt\" \"Caf\xe9s.txt\"\r\n");
    const std::wstring renamed = folder.Path() + L"\\Caf\xe9s.txt";
    EXPECT_TRUE(::MoveFileW(renamed.c_str(), (folder.Path() + L"\\" + names[0]).c_str())) << "renamed the very file";
}

// After a "chcp" the console's code pages are learnt from a helper attached to it; lines and
// output then pass in the new one, UTF-8 with characters beyond the basic plane included. (Wine's
// interpreter keeps reading its input in the code page it started with, so only the output is
// read back here.)
TEST_F(ConsoleProcessOutput, FollowsTheCodePageTheUserChose)
{
    TemporaryFolder folder(L"brimblestone code page");
    folder.WriteFile(L"utf8.txt", "\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80 caf\xc3\xa9\r\n");
    StartIn(folder.Path());
    EXPECT_EQ(::GetOEMCP(), console.CodePage());
    ASSERT_TRUE(console.FollowCodePage(BuiltLibrary()));
    EXPECT_EQ(::GetOEMCP(), console.CodePage());
    Run(L"chcp 65001\r\n");
    ASSERT_TRUE(console.FollowCodePage(BuiltLibrary()));
    EXPECT_EQ(65001u, console.CodePage());
    // "type" copies the file's bytes as they are: they decode in the code page followed.
    const std::wstring typed = Run(L"type utf8.txt\r\n");
    EXPECT_NE(std::wstring::npos, typed.find(L"\x65e5\x672c \xd83d\xde00 caf\xe9\r\n")) << typed;
    EXPECT_FALSE(console.FollowCodePage(L"C:\\missing.dll"));
    EXPECT_EQ(65001u, console.CodePage());
}

TEST_F(ConsoleProcessOutput, InterpreterAndItsConsoleShowNoWindow)
{
    const auto before = consoletest::ChildProcessIds(L"cmd.exe");
    StartIn(L"C:\\");
    const DWORD interpreter = consoletest::NewProcessId(before, consoletest::ChildProcessIds(L"cmd.exe"));
    ASSERT_NE(0u, interpreter);
    Run(L"echo shown\r\n");
    EXPECT_FALSE(consoletest::HasVisibleWindow(interpreter));
    for (DWORD host : consoletest::ChildProcessIds(L"conhost.exe", interpreter))
        EXPECT_FALSE(consoletest::HasVisibleWindow(host));
}

TEST_F(ConsoleProcessOutput, PromptWithoutLineEndArrivesWithoutWaitingForOne)
{
    StartIn(L"C:\\");
    const std::wstring answer = Run(L"echo marker\r\n");
    EXPECT_NE(std::wstring::npos, answer.find(L"marker"));
    EXPECT_EQ(L'>', answer.back());
}

TEST_F(ConsoleProcessOutput, ErrorTextArrivesOnTheErrorPipeOnly)
{
    StartIn(L"C:\\");
    const std::wstring answer = Run(L"dir brimblestone-no-such-file\r\n");
    ASSERT_TRUE(window.PumpUntil([&] { return !window.Got().error.empty(); }));
    EXPECT_EQ(std::wstring::npos, answer.find(window.Got().error));
}

TEST_F(ConsoleProcessOutput, LongOutputArrivesInChunksOfAtMost512BytesThatJoinExactly)
{
    TemporaryFolder folder(L"brimblestone long output");
    std::string content;
    for (int line = 0; content.size() < 5000; ++line)
        content += "line " + std::to_string(line) + " of the long output\r\n";
    folder.WriteFile(L"long.txt", content);
    StartIn(folder.Path());
    const std::size_t firstChunk = window.Got().outputChunkLengths.size();
    const std::wstring answer = Run(L"type long.txt\r\n");
    EXPECT_NE(std::wstring::npos, answer.find(std::wstring(content.begin(), content.end())));
    const auto& lengths = window.Got().outputChunkLengths;
    EXPECT_GE(lengths.size() - firstChunk, content.size() / 512);
    EXPECT_LE(*std::max_element(lengths.begin(), lengths.end()), 512u);
}

}  // namespace
