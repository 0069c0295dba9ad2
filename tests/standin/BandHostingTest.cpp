#include "BrowserWindow.h"
#include "FileListDataObject.h"
#include "shared/ScratchFolder.h"
#include "TestBand.h"

#include <gtest/gtest.h>
#include <shlguid.h>

#include <string>
#include <vector>

namespace {

using Microsoft::WRL::ComPtr;

ComPtr<IUnknown> Identity(IUnknown* object)
{
    ComPtr<IUnknown> identity;
    if (object)
        object->QueryInterface(IID_PPV_ARGS(&identity));
    return identity;
}

class BandHosting : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window.Create(folder.Path()));
        ASSERT_EQ(S_OK, window.SiteBand(static_cast<IObjectWithSite*>(band.Get())));
    }

    testsupport::ScratchFolder folder;
    standin::BrowserWindow window;
    ComPtr<TestBand> band = TestBand::Create();
};

TEST_F(BandHosting, SitesTheBandThenSizesAndShowsItsWindowInTheStrip)
{
    const std::vector<std::string> expected = {"SetSite", "GetBandInfo", "GetWindow", "ShowDW(TRUE)"};
    EXPECT_EQ(expected, band->Calls());
    ASSERT_NE(nullptr, window.BandWindow());
    EXPECT_EQ(window.BandParent(), ::GetParent(window.BandWindow()));
    EXPECT_TRUE(::IsWindowVisible(window.BandWindow()));

    RECT bandArea = {};
    RECT stripArea = {};
    ::GetClientRect(window.BandWindow(), &bandArea);
    ::GetClientRect(window.BandParent(), &stripArea);
    EXPECT_EQ(44, bandArea.bottom) << "the band's actual height, not its minimum";
    EXPECT_EQ(stripArea.right, bandArea.right);
    EXPECT_EQ(Identity(static_cast<IObjectWithSite*>(band.Get())), Identity(window.Band()));
}

TEST_F(BandHosting, SiteOffersItsWindowTheBrowserAndFocusReports)
{
    ComPtr<IOleWindow> siteWindow;
    ASSERT_EQ(S_OK, band->Site()->QueryInterface(IID_PPV_ARGS(&siteWindow)));
    HWND parent = nullptr;
    EXPECT_EQ(S_OK, siteWindow->GetWindow(&parent));
    EXPECT_EQ(window.BandParent(), parent);

    ComPtr<IServiceProvider> services;
    ASSERT_EQ(S_OK, band->Site()->QueryInterface(IID_PPV_ARGS(&services)));
    for (const GUID& service : {SID_SWebBrowserApp, IID_IWebBrowserApp, IID_IWebBrowser2}) {
        ComPtr<IWebBrowser2> browser;
        EXPECT_EQ(S_OK, services->QueryService(service, IID_PPV_ARGS(&browser)));
        EXPECT_EQ(Identity(window.Browser()), Identity(browser.Get()));
    }
    for (const GUID& service : {SID_STopLevelBrowser, SID_SShellBrowser}) {
        ComPtr<IShellBrowser> shellBrowser;
        EXPECT_EQ(S_OK, services->QueryService(service, IID_PPV_ARGS(&shellBrowser)));
        EXPECT_EQ(Identity(window.ShellBrowserObject()), Identity(shellBrowser.Get()));
    }
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(E_NOINTERFACE, services->QueryService(IID_IDropTarget, IID_PPV_ARGS(&unknown)));
    EXPECT_EQ(nullptr, unknown.Get());

    ComPtr<IInputObjectSite> inputSite;
    EXPECT_EQ(S_OK, band->Site()->QueryInterface(IID_PPV_ARGS(&inputSite)));
}

TEST_F(BandHosting, BrowserReportsItsWindowWhichHoldsTheFolderView)
{
    SHANDLE_PTR handle = 0;
    ASSERT_EQ(S_OK, band->Browser()->get_HWND(&handle));
    const HWND top = reinterpret_cast<HWND>(handle);
    EXPECT_EQ(window.Window(), top);
    EXPECT_EQ(window.ViewWindow(), ::FindWindowExW(top, nullptr, L"SHELLDLL_DefView", nullptr));
}

TEST_F(BandHosting, ClosingTheBandHidesClosesAndUnsitesItThenLetsItGo)
{
    window.CloseBand();
    const std::vector<std::string> expected = {"SetSite",       "GetBandInfo", "GetWindow",    "ShowDW(TRUE)",
                                               "ShowDW(FALSE)", "CloseDW",     "SetSite(null)"};
    EXPECT_EQ(expected, band->Calls());
    EXPECT_EQ(nullptr, window.Band());
    EXPECT_EQ(S_OK, window.SiteBand(static_cast<IObjectWithSite*>(band.Get()))) << "a band can be hosted again";
}

