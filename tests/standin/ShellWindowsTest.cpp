// The stand-in browser as a process of its own, registered in the shell's window list (the
// list's test double), seen from this process the way a program that follows Explorer sees it.
#include "ComObject.h"
#include "FileUrl.h"
#include "ItemsView.h"
#include "MessagePump.h"
#include "ShellWindowRegistration.h"
#include "TabbedWindow.h"
#include "TestBand.h"
#include "UniqueBstr.h"
#include "shared/ScratchFolder.h"
#include "shared/ShellWindowsDouble.h"
#include "shared/StandInProcess.h"
#include "support/ComResources.h"

#include <gtest/gtest.h>
#include <exdispid.h>
#include <olectl.h>
#include <shlguid.h>
#include <shobjidl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Microsoft::WRL::ComPtr;
using Names = std::vector<std::wstring>;
using testsupport::StandInProcess;

// The list's events as a listener receives them: only cookies.
class ListEvents final : public standin::ComObject<IDispatch> {
public:
    std::vector<LONG> registered;
    std::vector<LONG> revoked;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DShellWindowsEvents)
            return Answer(static_cast<IDispatch*>(this), object);
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*, UINT*) override
    {
        if (!parameters || parameters->cArgs != 1 || parameters->rgvarg[0].vt != VT_I4)
            return E_INVALIDARG;
        if (id == DISPID_WINDOWREGISTERED)
            registered.push_back(parameters->rgvarg[0].lVal);
        else if (id == DISPID_WINDOWREVOKED)
            revoked.push_back(parameters->rgvarg[0].lVal);
        return S_OK;
    }
};

ComPtr<ListEvents> MakeListEvents()
{
    ComPtr<ListEvents> events;
    events.Attach(new ListEvents());
    return events;
}

HRESULT Advise(IUnknown* source, REFIID events, IUnknown* sink)
{
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    HRESULT result = source->QueryInterface(IID_PPV_ARGS(&container));
    if (SUCCEEDED(result))
        result = container->FindConnectionPoint(events, &point);
    if (SUCCEEDED(result))
        result = point->Advise(sink, &cookie);
    return result;
}

bool PumpUntil(const std::function<bool()>& done)
{
    return standin::PumpUntil(done, standin::DefaultPumpTimeoutMs, nullptr);
}

// Every browser of the list, through one _NewEnum.
std::vector<ComPtr<IWebBrowser2>> Browsers(IShellWindows* list)
{
    std::vector<ComPtr<IWebBrowser2>> browsers;
    ComPtr<IUnknown> unknown;
    ComPtr<IEnumVARIANT> enumerator;
    if (FAILED(list->_NewEnum(&unknown)) || FAILED(unknown.As(&enumerator)))
        return browsers;
    for (;;) {
        support::UniqueVariant item;
        ULONG fetched = 0;
        if (enumerator->Next(1, &item, &fetched) != S_OK || fetched != 1)
            return browsers;
        ComPtr<IWebBrowser2> browser;
        if (item.vt == VT_DISPATCH && item.pdispVal && SUCCEEDED(item.pdispVal->QueryInterface(IID_PPV_ARGS(&browser))))
            browsers.push_back(browser);
    }
}

LONG CountOf(IShellWindows* list)
{
    LONG count = -1;
    return SUCCEEDED(list->get_Count(&count)) ? count : -1;
}

HWND TopWindowOf(IWebBrowser2* browser)
{
    SHANDLE_PTR window = 0;
    return SUCCEEDED(browser->get_HWND(&window)) ? reinterpret_cast<HWND>(window) : nullptr;
}

ComPtr<IShellBrowser> ShellBrowserOf(IWebBrowser2* browser)
{
    ComPtr<IServiceProvider> services;
    ComPtr<IShellBrowser> shellBrowser;
    if (SUCCEEDED(browser->QueryInterface(IID_PPV_ARGS(&services))))
        services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&shellBrowser));
    return shellBrowser;
}

