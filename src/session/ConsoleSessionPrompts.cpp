#include "session/ConsoleSession.h"

#include "console/ExactEncoding.h"
#include "session/PromptCommand.h"
#include "session/RefusalText.h"

#include <cwchar>

namespace session {
namespace {

// The line the console sends at the interpreter's first marked prompt: an interpreter that echoes
// what it reads writes it again right after that prompt.
constexpr wchar_t EchoCheckLine[] = L"rem Brimblestone";

std::wstring WithoutTrailingBackslash(std::wstring folder)
{
    if (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

bool SameFolder(const std::wstring& one, const std::wstring& other)
{
    const std::wstring a = WithoutTrailingBackslash(one);
    const std::wstring b = WithoutTrailingBackslash(other);
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

// A folder that the interpreter names and the browser can show: it exists. The interpreter writes
// a character its code page lacks as "?", which no name holds.
bool BrowserCanShow(const std::wstring& folder)
{
    if (folder.find(L'?') != std::wstring::npos)
        return false;
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

// The interpreter has finished what it read and waits, in `folder`: the browser follows it, and the
// next line has its turn.
void ConsoleSession::OnMarkedPrompt(const std::wstring& folder)
{
    const bool moved = promptFolder && !SameFolder(*promptFolder, folder);
    promptFolder = folder;
    if (echo == Echo::Checking)
        FinishEchoCheck();
    if (const std::optional<std::wstring> readHere = turns.PromptReached()) {
        if (echo == Echo::Echoes)
            echoes.ExpectAtPrompt(*readHere);
    } else if (echo == Echo::Unknown) {
        StartEchoCheck();
        return;
    }
    FollowInterpreter(folder, moved);
    SendHeldLines();
}

void ConsoleSession::StartEchoCheck()
{
    turns.TakeTurn();
    echo = Echo::Checking;
    echoCheckOutput.clear();
    if (!console.WriteLine((std::wstring(EchoCheckLine) + L"\r\n").c_str()))
        echo = Echo::Unknown;
}

// The check's answer and its prompt are not shown: the prompt before them stands for both.
void ConsoleSession::FinishEchoCheck()
{
    echo = echoCheckOutput.compare(0, std::wcslen(EchoCheckLine), EchoCheckLine) == 0 ? Echo::Echoes : Echo::Silent;
    echoCheckOutput.clear();
}

// Output that the check gathered without an answer is output after all: nothing is lost.
void ConsoleSession::AbandonEchoCheck()
{
    echo = Echo::Unknown;
    std::wstring gathered;
    gathered.swap(echoCheckOutput);
    GatherOutput(gathered, 0, gathered.size());
}

// A folder the browser showed while the interpreter was at work goes first: the user chose it last.
// Else the browser goes where the interpreter went, when it can show that folder.
void ConsoleSession::FollowInterpreter(const std::wstring& folder, bool moved)
{
    if (folderChangeWaits) {
        if (turns.AtPrompt())
            ChangeToBrowserFolder(false);
        return;
    }
    if (!moved || !BrowserCanShow(folder))
        return;
    std::wstring shown;
    if (ShowsFileSystemFolder(shown) && SameFolder(shown, folder))
        return;
    navFromConsole = true;
    const HostCall call(*this);
    if (!browser.Navigate(folder))
        navFromConsole = false;
}

bool ConsoleSession::IsInterpreterFolder(const std::wstring& folder) const
{
    return turns.Marked() && promptFolder && SameFolder(*promptFolder, folder);
}

std::wstring ConsoleSession::InterpreterFolder()
{
    if (turns.Marked() && promptFolder)
        return *promptFolder;
    return FolderOrFallback(false);
}

// A line the interpreter reads at the prompt it waits at comes back as its echo, where it echoes.
bool ConsoleSession::WriteLine(const std::wstring& line, bool atPrompt)
{
    if (atPrompt && echo == Echo::Echoes)
        echoes.ExpectAtPrompt(line);
    outputSinceWrite = false;
    const bool written = console.WriteLine((line + L"\r\n").c_str()) != FALSE;
    if (written && ReplacesThePrompt(line))
        StopFollowingMarks();
    return written;
}

// A line held for its turn is converted only now; a code page changed meanwhile may lack its
// characters, and then it is not sent (the interpreter is asked for a fresh prompt in its place).
void ConsoleSession::SendHeldLines()
{
    const std::optional<LineTurns::TurnCome> turn = turns.NextHeld();
    if (!turn)
        return;
    const UINT codePage = console.CodePageForNextLine();
    if (console::CarriesExactly(turn->line, codePage)) {
        WriteLine(turn->line, turn->atPrompt);
        return;
    }
    SayAboveInput(LineRefusal(turn->line, codePage));
    if (turn->atPrompt)
        console.WriteLine(L"\r\n");
    else
        turns.InterpreterAsks();
}

// At work, the interpreter asks for a line the way a question looks: its output stops without a
// line end, after the line before was written. "set /p" and "pause" in a batch file do so.
void ConsoleSession::CheckInterpreterAsks()
{
    const bool asks = !outputSinceCheck && !outputEndsLine && outputSinceWrite;
    outputSinceCheck = false;
    if (!asks || console.IsBusy())
        return;
    turns.InterpreterAsks();
    outputSinceWrite = false;
    SendHeldLines();
}

// The user replaced the marked prompt (or turned echo off): the console follows typed "cd" lines
// again, and lines held for a turn go at once.
void ConsoleSession::StopFollowingMarks()
{
    if (echo == Echo::Checking)
        AbandonEchoCheck();
    for (const std::wstring& line : turns.MarksStopped())
        console.WriteLine((line + L"\r\n").c_str());
}

}  // namespace session
