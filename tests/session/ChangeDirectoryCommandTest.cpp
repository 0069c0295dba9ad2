#include "session/ChangeDirectoryCommand.h"

#include <gtest/gtest.h>

namespace {

using session::ChangeDirectoryCommand;

TEST(ChangeDirectoryCommand, AlwaysSwitchesTheDriveWithTheFolder)
{
    EXPECT_EQ(L"cd /d \"C:\\Temp\"", ChangeDirectoryCommand(L"C:\\Temp"));
    EXPECT_EQ(L"cd /d \"D:\\\"", ChangeDirectoryCommand(L"D:\\"));
}

TEST(ChangeDirectoryCommand, PathsAreQuotedSoNoFolderNameRunsAsACommand)
{
    EXPECT_EQ(L"cd /d \"C:\\Program Files\"", ChangeDirectoryCommand(L"C:\\Program Files"));
    EXPECT_EQ(L"cd /d \"C:\\x & del *.txt\"", ChangeDirectoryCommand(L"C:\\x & del *.txt"));
    EXPECT_EQ(L"cd /d \"\\\\server\\share\"", ChangeDirectoryCommand(L"\\\\server\\share"));
    EXPECT_EQ(-1, session::DriveOf(L"\\\\server\\share"));
    EXPECT_EQ(25, session::DriveOf(L"z:\\tmp"));
}

}  // namespace
