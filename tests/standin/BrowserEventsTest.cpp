#include "BrowserWindow.h"
#include "FileUrl.h"
#include "shared/ScratchFolder.h"
#include "TestBand.h"
#include "UniqueBstr.h"

#include <gtest/gtest.h>
#include <olectl.h>

#include <string>
#include <vector>

namespace {

using Microsoft::WRL::ComPtr;

VARIANT TextVariant(BSTR text)
{
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = text;
    return value;
}

HRESULT Navigate2(IWebBrowser2* browser, const std::wstring& target)
{
    standin::UniqueBstr text = standin::MakeBstr(target);
    VARIANT address = TextVariant(text.Get());
    VARIANT empty;
    ::VariantInit(&empty);
    return browser->Navigate2(&address, &empty, &empty, &empty, &empty);
}

std::wstring LocationOf(IWebBrowser2* browser)
{
    standin::UniqueBstr location;
    if (FAILED(browser->get_LocationURL(location.Receive())))
        return L"(failed)";
    return std::wstring(location.Get(), ::SysStringLen(location.Get()));
}

class BrowserEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window.Create(folder.Path()));
        ASSERT_EQ(S_OK, window.SiteBand(static_cast<IObjectWithSite*>(band.Get())));
        ASSERT_EQ(1u, window.EventSinkCount());
    }

    bool WaitForCompletions(size_t count)
    {
        return window.PumpUntil([&] { return band->CompletedUrls().size() >= count; });
    }

    testsupport::ScratchFolder folder;
    standin::BrowserWindow window;
    ComPtr<TestBand> band = TestBand::Create();
};

TEST_F(BrowserEvents, DocumentCompleteFollowsEachNavigationAfterTheCallHasReturned)
{
    const std::wstring sub = folder.Folder(L"Sub");
    ASSERT_EQ(S_OK, Navigate2(band->Browser(), L"file:///" + sub));
    EXPECT_TRUE(band->CompletedUrls().empty()) << "not during Navigate2";
    EXPECT_EQ(standin::FileUrlFromPath(sub), LocationOf(band->Browser())) << "the location changes at once";

    ASSERT_EQ(S_OK, Navigate2(band->Browser(), folder.Path()));
    ASSERT_TRUE(WaitForCompletions(2));
    const std::vector<std::wstring> expected = {standin::FileUrlFromPath(sub), standin::FileUrlFromPath(folder.Path())};
    EXPECT_EQ(expected, band->CompletedUrls());
    EXPECT_TRUE(band->WellFormedDocumentComplete()) << "the frame's IDispatch and the address by reference";
    EXPECT_EQ(2, window.DocumentCompleteCount());
}

TEST_F(BrowserEvents, NavigationAcceptsTheAddressFormsTheBandSends)
{
    const std::wstring spaced = folder.Folder(L"Program Files");
    folder.Folder(L"Program Files\\Common");
    // Escaped with forward slashes, unescaped with backslashes, other letter case, dots.
    const std::vector<std::wstring> targets = {
        standin::FileUrlFromPath(spaced),
        L"file:///" + spaced + L"\\Common\\..",
        L"FILE:///" + spaced,
        spaced + L"\\common",
    };
    for (const std::wstring& target : targets)
        EXPECT_EQ(S_OK, Navigate2(band->Browser(), target)) << target.c_str();
    EXPECT_EQ(spaced + L"\\Common", window.Folder()) << "spelt as the file system spells it";
    EXPECT_EQ(targets, window.NavigationRequests());
}

