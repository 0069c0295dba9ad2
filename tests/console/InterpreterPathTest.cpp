#include "console/InterpreterPath.h"

#include "shared/ScratchFolder.h"
#include "support/SystemFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using console::ChooseInterpreterPath;
using Chosen = std::optional<std::wstring>;

TEST(InterpreterPath, TheSystemFolderComesFirst)
{
    const std::wstring system = support::SystemFolder();
    ASSERT_FALSE(system.empty());
    const std::wstring systemInterpreter = system + L"\\cmd.exe";
    EXPECT_EQ(Chosen(systemInterpreter), console::InterpreterPath());
    EXPECT_EQ(Chosen(systemInterpreter), ChooseInterpreterPath(system, L""));

    const testsupport::ScratchFolder elsewhere;
    ASSERT_TRUE(elsewhere.Exists());
    const std::wstring otherInterpreter = elsewhere.File(L"cmd.exe");
    EXPECT_EQ(Chosen(systemInterpreter), ChooseInterpreterPath(system, otherInterpreter))
        << "ComSpec matters only where the system folder has no interpreter";
}

// A scratch folder stands in for a system folder without cmd.exe: ComSpec is used only when it
// names an existing cmd.exe by its full path.
TEST(InterpreterPath, ComSpecOnlyWhenItNamesAnExistingInterpreter)
{
    const testsupport::ScratchFolder windows;
    ASSERT_TRUE(windows.Exists());
    const std::wstring system = windows.Folder(L"System32");
    const testsupport::ScratchFolder elsewhere;
    ASSERT_TRUE(elsewhere.Exists());

    EXPECT_EQ(Chosen(), ChooseInterpreterPath(system, L""));
    EXPECT_EQ(Chosen(), ChooseInterpreterPath(system, elsewhere.Path() + L"\\missing\\cmd.exe"));
    EXPECT_EQ(Chosen(), ChooseInterpreterPath(system, elsewhere.File(L"tcc.exe")));
    EXPECT_EQ(Chosen(), ChooseInterpreterPath(system, elsewhere.File(L"cmd.exe.bak")));
    EXPECT_EQ(Chosen(), ChooseInterpreterPath(system, elsewhere.Folder(L"folder\\cmd.exe")));

    const std::wstring interpreter = elsewhere.File(L"CMD.EXE");
    EXPECT_EQ(Chosen(interpreter), ChooseInterpreterPath(system, interpreter));
    EXPECT_EQ(Chosen(interpreter), ChooseInterpreterPath(L"", interpreter));

    // A relative ComSpec would be looked up in whatever folder is current.
    wchar_t current[MAX_PATH] = {};
    ASSERT_NE(0u, ::GetCurrentDirectoryW(MAX_PATH, current));
    ASSERT_TRUE(::SetCurrentDirectoryW(elsewhere.Path().c_str()));
    const Chosen relative = ChooseInterpreterPath(system, L"CMD.EXE");
    const Chosen driveRelative = ChooseInterpreterPath(system, elsewhere.Path().substr(0, 2) + L"CMD.EXE");
    ::SetCurrentDirectoryW(current);
    EXPECT_EQ(Chosen(), relative);
    EXPECT_EQ(Chosen(), driveRelative);
}

}  // namespace