HWND TabWindowOf(IWebBrowser2* browser)
{
    const ComPtr<IShellBrowser> shellBrowser = ShellBrowserOf(browser);
    HWND window = nullptr;
    return shellBrowser && SUCCEEDED(shellBrowser->GetWindow(&window)) ? window : nullptr;
}

ComPtr<IFolderView> ActiveFolderView(IWebBrowser2* browser)
{
    const ComPtr<IShellBrowser> shellBrowser = ShellBrowserOf(browser);
    ComPtr<IShellView> view;
    ComPtr<IFolderView> folderView;
    if (shellBrowser && SUCCEEDED(shellBrowser->QueryActiveShellView(&view)))
        view.As(&folderView);
    return folderView;
}

std::wstring LocationOf(IWebBrowser2* browser)
{
    standin::UniqueBstr location;
    if (FAILED(browser->get_LocationURL(location.Receive())))
        return L"(failed)";
    return std::wstring(location.Get(), ::SysStringLen(location.Get()));
}

Names NamesOf(IShellItemArray* items)
{
    DWORD count = 0;
    if (!items || FAILED(items->GetCount(&count)))
        return {L"(failed)"};
    Names names;
    for (DWORD index = 0; index < count; ++index) {
        ComPtr<IShellItem> item;
        wchar_t* name = nullptr;
        if (SUCCEEDED(items->GetItemAt(index, &item)) &&
            SUCCEEDED(item->GetDisplayName(SIGDN_PARENTRELATIVEPARSING, &name))) {
            names.emplace_back(name);
            ::CoTaskMemFree(name);
        }
    }
    return names;
}

// The names of every item through one Items call, in view order.
Names NamesThroughItems(IFolderView* view, HRESULT* result)
{
    ComPtr<IShellItemArray> items;
    *result = view->Items(SVGIO_ALLVIEW | SVGIO_FLAG_VIEWORDER, IID_PPV_ARGS(&items));
    return SUCCEEDED(*result) ? NamesOf(items.Get()) : Names{};
}

VARIANT NumberVariant(LONG number)
{
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = number;
    return value;
}

// What a call to a process that has gone answers.
bool IsGone(HRESULT result)
{
    return result == RPC_E_DISCONNECTED || result == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
           result == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) || result == CO_E_OBJNOTCONNECTED;
}

class ShellWindowsAcrossProcesses : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shellList.IsRegistered());
        folder.File(L"b10.txt");
        folder.File(L"b9.txt");
        folder.Folder(L"Sub");
        list = shellList.Connect();
        ASSERT_NE(nullptr, list.Get()) << "the double answers for CLSID_ShellWindows";
        ASSERT_EQ(S_OK, Advise(list.Get(), DIID_DShellWindowsEvents, static_cast<IDispatch*>(events.Get())));
    }

    bool WaitForRegistrations(size_t count)
    {
        return PumpUntil([&] { return events->registered.size() >= count; });
    }

    bool WaitForRevocations(size_t count)
    {
        return PumpUntil([&] { return events->revoked.size() >= count; });
    }

    // The browsers of the list, once it holds that many.
    std::vector<ComPtr<IWebBrowser2>> WaitForBrowsers(size_t count)
    {
        std::vector<ComPtr<IWebBrowser2>> browsers;
        PumpUntil([&] { return (browsers = Browsers(list.Get())).size() >= count; });
        return browsers;
    }

    testsupport::ShellWindowsDouble shellList;
    testsupport::ScratchFolder folder;
    ComPtr<IShellWindows> list;
    ComPtr<ListEvents> events = MakeListEvents();
    StandInProcess browserProcess;
};

