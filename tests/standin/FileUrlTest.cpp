#include "BrowserWindow.h"
#include "FileUrl.h"
#include "shared/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(FileUrl, WritesFoldersAsTheBrowserReportsThem)
{
    EXPECT_EQ(L"file:///C:/Program%20Files/Common%20Files", standin::FileUrlFromPath(L"C:\\Program Files\\Common Files"));
    EXPECT_EQ(L"file:///D:/", standin::FileUrlFromPath(L"D:\\"));
    EXPECT_EQ(L"file:///C:/100%25/a%23b/x%5Ey%7Bz%7D%60", standin::FileUrlFromPath(L"C:\\100%\\a#b\\x^y{z}`"));
    EXPECT_EQ(L"file:///C:/a-b_c.d~e!f$g&h'i(j)k+l,m;n=o@p[q]", standin::FileUrlFromPath(L"C:\\a-b_c.d~e!f$g&h'i(j)k+l,m;n=o@p[q]"));
    EXPECT_EQ(L"file:///C:/caf%C3%A9/%E6%BC%A2", standin::FileUrlFromPath(L"C:\\caf\u00E9\\\u6F22"));
}

TEST(FileUrl, DecodesEscapesThatFormText)
{
    EXPECT_EQ(L"C:\\caf\u00E9 100%", standin::PercentDecoded(L"C:\\caf%C3%A9%20100%25"));
    EXPECT_EQ(L"50%off %zz %", standin::PercentDecoded(L"50%off %zz %"));
    EXPECT_FALSE(standin::PercentDecoded(L"caf%E9").has_value()) << "not UTF-8";
}

TEST(FileUrl, TakesThePathOutOfFileAddressesOnly)
{
    EXPECT_EQ(L"C:\\x y", standin::PathPartOfFileUrl(L"file:///C:/x y"));
    EXPECT_EQ(L"C:\\x\\..", standin::PathPartOfFileUrl(L"File:///C:\\x\\.."));
    EXPECT_EQ(L"\\\\server\\share", standin::PathPartOfFileUrl(L"file://server/share"));
    EXPECT_FALSE(standin::PathPartOfFileUrl(L"http://example.com/").has_value());
    EXPECT_FALSE(standin::PathPartOfFileUrl(L"C:\\file").has_value());
}

TEST(FileUrl, FoldersWithAwkwardNamesRoundTripThroughTheLocation)
{
    testsupport::ScratchFolder folder;
    standin::BrowserWindow window;
    ASSERT_TRUE(window.Create(folder.Path()));
    for (const wchar_t* name : {L"a b", L"50%", L"c#d", L"%20", L"\u00E9t\u00E9 \u6F22"}) {
        const std::wstring path = folder.Folder(name);
        ASSERT_EQ(S_OK, window.NavigateTo(path));
        const std::wstring location = window.Location();
        EXPECT_EQ(standin::FileUrlFromPath(path), location);
        ASSERT_EQ(S_OK, window.NavigateTo(folder.Path()));
        ASSERT_EQ(S_OK, window.NavigateTo(location)) << location.c_str();
        EXPECT_EQ(path, window.Folder());
    }
}

}  // namespace
