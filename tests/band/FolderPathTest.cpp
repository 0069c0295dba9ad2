#include "band/FolderPath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A browser that only knows its location: get_LocationURL answers with it, or fails.
class LocationBrowser : public IWebBrowser2 {
public:
    explicit LocationBrowser(const wchar_t* location, HRESULT answer = S_OK) : location(location), answer(answer) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IWebBrowser || iid == IID_IWebBrowserApp ||
            iid == IID_IWebBrowser2) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP get_LocationURL(BSTR* url) override
    {
        *url = location ? ::SysAllocString(location) : nullptr;
        return answer;
    }

    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP GoBack() override { return E_NOTIMPL; }
    STDMETHODIMP GoForward() override { return E_NOTIMPL; }
    STDMETHODIMP GoHome() override { return E_NOTIMPL; }
    STDMETHODIMP GoSearch() override { return E_NOTIMPL; }
    STDMETHODIMP Navigate(BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP Refresh() override { return E_NOTIMPL; }
    STDMETHODIMP Refresh2(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP Stop() override { return E_NOTIMPL; }
    STDMETHODIMP get_Application(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Parent(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Container(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Document(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Type(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Left(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Left(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Top(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Top(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Width(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Width(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Height(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Height(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_LocationName(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Busy(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP Quit() override { return E_NOTIMPL; }
    STDMETHODIMP ClientToWindow(int*, int*) override { return E_NOTIMPL; }
    STDMETHODIMP PutProperty(BSTR, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP GetProperty(BSTR, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Name(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_HWND(SHANDLE_PTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullName(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Path(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Visible(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Visible(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusBar(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusText(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusText(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_ToolBar(int*) override { return E_NOTIMPL; }
    STDMETHODIMP put_ToolBar(int) override { return E_NOTIMPL; }
    STDMETHODIMP get_MenuBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_MenuBar(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullScreen(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_FullScreen(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP Navigate2(VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryStatusWB(OLECMDID, OLECMDF*) override { return E_NOTIMPL; }
    STDMETHODIMP ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP ShowBrowserBar(VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_ReadyState(READYSTATE*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Offline(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Offline(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_Silent(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Silent(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_TheaterMode(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_TheaterMode(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_AddressBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_AddressBar(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_Resizable(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Resizable(VARIANT_BOOL) override { return E_NOTIMPL; }

private:
    const wchar_t* location;
    HRESULT answer;
};

struct FolderCase {
    const wchar_t* location;
    BOOL addTrailingBackslash;
    BOOL expectedResult;
    const wchar_t* expectedPath;
};

const FolderCase folderCases[] = {
    // Folders, spaces and the trailing backslash.
    {L"file:///C:/Program%20Files", FALSE, TRUE, L"C:\\Program Files"},
    {L"file:///C:/Program%20Files", TRUE, TRUE, L"C:\\Program Files\\"},
    {L"file:///C:/Program%20Files/Common%20Files", FALSE, TRUE, L"C:\\Program Files\\Common Files"},
    // Drive roots keep exactly one backslash.
    {L"file:///D:/", FALSE, TRUE, L"D:\\"},
    {L"file:///D:/", TRUE, TRUE, L"D:\\"},
    {L"file:///D:", FALSE, TRUE, L"D:\\"},
    // Every escape is decoded, runs of them as UTF-8.
    {L"file:///C:/100%25", FALSE, TRUE, L"C:\\100%"},
    {L"file:///C:/a%23b", FALSE, TRUE, L"C:\\a#b"},
    {L"file:///C:/Caf%C3%A9%20Cr%C3%A8me", FALSE, TRUE, L"C:\\Caf\u00e9 Cr\u00e8me"},
    {L"file:///C:/%E6%97%A5%E6%9C%AC", TRUE, TRUE, L"C:\\\u65e5\u672c\\"},
    {L"file:///C:/%F0%9F%93%81", FALSE, TRUE, L"C:\\\U0001F4C1"},
    {L"file:///C:/Caf\u00e9", FALSE, TRUE, L"C:\\Caf\u00e9"},
    // A "%" without two hex digits after it is a plain character.
    {L"file:///C:/50%", FALSE, TRUE, L"C:\\50%"},
    {L"file:///C:/50%2", FALSE, TRUE, L"C:\\50%2"},
    {L"file:///C:/%zz%2x", FALSE, TRUE, L"C:\\%zz%2x"},
    // Escapes that spell no text name no folder.
    {L"file:///C:/bad%C3%28", FALSE, FALSE, L"C:\\"},
    {L"file:///C:/bad%FF", FALSE, FALSE, L"C:\\"},
    {L"file:///C:/nul%00here", FALSE, FALSE, L"C:\\"},
    // The location prefix alone names no folder.
    {L"file:///", FALSE, FALSE, L"C:\\"},
    {L"file:///", TRUE, FALSE, L"C:\\"},
    // Anything else is not a file-system folder.
    {L"FILE:///C:/Windows", FALSE, FALSE, L"C:\\"},
    {L"File:///C:/Windows", TRUE, FALSE, L"C:\\"},
    {L"file://server/share/folder", FALSE, FALSE, L"C:\\"},
    {L"http://www.example.com/", FALSE, FALSE, L"C:\\"},
    {L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", FALSE, FALSE, L"C:\\"},
    {L"file:/", FALSE, FALSE, L"C:\\"},
    {L"", FALSE, FALSE, L"C:\\"},
};

TEST(FolderPath, LocationsBecomePathsOrTheFallback)
{
    for (const FolderCase& folderCase : folderCases) {
        LocationBrowser browser(folderCase.location);
        std::wstring path = L"previous";
        const BOOL result = band::GetFolderPath(&browser, path, folderCase.addTrailingBackslash);
        EXPECT_EQ(folderCase.expectedResult, result) << folderCase.location;
        EXPECT_EQ(std::wstring(folderCase.expectedPath), path) << folderCase.location;
    }
}

TEST(FolderPath, NoBrowserOrUnreadableLocationGivesTheFallback)
{
    std::wstring path = L"previous";
    EXPECT_FALSE(band::GetFolderPath(nullptr, path, TRUE));
    EXPECT_EQ(L"C:\\", path);

    LocationBrowser failing(L"file:///C:/Windows", E_FAIL);
    path = L"previous";
    EXPECT_FALSE(band::GetFolderPath(&failing, path, FALSE));
    EXPECT_EQ(L"C:\\", path);

    LocationBrowser empty(nullptr);
    path = L"previous";
    EXPECT_FALSE(band::GetFolderPath(&empty, path, FALSE));
    EXPECT_EQ(L"C:\\", path);
}

}  // namespace