TEST_F(BandHosting, RefusesASecondBandWhileOneIsHosted)
{
    const ComPtr<TestBand> second = TestBand::Create();
    EXPECT_EQ(E_UNEXPECTED, window.SiteBand(static_cast<IObjectWithSite*>(second.Get())));
    EXPECT_TRUE(second->Calls().empty());
}

TEST_F(BandHosting, RecordsTheBandsFocusReports)
{
    ASSERT_EQ(S_OK, window.ActivateBand(true));
    ASSERT_EQ(1u, window.FocusChanges().size());
    EXPECT_EQ(Identity(window.Band()).Get(), window.FocusChanges()[0].object);
    EXPECT_TRUE(window.FocusChanges()[0].hasFocus);
}

TEST_F(BandHosting, KeysGoToTheBandOnlyWhileItHasTheFocus)
{
    window.ActivateBand(true);
    ASSERT_EQ(S_OK, band->HasFocusIO());
    window.PressKey(band->EditWindow(), 'A');
    window.TypeText(band->EditWindow(), L"x");
    ASSERT_EQ(3u, band->Keys().size());
    EXPECT_EQ(static_cast<UINT>(WM_KEYDOWN), band->Keys()[0].message);
    EXPECT_EQ(static_cast<WPARAM>('A'), band->Keys()[0].code);
    EXPECT_EQ(static_cast<UINT>(WM_KEYUP), band->Keys()[1].message);
    EXPECT_EQ(static_cast<UINT>(WM_CHAR), band->Keys()[2].message);
    EXPECT_EQ(0, ::GetWindowTextLengthW(band->EditWindow())) << "a key the band took is not dispatched";

    ::SetFocus(window.ListView());
    ASSERT_EQ(S_FALSE, band->HasFocusIO());
    window.PressKey(window.ListView(), VK_DOWN);
    EXPECT_EQ(3u, band->Keys().size());
}

TEST_F(BandHosting, KeysTheBandDeclinesAreDispatchedAsUsual)
{
    window.ActivateBand(true);
    band->DeclineKeys();
    window.TypeText(band->EditWindow(), L"xy");
    EXPECT_EQ(2u, band->Keys().size());
    wchar_t text[8] = {};
    ::GetWindowTextW(band->EditWindow(), text, 8);
    EXPECT_STREQ(L"xy", text);
}

TEST_F(BandHosting, ModifiersAreHeldWhileAKeyIsRouted)
{
    window.ActivateBand(true);
    window.PressKey(band->EditWindow(), VK_TAB, {true, false, false});
    EXPECT_EQ(0, ::GetKeyState(VK_CONTROL) & 0x8000) << "released afterwards";
    ASSERT_FALSE(band->Keys().empty());
    EXPECT_EQ(static_cast<WPARAM>(VK_TAB), band->Keys()[0].code);
    EXPECT_TRUE(band->Keys()[0].controlDown);
}

TEST_F(BandHosting, DropsAFileListOnTheBand)
{
    const std::vector<std::wstring> files = {L"C:\\Work\\a.txt", L"C:\\Work\\my notes.txt", L"Z:\\tmp\\\u00E9t\u00E9"};
    const standin::DropOutcome outcome = window.DropFilesOnBand(files);
    EXPECT_EQ(S_OK, outcome.enterResult);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), outcome.enterEffect);
    EXPECT_TRUE(outcome.dropped);
    EXPECT_EQ(S_OK, outcome.dropResult);
    EXPECT_EQ(files, band->DroppedFiles());
}

TEST(FileListData, OffersTheFileListOnlyAsGlobalMemory)
{
    const ComPtr<IDataObject> data = standin::FileListDataObject::WithFiles({L"C:\\x.txt"});
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(S_OK, data->QueryGetData(&format));
    format.tymed = TYMED_ISTREAM;
    EXPECT_EQ(DV_E_TYMED, data->QueryGetData(&format));
    format = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(DV_E_FORMATETC, data->QueryGetData(&format));
    STGMEDIUM medium = {};
    EXPECT_EQ(DV_E_FORMATETC, data->GetData(&format, &medium));
}

TEST(FileListData, WithoutFilesOffersNothing)
{
    const ComPtr<IDataObject> data = standin::FileListDataObject::WithoutFiles();
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(DV_E_FORMATETC, data->QueryGetData(&format));
    ComPtr<IEnumFORMATETC> formats;
    ASSERT_EQ(S_OK, data->EnumFormatEtc(DATADIR_GET, &formats));
    FORMATETC offered = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, formats->Next(1, &offered, &fetched));
}

}  // namespace
