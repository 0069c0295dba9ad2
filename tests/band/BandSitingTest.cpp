#include "BandTestSupport.h"

#include "BandSite.h"
#include "ComObject.h"
#include "band/ConsoleCoreFactory.h"
#include "band/IConsoleCore.h"
#include "module/BrimblestoneModule.h"

#include <ocidl.h>
#include <shlguid.h>

namespace {

using bandtest::BandInBrowser;
using Microsoft::WRL::ComPtr;

// A site that offers the browser (when it has one) but no window, or a window that it cannot
// give, or (given a parent) a window but no browser.
class PartialSite final : public standin::ComObject<IServiceProvider, IOleWindow> {
public:
    PartialSite(IWebBrowser2* browser, bool offersWindow, HWND parent = nullptr)
        : browser(browser), offersWindow(offersWindow), parent(parent)
    {
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IServiceProvider)
            return Answer(static_cast<IServiceProvider*>(this), object);
        if (iid == IID_IOleWindow && offersWindow)
            return Answer(static_cast<IOleWindow*>(this), object);
        *object = nullptr;
        return E_NOINTERFACE;
    }

    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (service != SID_SWebBrowserApp || !browser)
            return E_NOINTERFACE;
        return browser->QueryInterface(iid, object);
    }

    STDMETHODIMP GetWindow(HWND* window) override
    {
        if (parent == nullptr)
            return E_FAIL;
        *window = parent;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

private:
    ComPtr<IWebBrowser2> browser;
    bool offersWindow;
    HWND parent;
};

ComPtr<IUnknown> NewBand()
{
    ComPtr<IUnknown> band;
    EXPECT_EQ(S_OK, band::CreateConsoleCore(nullptr, IID_PPV_ARGS(&band)));
    return band;
}

ComPtr<IUnknown> IdentityOf(IUnknown* object)
{
    ComPtr<IUnknown> identity;
    object->QueryInterface(IID_PPV_ARGS(&identity));
    return identity;
}

int BandWindowsIn(HWND parent)
{
    int count = 0;
    for (HWND child = ::FindWindowExW(parent, nullptr, L"Brimblestone", nullptr); child != nullptr;
         child = ::FindWindowExW(parent, child, L"Brimblestone", nullptr))
        ++count;
    return count;
}

class BandSiting : public BandInBrowser {};

// Unsiting lets go of everything the site gave: no event reaches the band, no interpreter runs,
// no window stays behind; the band can be sited again later and works as before.
TEST_F(BandSiting, NullSiteReleasesEverythingAndTheBandCanBeSitedAgain)
{
    ASSERT_EQ(1u, bandtest::RunningInterpreters().size());
    const HWND bandWindow = window.BandWindow();
    const ComPtr<IObjectWithSite> withSite = BandAs<IObjectWithSite>();
    ASSERT_EQ(S_OK, BandAs<IDockingWindow>()->CloseDW(0));

    EXPECT_EQ(S_OK, withSite->SetSite(nullptr));

    EXPECT_FALSE(::IsWindow(bandWindow));
    EXPECT_EQ(nullptr, ::FindWindowExW(window.BandParent(), nullptr, L"Brimblestone", nullptr));
    EXPECT_TRUE(bandtest::RunningInterpreters().empty());
    EXPECT_EQ(0u, window.EventSinkCount());
    IUnknown* site = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(E_FAIL, withSite->GetSite(IID_IUnknown, reinterpret_cast<void**>(&site)));
    EXPECT_EQ(nullptr, site);
    // A later navigation starts nothing that nobody sees.
    ASSERT_EQ(S_OK, window.NavigateTo(folder.Folder(L"unseen")));
    window.PumpPending();
    EXPECT_TRUE(bandtest::RunningInterpreters().empty());
    EXPECT_EQ(S_OK, withSite->SetSite(nullptr)) << "unsiting twice is harmless";

    ComPtr<standin::BandSite> again;
    again.Attach(new standin::BandSite(window.BandParent(), window.Browser()));
    ASSERT_EQ(S_OK, withSite->SetSite(static_cast<IOleWindow*>(again.Get())));
    EXPECT_EQ(1u, window.EventSinkCount());
    HWND reported = nullptr;
    ASSERT_EQ(S_OK, BandAs<IDeskBand>()->GetWindow(&reported));
    EXPECT_TRUE(::IsWindow(reported));
    edit = ::FindWindowExW(reported, nullptr, L"Brimblestone Editbox", nullptr);
    ASSERT_NE(nullptr, edit);
    ASSERT_EQ(S_OK, BandAs<IDockingWindow>()->ShowDW(TRUE));
    EXPECT_EQ(1u, bandtest::RunningInterpreters().size());
    const std::wstring shown = folder.Folder(L"unseen");
    EXPECT_TRUE(WaitForPrompt(shown)) << Text();
    EXPECT_TRUE(Run(L"echo sited again", shown));
}

