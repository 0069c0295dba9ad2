#include "session/ConsoleSession.h"

#include "session/PromptCommand.h"

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

// The interpreter has finished what it read and waits, in `folder` (empty: unknown), unless a line
// typed ahead is already in its input: the browser follows it.
void ConsoleSession::OnMarkedPrompt(const std::wstring& folder)
{
    const bool moved = !folder.empty() && promptFolder && !SameFolder(*promptFolder, folder);
    if (folder.empty())
        promptFolder.reset();
    else
        promptFolder = folder;
    marksFollowed = true;
    promptWaits = true;
    if (echo == Echo::Checking)
        FinishEchoCheck();
    if (echo == Echo::Echoes)
        echoes.PromptMarked();
    if (echo == Echo::Unknown && AtMarkedPrompt()) {
        StartEchoCheck();
        return;
    }
    FollowInterpreter(folder, moved);
}

void ConsoleSession::StartEchoCheck()
{
    echo = Echo::Checking;
    echoCheckOutput.clear();
    if (!WriteLine(EchoCheckLine))
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
        if (AtMarkedPrompt())
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

bool ConsoleSession::AtMarkedPrompt()
{
    return marksFollowed && promptWaits && !console.InputWaiting();
}

bool ConsoleSession::IsInterpreterFolder(const std::wstring& folder) const
{
    return marksFollowed && promptFolder && SameFolder(*promptFolder, folder);
}

std::wstring ConsoleSession::InterpreterFolder()
{
    if (marksFollowed && promptFolder)
        return *promptFolder;
    return FolderOrFallback(false);
}

// Whoever reads next gets the line: the interpreter at its prompt (which echoes it, where it
// echoes), a batch file's "set /p" or a program. A line that replaces the marked prompt ends the
// following by marks.
bool ConsoleSession::WriteLine(const std::wstring& line)
{
    if (echo == Echo::Echoes)
        echoes.Expect(line);
    promptWaits = false;
    const bool written = console.WriteLine((line + L"\r\n").c_str()) != FALSE;
    if (written && ReplacesThePrompt(line))
        StopFollowingMarks();
    return written;
}

// The user replaced the marked prompt (or turned echo off): the console follows typed "cd" lines
// again, until a marked prompt comes back.
void ConsoleSession::StopFollowingMarks()
{
    marksFollowed = false;
    echoes.PromptsUnmarked();
    if (echo == Echo::Checking)
        AbandonEchoCheck();
}

}  // namespace session
