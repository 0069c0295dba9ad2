#include "console/PipeTextWriter.h"

#include "support/UniqueHandle.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A pipe of our own stands in for the interpreter's input, so the written bytes can be read back.
class PipeTextWriter : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(::CreatePipe(readEnd.Receive(), writeEnd.Receive(), nullptr, 0)); }

    std::string Available()
    {
        DWORD available = 0;
        ::PeekNamedPipe(readEnd.Get(), nullptr, 0, nullptr, &available, nullptr);
        std::string bytes(available, '\0');
        DWORD read = 0;
        if (available)
            ::ReadFile(readEnd.Get(), &bytes[0], available, &read, nullptr);
        return bytes;
    }

    support::UniqueHandle readEnd;
    support::UniqueHandle writeEnd;
};

TEST_F(PipeTextWriter, WritesTheLineWithoutATerminatingZero)
{
    EXPECT_TRUE(console::WriteTextToPipe(writeEnd.Get(), L"dir\r\n", 1252));
    EXPECT_EQ(std::string("dir\r\n"), Available());
}

TEST_F(PipeTextWriter, ConvertsToTheCodePageAndMarksUnmappableCharacters)
{
    EXPECT_TRUE(console::WriteTextToPipe(writeEnd.Get(), L"cd \x65e5\x672c\r\n", 932));
    EXPECT_EQ(std::string("cd \x93\xfa\x96\x7b\r\n"), Available());
    EXPECT_TRUE(console::WriteTextToPipe(writeEnd.Get(), L"\x65e5\r\n", 1252));
    EXPECT_EQ(std::string("?\r\n"), Available());
}

TEST_F(PipeTextWriter, EmptyOrMissingTextOrPipeWritesNothing)
{
    EXPECT_FALSE(console::WriteTextToPipe(writeEnd.Get(), L"", 1252));
    EXPECT_FALSE(console::WriteTextToPipe(writeEnd.Get(), nullptr, 1252));
    EXPECT_FALSE(console::WriteTextToPipe(nullptr, L"dir\r\n", 1252));
    EXPECT_EQ(std::string(), Available());
}

TEST_F(PipeTextWriter, FailsWhenNobodyReadsThePipeAnyMore)
{
    readEnd.Reset();
    EXPECT_FALSE(console::WriteTextToPipe(writeEnd.Get(), L"dir\r\n", 1252));
}

}  // namespace