// Closing and unsiting, as the browser does, lets the band go: its module lock with it.
TEST(BandRelease, ClosedAndUnsitedBandIsDestroyedWithItsLastReference)
{
    bandtest::ScratchFolder folder;
    const LONG locksBefore = server::libraryModule->GetModuleLockCount();
    for (int round = 0; round < 2; ++round) {
        standin::BrowserWindow window;
        ASSERT_TRUE(window.Create(folder.Path()));
        {
            const ComPtr<IUnknown> band = NewBand();
            ASSERT_EQ(S_OK, window.SiteBand(band.Get()));
        }
        window.CloseBand();
        EXPECT_EQ(locksBefore, server::libraryModule->GetModuleLockCount()) << "round " << round;
        EXPECT_EQ(0u, window.EventSinkCount());
        EXPECT_TRUE(bandtest::RunningInterpreters().empty());
    }
}

struct DestructionWatch {
    HWND window = nullptr;
    LONG locksWhenDestroyed = -1;
};
DestructionWatch destructionWatch;

LRESULT CALLBACK RecordLocksAtDestruction(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_DESTROYWND && reinterpret_cast<HWND>(wParam) == destructionWatch.window)
        destructionWatch.locksWhenDestroyed = server::libraryModule->GetModuleLockCount();
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// A band released while still sited takes down its window and interpreter before it lets go of
// the module: the library must not be unloadable while its code still runs.
TEST(BandRelease, ModuleLockIsLetGoOfLast)
{
    bandtest::ScratchFolder folder;
    standin::BrowserWindow window;
    ASSERT_TRUE(window.Create(folder.Path()));
    const LONG locksBefore = server::libraryModule->GetModuleLockCount();
    ComPtr<IUnknown> band = NewBand();
    {
        ComPtr<IObjectWithSite> withSite;
        ASSERT_EQ(S_OK, band.As(&withSite));
        ComPtr<PartialSite> site;
        site.Attach(new PartialSite(nullptr, true, window.BandParent()));
        ASSERT_EQ(S_OK, withSite->SetSite(static_cast<IServiceProvider*>(site.Get())));
        ComPtr<IOleWindow> oleWindow;
        ASSERT_EQ(S_OK, band.As(&oleWindow));
        ASSERT_EQ(S_OK, oleWindow->GetWindow(&destructionWatch.window));
    }
    ASSERT_EQ(1u, bandtest::RunningInterpreters().size());
    // The drop registration holds the band until it is unsited; taken away here, the last
    // reference ends a band that still has its window and its interpreter.
    ASSERT_EQ(S_OK, ::RevokeDragDrop(destructionWatch.window));

    const HHOOK hook = ::SetWindowsHookExW(WH_CBT, RecordLocksAtDestruction, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    band.Reset();
    ::UnhookWindowsHookEx(hook);

    EXPECT_EQ(locksBefore + 1, destructionWatch.locksWhenDestroyed);
    EXPECT_EQ(locksBefore, server::libraryModule->GetModuleLockCount());
    EXPECT_TRUE(bandtest::RunningInterpreters().empty());
}

TEST_F(BandSiting, GetSiteHandsBackTheSiteItHolds)
{
    const ComPtr<IObjectWithSite> withSite = BandAs<IObjectWithSite>();
    ComPtr<IOleWindow> site;
    ASSERT_EQ(S_OK, withSite->GetSite(IID_PPV_ARGS(&site)));
    HWND parent = nullptr;
    ASSERT_EQ(S_OK, site->GetWindow(&parent));
    EXPECT_EQ(window.BandParent(), parent);
    ComPtr<IInputObjectSite> inputSite;
    EXPECT_EQ(S_OK, withSite->GetSite(IID_PPV_ARGS(&inputSite)));
    IUnknown* missing = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(E_NOINTERFACE, withSite->GetSite(IID_IDropTarget, reinterpret_cast<void**>(&missing)));
    EXPECT_EQ(nullptr, missing);
    EXPECT_EQ(E_POINTER, withSite->GetSite(IID_IUnknown, nullptr));
}

TEST_F(BandSiting, SecondSiteKeepsTheWindowAndInterpreterAndMovesTheEventsToTheNewBrowser)
{
    const HWND bandWindow = window.BandWindow();
    const std::vector<DWORD> interpreters = bandtest::RunningInterpreters();
    bandtest::ScratchFolder otherFolder;
    standin::BrowserWindow other;
    ASSERT_TRUE(other.Create(otherFolder.Path()));
    ComPtr<standin::BandSite> otherSite;
    otherSite.Attach(new standin::BandSite(window.BandParent(), other.Browser()));

    EXPECT_EQ(S_OK, BandAs<IObjectWithSite>()->SetSite(static_cast<IOleWindow*>(otherSite.Get())));

    HWND reported = nullptr;
    EXPECT_EQ(S_OK, BandAs<IDeskBand>()->GetWindow(&reported));
    EXPECT_EQ(bandWindow, reported);
    EXPECT_EQ(1, BandWindowsIn(window.BandParent()));
    EXPECT_EQ(interpreters, bandtest::RunningInterpreters());
    EXPECT_EQ(0u, window.EventSinkCount()) << "the first browser's events must no longer reach the band";
    EXPECT_EQ(1u, other.EventSinkCount());

    // The interpreter now follows the other browser.
    const std::wstring sub = otherFolder.Folder(L"there");
    ASSERT_EQ(S_OK, other.NavigateTo(sub));
    EXPECT_TRUE(other.PumpUntil([&] { return bandtest::EndsWith(Text(), bandtest::PromptOf(sub)); })) << Text();
}

TEST_F(BandSiting, SiteWithoutAWindowFailsAndHoldsNothingOfIt)
{
    for (const bool offersWindow : {false, true}) {
        standin::BrowserWindow browserWindow;
        ASSERT_TRUE(browserWindow.Create(folder.Path()));
        const ComPtr<IUnknown> fresh = NewBand();
        ComPtr<IObjectWithSite> withSite;
        ASSERT_EQ(S_OK, fresh.As(&withSite));
        ComPtr<PartialSite> site;
        site.Attach(new PartialSite(browserWindow.Browser(), offersWindow));

        EXPECT_EQ(E_FAIL, withSite->SetSite(static_cast<IServiceProvider*>(site.Get())));

        ComPtr<IOleWindow> oleWindow;
        ASSERT_EQ(S_OK, fresh.As(&oleWindow));
        HWND bandWindow = reinterpret_cast<HWND>(1);
        EXPECT_EQ(S_OK, oleWindow->GetWindow(&bandWindow));
        EXPECT_EQ(nullptr, bandWindow);
        EXPECT_TRUE(bandtest::RunningInterpreters().size() == 1u) << "only the fixture's interpreter runs";
        EXPECT_EQ(0u, browserWindow.EventSinkCount());
        IUnknown* held = reinterpret_cast<IUnknown*>(1);
        EXPECT_EQ(E_FAIL, withSite->GetSite(IID_IUnknown, reinterpret_cast<void**>(&held)));
    }
}

TEST(BandInterfaces, AnswersExactlyItsInterfacesWithOneIdentity)
{
    const ComPtr<IUnknown> band = NewBand();
    ComPtr<IUnknown> identity = IdentityOf(band.Get());
    ComPtr<IConsoleCore> dispatchPart;
    ASSERT_EQ(S_OK, band->QueryInterface(IID_IConsoleCore, reinterpret_cast<void**>(dispatchPart.GetAddressOf())));
    EXPECT_EQ(static_cast<IUnknown*>(dispatchPart.Get()), identity.Get());

    for (const IID& iid : {IID_IConsoleCore, IID_IDispatch, IID_IObjectWithSite, IID_IPersist, IID_IPersistStream,
                           IID_IOleWindow, IID_IDockingWindow, IID_IDeskBand, IID_IInputObject, IID_IDropTarget}) {
        ComPtr<IUnknown> part;
        ASSERT_EQ(S_OK, band->QueryInterface(iid, reinterpret_cast<void**>(part.GetAddressOf())));
        EXPECT_EQ(identity, IdentityOf(part.Get()));
    }
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, band.As(&dispatch));
    EXPECT_EQ(static_cast<IDispatch*>(dispatchPart.Get()), dispatch.Get());

    for (const IID& iid : {IID_IPersistStreamInit, IID_IPersistPropertyBag, IID_IOleCommandTarget,
                           IID_IInputObjectSite, IID_IServiceProvider, IID_IDeskBand2, IID_IConnectionPointContainer}) {
        IUnknown* part = reinterpret_cast<IUnknown*>(1);
        EXPECT_EQ(E_NOINTERFACE, band->QueryInterface(iid, reinterpret_cast<void**>(&part)));
        EXPECT_EQ(nullptr, part);
    }
    EXPECT_EQ(E_POINTER, band->QueryInterface(IID_IUnknown, nullptr));
}

