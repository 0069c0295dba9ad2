#include "session/InputRequestCommand.h"

#include <gtest/gtest.h>

namespace {

using session::RequestsALineOfInput;

TEST(InputRequestCommand, OnlyALineThatIsOneReadingCommandIsRecognised)
{
    EXPECT_TRUE(RequestsALineOfInput(L"pause"));
    EXPECT_TRUE(RequestsALineOfInput(L"  @PAUSE>nul"));
    EXPECT_TRUE(RequestsALineOfInput(L"set /p answer=Your name? "));
    EXPECT_TRUE(RequestsALineOfInput(L"SET/P x="));

    EXPECT_FALSE(RequestsALineOfInput(L"pauses"));
    EXPECT_FALSE(RequestsALineOfInput(L"echo pause"));
    EXPECT_FALSE(RequestsALineOfInput(L"set x=/p"));
    EXPECT_FALSE(RequestsALineOfInput(L"set /p")) << "refused by the interpreter: nothing is read";
    EXPECT_FALSE(RequestsALineOfInput(L"set /p x=<answer.txt")) << "reads the file";
    EXPECT_FALSE(RequestsALineOfInput(L"pause & echo done")) << "joined commands are not followed";
    EXPECT_FALSE(RequestsALineOfInput(L"echo y| pause"));
}

}  // namespace
