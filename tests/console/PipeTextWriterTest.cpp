#include "console/PipeTextWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Converted(const wchar_t* text, UINT codePage)
{
    std::string bytes = "stale";
    EXPECT_TRUE(console::ConvertTextForPipe(text, codePage, bytes));
    return bytes;
}

TEST(PipeTextWriter, ConvertsTheLineWithoutATerminatingZero)
{
    EXPECT_EQ(std::string("dir\r\n"), Converted(L"dir\r\n", 1252));
}

TEST(PipeTextWriter, ConvertsToTheCodePageAndMarksUnmappableCharacters)
{
    EXPECT_EQ(std::string("cd \x93\xfa\x96\x7b\r\n"), Converted(L"cd \x65e5\x672c\r\n", 932));
    EXPECT_EQ(std::string("?\r\n"), Converted(L"\x65e5\r\n", 1252));
}

TEST(PipeTextWriter, EmptyOrMissingTextIsRefused)
{
    std::string bytes;
    EXPECT_FALSE(console::ConvertTextForPipe(L"", 1252, bytes));
    EXPECT_FALSE(console::ConvertTextForPipe(nullptr, 1252, bytes));
}

}  // namespace