TEST_F(ShellWindowsAcrossProcesses, EveryTabIsAnEntryWithTheTopWindowAndTheActiveTabIsTheTopMostTab)
{
    ASSERT_TRUE(browserProcess.Start(folder.Path()));
    ASSERT_EQ(1u, browserProcess.Windows().size());
    const HWND top = browserProcess.Windows().front();
    ASSERT_TRUE(browserProcess.Command(top, standin::NewTabCommand));
    ASSERT_TRUE(WaitForRegistrations(2));
    EXPECT_EQ(2, CountOf(list.Get()));

    const std::vector<ComPtr<IWebBrowser2>> tabs = WaitForBrowsers(2);
    ASSERT_EQ(2u, tabs.size());
    const std::vector<HWND> tabWindows = StandInProcess::TabWindows(top);
    ASSERT_EQ(2u, tabWindows.size());
    for (const ComPtr<IWebBrowser2>& tab : tabs)
        EXPECT_EQ(top, TopWindowOf(tab.Get()));
    EXPECT_EQ(tabWindows[0], TabWindowOf(tabs[1].Get())) << "the new tab is the active one";
    EXPECT_EQ(tabWindows[1], TabWindowOf(tabs[0].Get()));

    ASSERT_TRUE(browserProcess.Command(top, standin::FirstTabCommand));
    EXPECT_EQ(TabWindowOf(tabs[0].Get()), StandInProcess::TabWindows(top).front());
    // Moved and resized from here, the window keeps its tabs filling it.
    ::SetWindowPos(top, nullptr, 40, 30, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(PumpUntil([&] {
        RECT client = {};
        RECT tab = {};
        ::GetClientRect(top, &client);
        ::GetClientRect(StandInProcess::TabWindows(top).front(), &tab);
        return client.right < 640 && ::EqualRect(&client, &tab);
    }));

    ComPtr<IDispatch> beyond;
    EXPECT_EQ(S_FALSE, list->Item(NumberVariant(2), &beyond));
    EXPECT_EQ(nullptr, beyond.Get());
    ComPtr<IDispatch> second;
    ASSERT_EQ(S_OK, list->Item(NumberVariant(1), &second));
    ComPtr<IWebBrowser2> secondBrowser;
    ASSERT_EQ(S_OK, second.As(&secondBrowser));
    EXPECT_EQ(TabWindowOf(tabs[1].Get()), TabWindowOf(secondBrowser.Get()));
}

// Answers as the shell's own list gives them: a window that is none, a cookie unknown, an index
// that is no number; an entry without a browser object is found by its cookie only.
TEST_F(ShellWindowsAcrossProcesses, TheListAnswersBadArgumentsAndUnknownCookiesAsTheShellsListDoes)
{
    const support::UniqueWindow window(
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    const LONG handle = static_cast<LONG>(reinterpret_cast<LONG_PTR>(window.Get()));
    LONG cookie = 0;
    EXPECT_EQ(E_POINTER, list->Register(nullptr, 0, SWC_EXPLORER, &cookie));
    ASSERT_EQ(S_OK, list->Register(nullptr, handle, SWC_EXPLORER, &cookie));
    EXPECT_NE(0, cookie);
    EXPECT_EQ(0, CountOf(list.Get())) << "nothing to hand out";

    VARIANT byCookie = NumberVariant(cookie);
    VARIANT noRoot;
    ::VariantInit(&noRoot);
    LONG found = 0;
    ComPtr<IDispatch> browser;
    EXPECT_EQ(S_OK, list->FindWindowSW(&byCookie, &noRoot, SWC_EXPLORER, &found, SWFO_COOKIEPASSED, &browser));
    EXPECT_EQ(handle, found);
    EXPECT_EQ(S_OK, list->Revoke(cookie));
    EXPECT_EQ(S_FALSE, list->Revoke(cookie));
    EXPECT_EQ(S_FALSE, list->FindWindowSW(&byCookie, &noRoot, SWC_EXPLORER, &found, SWFO_COOKIEPASSED, &browser));
    EXPECT_EQ(0, found);

    support::UniqueVariant text;
    text.vt = VT_BSTR;
    text.bstrVal = ::SysAllocString(L"first");
    ComPtr<IDispatch> item;
    EXPECT_EQ(E_INVALIDARG, list->Item(text, &item));
    ASSERT_TRUE(WaitForRevocations(1));
    EXPECT_EQ((std::vector<LONG>{cookie}), events->registered);
    EXPECT_EQ((std::vector<LONG>{cookie}), events->revoked);
}

TEST_F(ShellWindowsAcrossProcesses, RegistrationsAndRevocationsArriveForTabsWindowsAndTheirClosing)
{
    ASSERT_TRUE(browserProcess.Start(folder.Path()));
    ASSERT_TRUE(WaitForRegistrations(1));
    const HWND first = browserProcess.Windows().front();
    ASSERT_TRUE(browserProcess.Command(first, standin::NewWindowCommand));
    ASSERT_TRUE(WaitForRegistrations(2));
    ASSERT_EQ(2u, browserProcess.Windows().size()) << "a second window of the same process";
    const HWND second = browserProcess.Windows().front() == first ? browserProcess.Windows().back()
                                                                  : browserProcess.Windows().front();

    ASSERT_TRUE(browserProcess.Command(second, standin::CloseTabCommand));
    ASSERT_TRUE(WaitForRevocations(1));
    EXPECT_EQ(events->registered[1], events->revoked[0]);
    EXPECT_FALSE(::IsWindow(second)) << "the window closes with its last tab";
    EXPECT_EQ(1, CountOf(list.Get()));

    ::PostMessageW(first, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForRevocations(2));
    EXPECT_EQ(events->registered[0], events->revoked[1]);
    EXPECT_TRUE(browserProcess.WaitForExit()) << "the process ends with its last window";
    EXPECT_EQ(0, CountOf(list.Get()));
}

TEST_F(ShellWindowsAcrossProcesses, NavigationGoesBothWaysAndItsEventsReachASinkHere)
{
    ASSERT_TRUE(browserProcess.Start(folder.Path()));
    const std::vector<ComPtr<IWebBrowser2>> browsers = WaitForBrowsers(1);
    ASSERT_EQ(1u, browsers.size());
    const ComPtr<IWebBrowser2> browser = browsers.front();
    EXPECT_EQ(standin::FileUrlFromPath(folder.Path()), LocationOf(browser.Get()));
    const ComPtr<TestBand> sink = TestBand::Create();
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, sink->ListenTo(browser.Get(), &cookie));

    const std::wstring sub = folder.Path() + L"\\Sub";
    ASSERT_EQ(S_OK, testsupport::NavigateAcross(browser.Get(), standin::FileUrlFromPath(sub)));
    EXPECT_EQ(standin::FileUrlFromPath(sub), LocationOf(browser.Get()));
    ASSERT_TRUE(PumpUntil([&] { return sink->CompletedUrls().size() >= 1; }));
    EXPECT_EQ(standin::FileUrlFromPath(sub), sink->CompletedUrls()[0]);
    EXPECT_TRUE(sink->WellFormedDocumentComplete()) << "the browser's IDispatch and the address by reference";
    support::UniqueVariant subLocation;
    standin::SetLocation(subLocation, sub);
    VARIANT noRoot;
    ::VariantInit(&noRoot);
    LONG found = 0;
    ComPtr<IDispatch> foundBrowser;
    EXPECT_TRUE(PumpUntil([&] {
        return list->FindWindowSW(&subLocation, &noRoot, SWC_EXPLORER, &found, SWFO_NEEDDISPATCH, &foundBrowser) ==
               S_OK;
    })) << "the browser tells the list where it went";
    EXPECT_EQ(browserProcess.Windows().front(), reinterpret_cast<HWND>(static_cast<LONG_PTR>(found)));
    EXPECT_NE(nullptr, foundBrowser.Get());

    // The user goes back up through the address field.
    const HWND address = ::FindWindowExW(StandInProcess::TabWindows(browserProcess.Windows().front()).front(),
                                         nullptr, L"Edit", nullptr);
    ASSERT_NE(nullptr, address);
    ::SendMessageW(address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.Path().c_str()));
    ::PostMessageW(address, WM_KEYDOWN, VK_RETURN, 1);
    ASSERT_TRUE(PumpUntil([&] { return sink->CompletedUrls().size() >= 2; }));
    EXPECT_EQ(standin::FileUrlFromPath(folder.Path()), sink->CompletedUrls()[1]);
    EXPECT_EQ(standin::FileUrlFromPath(folder.Path()), LocationOf(browser.Get()));

    ASSERT_EQ(S_OK, browser->Quit());
    ASSERT_TRUE(PumpUntil([&] { return sink->QuitEvents() == 1; }));
    ASSERT_TRUE(WaitForRevocations(1));
    EXPECT_TRUE(browserProcess.WaitForExit());
}

