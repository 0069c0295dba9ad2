#include "session/ChangeDirectoryCommand.h"

#include <gtest/gtest.h>

namespace {

using session::ChangeDirectoryCommand;

TEST(ChangeDirectoryCommand, AlwaysSwitchesTheDriveWithTheFolder)
{
    EXPECT_EQ(L"cd /d \"C:\\Temp\"\r\n", ChangeDirectoryCommand(L"C:\\Temp"));
    EXPECT_EQ(L"cd /d \"D:\\\"\r\n", ChangeDirectoryCommand(L"D:\\"));
}

TEST(ChangeDirectoryCommand, PathsAreQuotedSoNoFolderNameRunsAsACommand)
{
    EXPECT_EQ(L"cd /d \"C:\\Program Files\"\r\n", ChangeDirectoryCommand(L"C:\\Program Files"));
    EXPECT_EQ(L"cd /d \"C:\\x & del *.txt\"\r\n", ChangeDirectoryCommand(L"C:\\x & del *.txt"));
    EXPECT_EQ(L"cd /d \"\\\\server\\share\"\r\n", ChangeDirectoryCommand(L"\\\\server\\share"));
    EXPECT_EQ(-1, session::DriveOf(L"\\\\server\\share"));
    EXPECT_EQ(25, session::DriveOf(L"z:\\tmp"));
}

}  // namespace