TEST_F(BrowserEvents, NavigationToNoFolderChangesNothingAndCompletesNothing)
{
    const std::wstring file = folder.File(L"file.txt");
    const std::wstring before = window.Location();
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), Navigate2(band->Browser(), L"file:///" + file));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), Navigate2(band->Browser(), folder.Path() + L"\\missing"));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), Navigate2(band->Browser(), L"http://example.com/"));
    VARIANT number;
    ::VariantInit(&number);
    number.vt = VT_I4;
    EXPECT_EQ(E_INVALIDARG, band->Browser()->Navigate2(&number, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(before, window.Location());

    ASSERT_EQ(S_OK, Navigate2(band->Browser(), folder.Path()));
    ASSERT_TRUE(WaitForCompletions(1));
    window.PumpPending();
    EXPECT_EQ(1u, band->CompletedUrls().size());
}

TEST_F(BrowserEvents, EachConnectionHasItsOwnCookie)
{
    const ComPtr<TestBand> listener = TestBand::Create();
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, listener->ListenTo(window.Browser(), &cookie));
    EXPECT_EQ(2u, window.EventSinkCount());

    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(S_OK, window.Browser()->QueryInterface(IID_PPV_ARGS(&container)));
    ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point));
    EXPECT_EQ(S_OK, point->Unadvise(cookie));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(cookie));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(IID_IDispatch, &point));

    window.NavigateTo(folder.Folder(L"a"));
    ASSERT_TRUE(WaitForCompletions(1));
    EXPECT_TRUE(listener->CompletedUrls().empty());
}

TEST_F(BrowserEvents, QuitFiresOnQuitThenClosesTheBandAndTheWindow)
{
    ASSERT_EQ(S_OK, band->Browser()->Quit());
    EXPECT_EQ(1, window.QuitCount());
    EXPECT_TRUE(window.IsOpen()) << "the window closes after the caller has returned";
    ASSERT_TRUE(window.PumpUntil([&] { return !window.IsOpen(); }));

    const std::vector<std::string> tail = {"OnQuit", "ShowDW(FALSE)", "CloseDW", "SetSite(null)"};
    ASSERT_GE(band->Calls().size(), tail.size());
    EXPECT_EQ(tail, std::vector<std::string>(band->Calls().end() - 4, band->Calls().end()));
    EXPECT_EQ(0u, window.EventSinkCount());

    SHANDLE_PTR handle = 0;
    EXPECT_EQ(E_FAIL, band->Browser()->get_HWND(&handle)) << "a browser without its window";
    EXPECT_EQ(E_FAIL, Navigate2(band->Browser(), folder.Path()));
}

TEST_F(BrowserEvents, ClosingTheWindowAlsoFiresOnQuit)
{
    ::SendMessageW(window.Window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(window.IsOpen());
    EXPECT_EQ(1, band->QuitEvents());
    EXPECT_EQ(0, window.QuitCount());
}

TEST_F(BrowserEvents, AWindowDestroyedFromOutsideStillLetsTheBandGo)
{
    ::DestroyWindow(window.Window());
    EXPECT_FALSE(window.IsOpen());
    EXPECT_EQ(1, band->QuitEvents());
    EXPECT_EQ("SetSite(null)", band->Calls().back());
    EXPECT_EQ(0u, window.EventSinkCount());
}

TEST_F(BrowserEvents, WebPagesAndVirtualFoldersCompleteWithTheirOwnAddress)
{
    window.ShowWebPage(L"http://example.com/");
    EXPECT_EQ(nullptr, ::FindWindowExW(window.Window(), nullptr, L"SHELLDLL_DefView", nullptr));
    window.ShowVirtualFolder(L"");
    ASSERT_TRUE(WaitForCompletions(2));
    EXPECT_EQ(L"http://example.com/", band->CompletedUrls()[0]);
    EXPECT_EQ(L"", band->CompletedUrls()[1]);
    EXPECT_EQ(L"", window.Folder());
    EXPECT_NE(nullptr, window.ListView());

    ASSERT_EQ(S_OK, Navigate2(band->Browser(), folder.Path()));
    EXPECT_EQ(folder.Path(), window.Folder());
}

TEST_F(BrowserEvents, RefreshCompletesNothing)
{
    EXPECT_EQ(S_OK, band->Browser()->Refresh());
    window.PumpPending();
    EXPECT_EQ(1, window.RefreshCount());
    EXPECT_TRUE(band->CompletedUrls().empty());
}

}  // namespace