// The platform's own shell view (Wine's) and the stand-in's items view, as today's browser draws it.
class RemoteView : public ShellWindowsAcrossProcesses, public ::testing::WithParamInterface<const wchar_t*> {
protected:
    bool IsPlatformView() const { return *GetParam() == L'\0'; }
};

TEST_P(RemoteView, NamesInViewOrderComeFromOneItemsCallAndSelectionByIndexShowsInTheBrowser)
{
    ASSERT_TRUE(browserProcess.Start(folder.Path(), IsPlatformView() ? Names{} : Names{GetParam()}));
    const std::vector<ComPtr<IWebBrowser2>> browsers = WaitForBrowsers(1);
    ASSERT_EQ(1u, browsers.size());
    const ComPtr<IFolderView> view = ActiveFolderView(browsers.front().Get());
    ASSERT_NE(nullptr, view.Get());
    const Names shown = testsupport::StandInRecord(browsers.front().Get(), L"StandIn.Items");
    Names sorted = shown;
    std::sort(sorted.begin(), sorted.end());
    ASSERT_EQ((Names{L"Sub", L"b10.txt", L"b9.txt"}), sorted);

    int count = 0;
    ASSERT_EQ(S_OK, view->ItemCount(SVGIO_ALLVIEW, &count));
    EXPECT_EQ(3, count);
    HRESULT result = E_FAIL;
    const Names names = NamesThroughItems(view.Get(), &result);
    // Wine 8's own view does not implement Items: from another process its names cannot be read.
    if (!IsPlatformView() || result != E_NOTIMPL) {
        EXPECT_EQ(S_OK, result);
        EXPECT_EQ(shown, names);
    }

    ASSERT_EQ(S_OK, view->SelectItem(2, SVSI_SELECT | SVSI_DESELECTOTHERS | SVSI_FOCUSED));
    EXPECT_EQ(Names{shown[2]}, testsupport::StandInRecord(browsers.front().Get(), L"StandIn.SelectedItems"));
    EXPECT_EQ(Names{shown[2]}, testsupport::StandInRecord(browsers.front().Get(), L"StandIn.FocusedItems"));
    ASSERT_EQ(S_OK, view->SelectItem(0, SVSI_SELECT));
    EXPECT_EQ((Names{shown[0], shown[2]}), testsupport::StandInRecord(browsers.front().Get(), L"StandIn.SelectedItems"));

    ComPtr<IFolderView2> view2;
    ASSERT_EQ(S_OK, view.As(&view2)) << "as today's browser's view answers";
    ComPtr<IShellItemArray> selection;
    result = view2->GetSelection(FALSE, &selection);
    // Wine 8's own view does not implement GetSelection either.
    if (!IsPlatformView() || result != E_NOTIMPL) {
        EXPECT_EQ(S_OK, result);
        EXPECT_EQ((Names{shown[0], shown[2]}), NamesOf(selection.Get()));
    }
}

