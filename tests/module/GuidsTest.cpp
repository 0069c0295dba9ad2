#include "module/Guids.h"

#include <gtest/gtest.h>

namespace {

void ExpectSame(const GUID& value, const wchar_t* text)
{
    wchar_t formatted[40] = {};
    ASSERT_EQ(39, ::StringFromGUID2(value, formatted, 40));
    EXPECT_STREQ(text, formatted);
}

TEST(Guids, BracedTextsNameTheSameIdentities)
{
    ExpectSame(CLSID_ConsoleCore, server::ConsoleCoreClassIdText);
    ExpectSame(LIBID_BrimblestoneLib, server::LibraryIdText);
    ExpectSame(IID_IConsoleCore, server::ConsoleCoreInterfaceIdText);
    ExpectSame(APPID_Brimblestone, server::AppIdText);
}

}  // namespace
