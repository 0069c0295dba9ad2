#include "band/ChangeDirectoryCommand.h"

#include <gtest/gtest.h>

namespace {

using band::ChangeDirectoryCommand;

TEST(ChangeDirectoryCommand, SwitchesDrivesOnlyWhenTheDriveChanges)
{
    const int driveC = 2;
    const int driveD = 3;
    EXPECT_EQ(L"cd \"C:\\Temp\"\r\n", ChangeDirectoryCommand(L"C:\\Temp", driveC));
    EXPECT_EQ(L"cd /d \"D:\\Data\"\r\n", ChangeDirectoryCommand(L"D:\\Data", driveC));
    EXPECT_EQ(L"cd \"D:\\\"\r\n", ChangeDirectoryCommand(L"D:\\", driveD));
    EXPECT_EQ(L"cd /d \"C:\\\"\r\n", ChangeDirectoryCommand(L"C:\\", -1));
}

TEST(ChangeDirectoryCommand, PathsAreQuotedSoNoFolderNameRunsAsACommand)
{
    EXPECT_EQ(L"cd \"C:\\Program Files\"\r\n", ChangeDirectoryCommand(L"C:\\Program Files", 2));
    EXPECT_EQ(L"cd \"C:\\x & del *.txt\"\r\n", ChangeDirectoryCommand(L"C:\\x & del *.txt", 2));
    EXPECT_EQ(L"cd \"\\\\server\\share\"\r\n", ChangeDirectoryCommand(L"\\\\server\\share", 2));
    EXPECT_EQ(-1, band::DriveOf(L"\\\\server\\share"));
    EXPECT_EQ(25, band::DriveOf(L"z:\\tmp"));
}

}  // namespace
