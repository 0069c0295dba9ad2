#include "ConsoleBand.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using bandview::ConsoleBand;
using bandview::Occurrences;
using bandview::PromptOf;
using bandview::ScratchFolder;

// A "cd" typed in the console moves the browser where the interpreter went.
class ConsoleCd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(start.Exists());
        ASSERT_TRUE(otherDrive.Exists());
        ASSERT_EQ(L'C', start.Path()[0]);
        ASSERT_EQ(L'Z', otherDrive.Path()[0]);
        target = otherDrive.Folder(L"Target Folder");
        ASSERT_TRUE(console.Open(start.Path()));
        position = console.OutputEnd();
    }

    bool NavigationCompleted() { return console.WaitFor([&] { return console.Browser().DocumentCompleteCount() == 1; }); }

    // Runs a command through the interpreter: whatever it was still doing is then done.
    bool RoundTrip(const std::wstring& folder)
    {
        const size_t before = console.OutputEnd();
        console.Submit(L"echo round trip");
        return console.WaitForPrompts(folder, before, 1) &&
               console.Text().find(L"round trip\r\n", before) != std::wstring::npos;
    }

    ScratchFolder start;
    ScratchFolder otherDrive{L"Z:\\tmp"};
    std::wstring target;
    ConsoleBand console;
    size_t position = 0;
};

// Without the drive switch the interpreter stays on its drive, as in any console; the browser stays
// with it, and the drive letter alone then takes both there.
TEST_F(ConsoleCd, ToAnotherDriveMovesWhenTheInterpreterDoes)
{
    console.Submit(L"cd \"" + target + L"\"");
    ASSERT_TRUE(console.WaitForPrompts(start.Path(), position, 1));
    console.Submit(L"Z:");
    ASSERT_TRUE(NavigationCompleted());
    EXPECT_EQ(target, console.Browser().Folder());
    ASSERT_TRUE(console.WaitForPrompt(target)) << "the interpreter went to the other drive";
    EXPECT_EQ(1u, console.Browser().NavigationRequests().size());
}

TEST_F(ConsoleCd, WithTheDriveSwitchSendsNothingMore)
{
    console.Submit(L"cd /d \"" + target + L"\"");
    ASSERT_TRUE(NavigationCompleted());
    EXPECT_EQ(target, console.Browser().Folder());
    ASSERT_TRUE(console.WaitForPrompt(target));
    ASSERT_TRUE(RoundTrip(target));
    EXPECT_EQ(2, Occurrences(console.Text(), PromptOf(target), position));
}

TEST_F(ConsoleCd, OnTheSameDriveSendsNothingMore)
{
    const std::wstring sub = start.Folder(L"Sub");
    console.Submit(L"cd Sub");
    ASSERT_TRUE(NavigationCompleted());
    EXPECT_EQ(sub, console.Browser().Folder());
    ASSERT_TRUE(console.WaitForPrompt(sub));
    ASSERT_TRUE(RoundTrip(sub));
    EXPECT_EQ(2, Occurrences(console.Text(), PromptOf(sub), position));
}

}  // namespace

namespace {

// The band moves the interpreter to every folder the browser shows; a folder's name is data, and
// no part of it may run as a command of its own.
TEST(BrowserFollowing, AFolderNameNeverRunsAsACommand)
{
    ScratchFolder scratch;
    ASSERT_TRUE(scratch.Exists());
    const std::wstring trap = scratch.Folder(L"x & echo injected-by-name");
    ConsoleBand console;
    ASSERT_TRUE(console.Open(scratch.Path()));

    ASSERT_TRUE(SUCCEEDED(console.Browser().NavigateTo(trap)));
    ASSERT_TRUE(console.WaitForPrompt(trap));
    EXPECT_EQ(std::wstring::npos, console.Text().find(L"injected-by-name\r\n")) << console.Text();
}

}  // namespace
