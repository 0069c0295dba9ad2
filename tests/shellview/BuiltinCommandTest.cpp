#include "shellview/BuiltinCommand.h"

#include "TestFolderView.h"

#include <gtest/gtest.h>

using namespace shellview;
using namespace testing_shellview;

namespace {

using Kind = BuiltinCommandKind;

struct CommandCase {
    std::wstring line;
    Kind kind;
    std::wstring folder;
    std::wstring patterns;
};

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

void ExpectCommands(const std::vector<CommandCase>& cases, const std::wstring& currentFolder)
{
    for (const CommandCase& c : cases) {
        const BuiltinCommand command = ParseBuiltinCommand(c.line, currentFolder);
        SCOPED_TRACE(Narrow(c.line));
        EXPECT_EQ(c.kind, command.kind);
        EXPECT_EQ(c.folder, command.folder);
        EXPECT_EQ(c.patterns, command.patterns);
        EXPECT_EQ(c.kind == Kind::None || c.kind == Kind::ChangeFolder, IsSentToInterpreter(command));
    }
}

TEST(BuiltinCommand, RecognisesTheViewCommandsAndLeavesOtherLinesToTheInterpreter)
{
    ExpectCommands(
        {
            {L"rel", Kind::Refresh, L"", L""},
            {L"  REL \t", Kind::Refresh, L"", L""},
            {L"rel x", Kind::None, L"", L""},
            {L"reload", Kind::None, L"", L""},
            {L"sel *.txt", Kind::Select, L"", L"*.txt"},
            {L"SEL *.TXT  *.Doc ", Kind::Select, L"", L"*.TXT  *.Doc"},
            {L"sel", Kind::None, L"", L""},
            {L"sel   ", Kind::None, L"", L""},
            {L"selection", Kind::None, L"", L""},
            {L"filt *.doc *.xls", Kind::Filter, L"", L"*.doc *.xls"},
            {L"Filt  *", Kind::Filter, L"", L" *"},
            {L"filt", Kind::None, L"", L""},
            {L"cd", Kind::None, L"", L""},
            {L"cd    ", Kind::None, L"", L""},
            {L"cd..", Kind::None, L"", L""},
            {L"echo cd x", Kind::None, L"", L""},
            {L"", Kind::None, L"", L""},
        },
        L"C:\\");
}

TEST(BuiltinCommand, ChangeFolderShowsExistingFoldersOnlyAsTyped)
{
    const TempFolder temp;
    const std::wstring base = temp.Path();
    temp.Folder(L"Sub\\Docs");
    temp.Folder(L"My Docs");
    temp.File(L"Sub\\notes.txt");
    const std::wstring current = base + L"\\Sub\\";

    ExpectCommands(
        {
            {L"cd ..", Kind::ChangeFolder, current + L"..", L""},
            {L"CD Docs", Kind::ChangeFolder, current + L"Docs", L""},
            {L"cd DOCS", Kind::ChangeFolder, current + L"DOCS", L""},
            {L"cd   Docs", Kind::ChangeFolder, current + L"Docs", L""},
            {L"cd \"..\\My Docs\"", Kind::ChangeFolder, current + L"..\\My Docs", L""},
            {L"cd NoSuchDir", Kind::ChangeFolder, L"", L""},
            {L"cd notes.txt", Kind::ChangeFolder, L"", L""},
            {L"cd " + base + L"\\My Docs", Kind::ChangeFolder, base + L"\\My Docs", L""},
            {L"cd /d " + base + L"\\My Docs", Kind::ChangeFolder, base + L"\\My Docs", L""},
            {L"CD /D \"" + base + L"\\My Docs\"", Kind::ChangeFolder, base + L"\\My Docs", L""},
            {L"cd /d", Kind::ChangeFolder, L"", L""},
            {L"cd /d \"  \"", Kind::ChangeFolder, L"", L""},
            {L"cd \"\"", Kind::ChangeFolder, L"", L""},
        },
        current);

    // Only the switch itself tells that the interpreter changes drives on its own.
    EXPECT_TRUE(ParseBuiltinCommand(L"CD /D \"" + base + L"\\My Docs\"", current).switchesDrive);
    EXPECT_FALSE(ParseBuiltinCommand(L"cd " + base + L"\\My Docs", current).switchesDrive);
    EXPECT_FALSE(ParseBuiltinCommand(L"cd /data", current).switchesDrive);

    // Without its trailing backslash the current folder is taken the same way.
    EXPECT_EQ(current + L"Docs", ParseBuiltinCommand(L"cd Docs", base + L"\\Sub").folder);
}

TEST(BuiltinCommand, RootRelativePathStaysOnTheDriveOfTheCurrentFolder)
{
    // The host process's own current directory is on another drive, where no "\windows" exists.
    wchar_t saved[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(::SetCurrentDirectoryW(L"Z:\\"));
    ExpectCommands({{L"cd \\windows", Kind::ChangeFolder, L"C:\\windows", L""}},
                   L"C:\\users\\");
    ::SetCurrentDirectoryW(saved);
}

TEST(BuiltinCommand, FolderAddressKeepsThePathAsItIs)
{
    EXPECT_EQ(L"file:///D:\\Work\\Sub\\..", FolderAddress(L"D:\\Work\\Sub\\.."));
}

}  // namespace