INSTANTIATE_TEST_SUITE_P(PlatformAndItemsView, RemoteView, ::testing::Values(L"", L"--items-view"));

TEST_F(ShellWindowsAcrossProcesses, AKilledBrowserAnswersItsNextCallWithAnRpcErrorAndLeavesTheList)
{
    ASSERT_TRUE(browserProcess.Start(folder.Path()));
    const std::vector<ComPtr<IWebBrowser2>> browsers = WaitForBrowsers(1);
    ASSERT_EQ(1u, browsers.size());
    const ComPtr<IFolderView> view = ActiveFolderView(browsers.front().Get());
    ASSERT_NE(nullptr, view.Get());

    ASSERT_TRUE(browserProcess.Kill());
    standin::UniqueBstr location;
    const HRESULT locationResult = browsers.front()->get_LocationURL(location.Receive());
    EXPECT_TRUE(IsGone(locationResult)) << std::hex << locationResult;
    int count = 0;
    const HRESULT countResult = view->ItemCount(SVGIO_ALLVIEW, &count);
    EXPECT_TRUE(IsGone(countResult)) << std::hex << countResult;

    EXPECT_EQ(0, CountOf(list.Get())) << "its window is gone, so is its entry";
    EXPECT_TRUE(Browsers(list.Get()).empty());
    EXPECT_TRUE(events->revoked.empty()) << "no revocation for a browser that never revoked";
}