TEST(BandInterfaces, PersistsNothing)
{
    const ComPtr<IUnknown> band = NewBand();
    ComPtr<IPersistStream> persist;
    ASSERT_EQ(S_OK, band.As(&persist));
    CLSID classId = {};
    EXPECT_EQ(S_OK, persist->GetClassID(&classId));
    EXPECT_EQ(CLSID_ConsoleCore, classId);
    EXPECT_EQ(S_FALSE, persist->IsDirty());

    ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, ::CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    EXPECT_EQ(S_OK, persist->Save(stream.Get(), TRUE));
    STATSTG written = {};
    ASSERT_EQ(S_OK, stream->Stat(&written, STATFLAG_NONAME));
    EXPECT_EQ(0u, written.cbSize.QuadPart);
    EXPECT_EQ(S_OK, persist->Load(stream.Get()));
    ULARGE_INTEGER size = {};
    EXPECT_EQ(E_NOTIMPL, persist->GetSizeMax(&size));
}

TEST(BandInterfaces, BandInfoAsksForItsSizeAndTheHostsBackground)
{
    const ComPtr<IUnknown> band = NewBand();
    ComPtr<IDeskBand> deskBand;
    ASSERT_EQ(S_OK, band.As(&deskBand));

    DESKBANDINFO info = {};
    info.dwMask = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL | DBIM_TITLE | DBIM_MODEFLAGS |
                  DBIM_BKCOLOR;
    info.wszTitle[0] = L'x';
    info.crBkgnd = RGB(1, 2, 3);
    ASSERT_EQ(S_OK, deskBand->GetBandInfo(7, DBIF_VIEWMODE_NORMAL, &info));
    EXPECT_EQ(static_cast<DWORD>(DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL | DBIM_TITLE |
                                 DBIM_MODEFLAGS),
              info.dwMask);
    EXPECT_EQ(300, info.ptMinSize.x);
    EXPECT_EQ(22, info.ptMinSize.y);
    EXPECT_EQ(-1, info.ptMaxSize.x);
    EXPECT_EQ(-1, info.ptMaxSize.y);
    EXPECT_EQ(0, info.ptIntegral.x);
    EXPECT_EQ(22, info.ptIntegral.y);
    EXPECT_EQ(300, info.ptActual.x);
    EXPECT_EQ(22, info.ptActual.y);
    EXPECT_EQ(L'\0', info.wszTitle[0]);
    EXPECT_EQ(static_cast<DWORD>(DBIMF_VARIABLEHEIGHT), info.dwModeFlags);
    EXPECT_EQ(RGB(1, 2, 3), info.crBkgnd);

    DESKBANDINFO backgroundOnly = {};
    backgroundOnly.dwMask = DBIM_BKCOLOR;
    backgroundOnly.ptMinSize = POINTL{5, 5};
    backgroundOnly.ptActual = POINTL{5, 5};
    ASSERT_EQ(S_OK, deskBand->GetBandInfo(0, DBIF_VIEWMODE_NORMAL, &backgroundOnly));
    EXPECT_EQ(0u, backgroundOnly.dwMask);
    EXPECT_EQ(5, backgroundOnly.ptMinSize.x);
    EXPECT_EQ(5, backgroundOnly.ptActual.y);

    EXPECT_EQ(S_OK, deskBand->GetBandInfo(0, DBIF_VIEWMODE_NORMAL, nullptr));
    EXPECT_EQ(E_NOTIMPL, deskBand->ContextSensitiveHelp(TRUE));
    EXPECT_EQ(E_NOTIMPL, deskBand->ResizeBorderDW(nullptr, nullptr, FALSE));
}

TEST(BandInterfaces, DispatchPartDescribesOneTypeInfo)
{
    const ComPtr<IUnknown> band = NewBand();
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, band.As(&dispatch));
    UINT count = 0;
    EXPECT_EQ(S_OK, dispatch->GetTypeInfoCount(&count));
    EXPECT_EQ(1u, count);
    EXPECT_EQ(E_POINTER, dispatch->GetTypeInfoCount(nullptr));

    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(1);
    EXPECT_EQ(DISP_E_BADINDEX, dispatch->GetTypeInfo(1, LOCALE_USER_DEFAULT, &info));
    EXPECT_EQ(nullptr, info);
    DISPPARAMS none = {};
    EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, dispatch->Invoke(DISPID_VALUE, IID_IDispatch, LOCALE_USER_DEFAULT,
                                                        DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
}

}  // namespace
