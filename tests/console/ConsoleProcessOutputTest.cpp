#include "ConsoleTestSupport.h"

#include "console/ConsoleProcess.h"
#include "shared/BuiltPrograms.h"

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

// One interpreter per test, started in `folder`, with its first prompt already read.
class ConsoleProcessOutput : public ::testing::Test {
protected:
    void StartIn(const std::wstring& folder, HMODULE helperLibrary = testsupport::BuiltHelperLibrary())
    {
        ASSERT_TRUE(window.Start(console, folder.c_str(), helperLibrary));
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

    // Sends one line and waits for the marked prompt after it; returns the folder it tells. The
    // prompt the user sees is as ever: the folder and ">" on a line of its own, right before it.
    std::wstring RunToMarkedPrompt(const std::wstring& line)
    {
        const std::size_t seen = window.Got().prompts.size();
        EXPECT_TRUE(console.WriteLine((line + L"\r\n").c_str()));
        if (!window.WaitForMarkedPrompt(seen)) {
            ADD_FAILURE() << "no marked prompt after " << ::testing::PrintToString(line);
            return std::wstring();
        }
        const console::MarkedPrompt& prompt = window.Got().prompts.back();
        const std::wstring visible = L"\n" + prompt.folder + L">";
        EXPECT_EQ(visible, window.Got().output.substr(prompt.offset - std::min(prompt.offset, visible.size()),
                                                      visible.size()));
        return prompt.folder;
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
// read back here.) The marked prompt's folder is read in the code page followed, as all output is.
TEST_F(ConsoleProcessOutput, FollowsTheCodePageTheUserChose)
{
    TemporaryFolder folder(L"brimblestone code page");
    folder.WriteFile(L"utf8.txt", "\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80 caf\xc3\xa9\r\n");
    const std::wstring accented = folder.Folder(L"Caf\xe9");
    StartIn(folder.Path());
    EXPECT_EQ(accented, RunToMarkedPrompt(L"cd Caf\xe9"));
    EXPECT_EQ(::GetOEMCP(), console.CodePage());
    ASSERT_TRUE(console.FollowCodePage());
    EXPECT_EQ(::GetOEMCP(), console.CodePage());
    Run(L"chcp 65001\r\n");
    // Asked without waiting, the answer is followed once it has come.
    ASSERT_TRUE(console.AskCodePage());
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (console.CodePageAnswerPending() && ::GetTickCount64() < deadline)
        ::Sleep(20);
    EXPECT_EQ(65001u, console.CodePage());
    // "type" copies the file's bytes as they are: they decode in the code page followed.
    const std::wstring typed = Run(L"type ..\\utf8.txt\r\n");
    EXPECT_NE(std::wstring::npos, typed.find(L"\x65e5\x672c \xd83d\xde00 caf\xe9\r\n")) << typed;
    EXPECT_EQ(accented, window.Got().prompts.back().folder) << "the marks are read in the code page followed";
    ASSERT_TRUE(console.AskCodePage());
    EXPECT_TRUE(console.FollowCodePage()) << "waits for the answer to the question asked";
    EXPECT_EQ(65001u, console.CodePage());
}

// A program that links the console's code without naming a library of helpers keeps the code page
// the interpreter started with; nothing asks in vain.
TEST_F(ConsoleProcessOutput, WithoutAHelperLibraryTheCodePageStaysAsItStarted)
{
    StartIn(L"C:\\", ::GetModuleHandleW(nullptr));
    EXPECT_FALSE(console.AskCodePage());
    EXPECT_FALSE(console.FollowCodePage());
    EXPECT_EQ(::GetOEMCP(), console.CodePageForNextLine());
}

// The interpreter itself tells where it went, however it got there, at the end of the prompt it
// shows the user as ever; the marks are never shown.
TEST_F(ConsoleProcessOutput, MarkedPromptsTellWhereverTheInterpreterWent)
{
    TemporaryFolder folder(L"brimblestone marked prompts");
    const std::wstring sub = folder.Folder(L"sub folder");
    const std::wstring windows = Lowered(folder.Path().substr(0, 2) + L"\\Windows");
    EXPECT_FALSE(console.MarkedPromptSeen());
    StartIn(folder.Path());
    ASSERT_EQ(1u, window.Got().prompts.size());
    EXPECT_EQ(folder.Path(), window.Got().prompts[0].folder);
    EXPECT_EQ(window.Got().output.size(), window.Got().prompts[0].offset);
    EXPECT_TRUE(console.MarkedPromptSeen());

    EXPECT_EQ(sub, RunToMarkedPrompt(L"cd \"sub folder\""));
    EXPECT_EQ(windows, Lowered(RunToMarkedPrompt(L"pushd " + windows)));
    EXPECT_EQ(sub, RunToMarkedPrompt(L"popd"));
    EXPECT_EQ(folder.Path(), RunToMarkedPrompt(L"cd .. & echo chained"));
    // The text the line printed comes before its prompt.
    EXPECT_LT(window.Got().output.rfind(L"chained\r\n"), window.Got().prompts.back().offset);

    // A bare drive letter moves to that drive's own current folder, wherever that is.
    wchar_t otherDrive[] = L"?:";
    for (DWORD drives = ::GetLogicalDrives(), drive = 0; drive < 26 && otherDrive[0] == L'?'; ++drive) {
        const wchar_t letter = static_cast<wchar_t>(L'A' + drive);
        const wchar_t root[] = {letter, L':', L'\\', 0};
        if ((drives >> drive & 1) && ::towupper(folder.Path()[0]) != letter && ::GetDriveTypeW(root) == DRIVE_FIXED)
            otherDrive[0] = letter;
    }
    if (otherDrive[0] != L'?') {
        EXPECT_EQ(std::wstring(otherDrive) + L"\\", RunToMarkedPrompt(otherDrive).substr(0, 3));
    }
    EXPECT_EQ(folder.Path().substr(0, 3), RunToMarkedPrompt(folder.Path().substr(0, 2)).substr(0, 3));
    EXPECT_EQ(std::wstring::npos, window.Got().output.find(L'\x1b'));
}

// A user who replaces the prompt gets it; the interpreter then tells no more prompts.
TEST_F(ConsoleProcessOutput, PromptTheUserSetsStopsTheMarks)
{
    TemporaryFolder folder(L"brimblestone own prompt");
    folder.Folder(L"sub");
    StartIn(folder.Path());
    Run(L"prompt $P$G\r\n");
    const std::wstring prompt = L"\n" + folder.Path() + L"\\sub>";
    const std::wstring answer = Run(L"cd sub\r\n");
    EXPECT_EQ(prompt, answer.substr(answer.size() - std::min(answer.size(), prompt.size())));
    EXPECT_EQ(1u, window.Got().prompts.size());
    EXPECT_TRUE(console.MarkedPromptSeen()) << "seen once, for this interpreter";
    EXPECT_EQ(std::wstring::npos, window.Got().output.find(L'\x1b'));
}

// The interpreter expands a "%NAME%" pair on a typed line, quoted or not, whatever characters
// NAME holds; a "%" with no other one on the line is read as typed.
TEST_F(ConsoleProcessOutput, InterpreterReadsALonePercentAsTypedAndExpandsAPair)
{
    TemporaryFolder folder(L"brimblestone percent");
    const std::wstring lone = folder.Folder(L"100% done");
    const std::wstring expanded = folder.Folder(L"expanded");
    folder.Folder(L"%BRIMBLESTONE_PAIR%");
    ::SetEnvironmentVariableW(L"BRIMBLESTONE_PAIR", L"expanded");
    StartIn(folder.Path());
    ::SetEnvironmentVariableW(L"BRIMBLESTONE_PAIR", nullptr);
    EXPECT_EQ(lone, RunToMarkedPrompt(L"cd /d \"" + lone + L"\""));
    EXPECT_EQ(expanded, RunToMarkedPrompt(L"cd /d \"" + folder.Path() + L"\\%BRIMBLESTONE_PAIR%\""));
    Run(L"set \" done\" =paired\"\r\n");
    EXPECT_EQ(L"\"100paired\r\n", Run(L"echo \"100% done\" %\r\n").substr(0, 12));
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

// Standard output and standard error share one pipe, so text arrives in the order it was written.
TEST_F(ConsoleProcessOutput, ErrorTextArrivesInOrderWithTheOutput)
{
    StartIn(L"C:\\");
    const std::wstring answer = Run(L"(echo first-line& echo error-line 1>&2& echo last-line)\r\n");
    const std::size_t first = answer.find(L"first-line\r\n");
    const std::size_t error = answer.find(L"error-line");
    const std::size_t last = answer.find(L"last-line\r\n");
    ASSERT_NE(std::wstring::npos, first);
    ASSERT_NE(std::wstring::npos, error);
    ASSERT_NE(std::wstring::npos, last);
    EXPECT_LT(first, error);
    EXPECT_LT(error, last);
}

// A window slower than the interpreter gets everything, in order, in takes the queue's bound
// keeps small, however much more the interpreter writes meanwhile.
TEST_F(ConsoleProcessOutput, OutputFarBeyondTheQueuesBoundReachesASlowWindowWholeInBoundedTakes)
{
    TemporaryFolder folder(L"brimblestone long output");
    std::string content;
    for (int line = 0; content.size() < 16 * console::OutputQueue::Bound; ++line)
        content += "line " + std::to_string(line) + " of the long output\r\n";
    folder.WriteFile(L"long.txt", content);
    StartIn(folder.Path());
    window.TakeSlowly(20);
    const std::size_t firstTake = window.Got().takenLengths.size();
    const std::wstring answer = Run(L"type long.txt\r\n");
    EXPECT_NE(std::wstring::npos, answer.find(std::wstring(content.begin(), content.end())));
    const auto& lengths = window.Got().takenLengths;
    EXPECT_GE(lengths.size() - firstTake, 16u);
    // The reader queues whole chunks of at most 512 bytes, and waits once the bound is reached.
    EXPECT_LE(*std::max_element(lengths.begin(), lengths.end()), console::OutputQueue::Bound + 512);
    // The prompt after it keeps its place behind all of it, in whichever take it came.
    EXPECT_EQ(2u, window.Got().prompts.size());
    EXPECT_EQ(window.Got().output.size(), window.Got().prompts.back().offset);
    EXPECT_EQ(folder.Path(), window.Got().prompts.back().folder);
}

// While the program that reads the interpreter's input is busy, the pipe fills up: lines wait
// their turn elsewhere, and arrive complete and in order once the program reads again.
TEST_F(ConsoleProcessOutput, WriteLineNeverWaitsForTheInterpreterToRead)
{
    consoletest::HelperProgram reader;
    StartIn(L"C:\\");
    ASSERT_TRUE(console.WriteLine(reader.CommandLine(L"EchoInputOnceReleased").c_str()));
    ASSERT_TRUE(window.PumpUntil([&] { return window.Got().output.find(L"waiting to read") != std::wstring::npos; }));

    const ULONGLONG started = ::GetTickCount64();
    for (int line = 10; line < 40; ++line)
        ASSERT_TRUE(console.WriteLine((L"line" + std::to_wstring(line) + std::wstring(4000, L'x') + L"\r\n").c_str()));
    ASSERT_TRUE(console.WriteLine(L"end-of-input\r\n"));
    EXPECT_LT(::GetTickCount64() - started, 5000u);

    reader.Release();
    ASSERT_TRUE(window.PumpUntil([&] { return window.Got().output.find(L"read everything") != std::wstring::npos; }));
    std::wstring expected;
    for (int line = 10; line < 40; ++line)
        expected += L"got line" + std::to_wstring(line) + L" of 4006\r\n";
    EXPECT_NE(std::wstring::npos, window.Got().output.find(expected)) << window.Got().output.substr(0, 2000);
}

// Run by the interpreter in the test above, never on its own: reads nothing until released, then
// reports each line of its input up to "end-of-input".
TEST(ConsoleHelper, DISABLED_EchoInputOnceReleased)
{
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    const std::string waiting = "waiting to read\r\n";
    ::WriteFile(output, waiting.data(), static_cast<DWORD>(waiting.size()), &written, nullptr);
    if (!consoletest::HelperProgram::WaitForRelease())
        GTEST_SKIP();
    std::string input;
    char buffer[4096];
    DWORD read = 0;
    while (input.find("end-of-input\r\n") == std::string::npos &&
           ::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        input.append(buffer, read);
    std::string report;
    for (std::size_t start = 0, end; (end = input.find("\r\n", start)) != std::string::npos; start = end + 2) {
        if (input.compare(start, 4, "line") == 0)
            report += "got " + input.substr(start, 6) + " of " + std::to_string(end - start) + "\r\n";
    }
    report += "read everything\r\n";
    ::WriteFile(output, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
}

}  // namespace
