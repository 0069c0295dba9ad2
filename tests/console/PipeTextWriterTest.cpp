#include "console/PipeTextWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Converted(const wchar_t* text, UINT codePage)
{
    std::string bytes = "stale";
    EXPECT_TRUE(console::ConvertTextForPipe(text, codePage, bytes)) << codePage;
    return bytes;
}

TEST(PipeTextWriter, ConvertsToTheCodePageWithoutATerminatingZero)
{
    EXPECT_EQ(std::string("dir\r\n"), Converted(L"dir\r\n", 1252));
    EXPECT_EQ(std::string("cd \x93\xfa\x96\x7b\r\n"), Converted(L"cd \x65e5\x672c\r\n", 932));
    EXPECT_EQ(std::string("cd Caf\x82\r\n"), Converted(L"cd Caf\xe9\r\n", 437));
    EXPECT_EQ(std::string("cd \xe6\x97\xa5\xf0\x9f\x98\x80\r\n"), Converted(L"cd \x65e5\xd83d\xde00\r\n", CP_UTF8));
}

// Best fit would turn look-alikes into the characters the interpreter acts on, and a missing
// character into "?", a wildcard: a line that cannot be carried exactly is not sent at all.
TEST(PipeTextWriter, RefusesALineTheCodePageCannotCarryExactly)
{
    const wchar_t* const lines[] = {
        L"cd \"x\xff02\xff06mkdir pwned\xff06\xff02\"\r\n",  // full-width quotation mark, ampersand
        L"echo \xff05windir\xff05 \xff1e out.txt\r\n",       // full-width percent sign, greater-than
        L"del \x65e5\x672c.txt\r\n",                        // no mapping at all
    };
    std::string bytes;
    for (const UINT codePage : {437u, 850u, 1252u}) {
        for (const wchar_t* line : lines) {
            ::SetLastError(0);
            EXPECT_FALSE(console::ConvertTextForPipe(line, codePage, bytes)) << codePage;
            EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), ::GetLastError());
        }
    }
    EXPECT_FALSE(console::ConvertTextForPipe(L"cd Caf\xe9\r\n", 932, bytes));
    EXPECT_FALSE(console::ConvertTextForPipe(L"echo \xd800\r\n", CP_UTF8, bytes)) << "a lone surrogate";
}

TEST(PipeTextWriter, EmptyOrMissingTextIsRefused)
{
    std::string bytes;
    EXPECT_FALSE(console::ConvertTextForPipe(L"", 1252, bytes));
    EXPECT_FALSE(console::ConvertTextForPipe(nullptr, 1252, bytes));
}

}  // namespace
