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

TEST_F(PipeTextWriter, ConvertsToTheCodePage)
{
    EXPECT_TRUE(console::WriteTextToPipe(writeEnd.Get(), L"cd \x65e5\x672c\r\n", 932));
    EXPECT_EQ(std::string("cd \x93\xfa\x96\x7b\r\n"), Available());
    EXPECT_TRUE(console::WriteTextToPipe(writeEnd.Get(), L"cd Caf\xe9\r\n", 437));
    EXPECT_EQ(std::string("cd Caf\x82\r\n"), Available());
    EXPECT_TRUE(console::WriteTextToPipe(writeEnd.Get(), L"cd \x65e5\xd83d\xde00\r\n", CP_UTF8));
    EXPECT_EQ(std::string("cd \xe6\x97\xa5\xf0\x9f\x98\x80\r\n"), Available());
}

// Best fit would turn look-alikes into the characters the interpreter acts on, and a missing
// character into "?", a wildcard: a line that cannot be carried exactly is not sent at all.
TEST_F(PipeTextWriter, RefusesALineTheCodePageCannotCarryExactly)
{
    const wchar_t* const lines[] = {
        L"cd \"x\xff02\xff06mkdir pwned\xff06\xff02\"\r\n",  // full-width quotation mark, ampersand
        L"echo \xff05windir\xff05 \xff1e out.txt\r\n",       // full-width percent sign, greater-than
        L"del \x65e5\x672c.txt\r\n",                        // no mapping at all
    };
    for (const UINT codePage : {437u, 850u, 1252u}) {
        for (const wchar_t* line : lines) {
            ::SetLastError(0);
            EXPECT_FALSE(console::WriteTextToPipe(writeEnd.Get(), line, codePage)) << codePage;
            EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), ::GetLastError());
            EXPECT_EQ(std::string(), Available()) << codePage;
        }
    }
    EXPECT_FALSE(console::WriteTextToPipe(writeEnd.Get(), L"cd Caf\xe9\r\n", 932));
    EXPECT_FALSE(console::WriteTextToPipe(writeEnd.Get(), L"echo \xd800\r\n", CP_UTF8)) << "a lone surrogate";
    EXPECT_EQ(std::string(), Available());
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