TEST_F(ShellWindowsAcrossProcesses, ABrowserKilledInTheMiddleOfAViewCallEndsTheCallWithAnRpcError)
{
    ASSERT_TRUE(browserProcess.Start(folder.Path(), {L"--items-view", L"--slow-view-ms", L"600000"}));
    const std::vector<ComPtr<IWebBrowser2>> browsers = WaitForBrowsers(1);
    ASSERT_EQ(1u, browsers.size());
    const ComPtr<IFolderView> view = ActiveFolderView(browsers.front().Get());
    ASSERT_NE(nullptr, view.Get());

    const support::UniqueHandle callBegan(
        ::CreateEventW(nullptr, TRUE, FALSE, standin::SlowCallEventName(browserProcess.ProcessId()).c_str()));
    ASSERT_TRUE(callBegan);
    const HANDLE process = browserProcess.Process();
    std::thread killer([&] {
        if (::WaitForSingleObject(callBegan.Get(), standin::DefaultPumpTimeoutMs) == WAIT_OBJECT_0)
            ::TerminateProcess(process, 1);
    });
    ComPtr<IShellItemArray> items;
    const HRESULT result = view->Items(SVGIO_ALLVIEW, IID_PPV_ARGS(&items));
    killer.join();
    EXPECT_TRUE(IsGone(result)) << std::hex << result;
    EXPECT_FALSE(browserProcess.IsRunning());
}

TEST_F(ShellWindowsAcrossProcesses, TheListsServerEndsAndComesBackEmptyAndBrowsersGoOn)
{
    ASSERT_TRUE(browserProcess.Start(folder.Path()));
    ASSERT_TRUE(WaitForRegistrations(1));
    const DWORD firstServer = shellList.ServerProcessId();
    ASSERT_NE(0u, firstServer);

    ASSERT_TRUE(shellList.Kill());
    LONG count = 0;
    const HRESULT result = list->get_Count(&count);
    EXPECT_TRUE(IsGone(result)) << std::hex << result;
    list = shellList.Connect();
    ASSERT_NE(nullptr, list.Get()) << "the list comes back";
    EXPECT_NE(firstServer, shellList.ServerProcessId());
    EXPECT_EQ(0, CountOf(list.Get()));

    const ComPtr<ListEvents> newEvents = MakeListEvents();
    ASSERT_EQ(S_OK, Advise(list.Get(), DIID_DShellWindowsEvents, static_cast<IDispatch*>(newEvents.Get())));
    const HWND top = browserProcess.Windows().front();
    ASSERT_TRUE(browserProcess.Command(top, standin::NewTabCommand));
    ASSERT_TRUE(PumpUntil([&] { return newEvents->registered.size() == 1; })) << "a tab opened since registers anew";
    EXPECT_EQ(1, CountOf(list.Get()));
    // The first tab's revocation goes to the list that is gone, and the browser goes on.
    ASSERT_TRUE(browserProcess.Command(top, standin::FirstTabCommand));
    ASSERT_TRUE(browserProcess.Command(top, standin::CloseTabCommand));
    EXPECT_EQ(1u, StandInProcess::TabWindows(top).size());
    EXPECT_EQ(1, CountOf(list.Get()));
    EXPECT_TRUE(newEvents->revoked.empty());
}

}  // namespace

