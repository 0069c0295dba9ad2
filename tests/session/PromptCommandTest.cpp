#include "session/PromptCommand.h"

#include <gtest/gtest.h>

namespace {

TEST(PromptCommand, LinesThatReplaceOrHideThePromptAreRecognised)
{
    for (const wchar_t* line : {L"prompt $P$G", L"PROMPT", L"@prompt $g", L"set prompt=x", L"SET \"PROMPT=$G\"",
                                L"echo off", L"@ECHO OFF", L"cd .. & prompt $N$G", L"(echo off)"})
        EXPECT_TRUE(session::ReplacesThePrompt(line)) << line;
    for (const wchar_t* line : {L"echo prompt", L"prompts", L"set promptly=1", L"set prompt", L"echo offline",
                                L"echo on", L"dir prompt", L"rem prompt $g"})
        EXPECT_FALSE(session::ReplacesThePrompt(line)) << line;
}

}  // namespace
