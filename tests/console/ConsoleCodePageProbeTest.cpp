#include "console/ConsoleCodePageProbe.h"

#include <gtest/gtest.h>

namespace {

// Asking the console costs a process start, so the lines of the interpreter's own commands that
// leave the code page alone skip it, however they are written; anything else may change it.
TEST(ConsoleCodePageProbe, OnlyLinesThatMayChangeTheCodePageAskAgain)
{
    for (const wchar_t* line : {L"dir", L"DIR /b", L"  cd..", L"cd\\", L"@echo.hello", L"echo(", L"type a.txt",
                                L"del \"x y\"", L"md marker", L""}) {
        EXPECT_FALSE(console::MayChangeCodePage(line)) << line;
    }
    for (const wchar_t* line : {L"chcp 65001", L"CHCP", L"mode con cp select=850", L"build.cmd", L"call x.bat",
                                L"python -c pass", L"dir & chcp 65001", L"echo x | more", L"directory"}) {
        EXPECT_TRUE(console::MayChangeCodePage(line)) << line;
    }
}

}  // namespace
