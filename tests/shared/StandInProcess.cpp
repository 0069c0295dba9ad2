#include "shared/StandInProcess.h"

#include "MessagePump.h"
#include "UniqueBstr.h"
#include "shared/BuiltPrograms.h"
#include "shared/ProcessProbe.h"
#include "support/ComResources.h"

#include <algorithm>

namespace testsupport {
namespace {

constexpr const wchar_t* TopWindowClass = L"CabinetWClass";
constexpr const wchar_t* TabWindowClass = L"ShellTabWindowClass";

void CALLBACK CommandDone(HWND, UINT, ULONG_PTR done, LRESULT)
{
    *reinterpret_cast<bool*>(done) = true;
}

}  // namespace

StandInProcess::~StandInProcess()
{
    Kill();
}

bool StandInProcess::Start(const std::wstring& folder, const std::vector<std::wstring>& arguments)
{
    std::vector<std::wstring> all = {L"--shell-window", L"--folder", folder};
    all.insert(all.end(), arguments.begin(), arguments.end());
    process = StartProgram(BuiltToolPath(L"standin\\StandInBrowser.exe"), all, &processId);
    if (!process)
        return false;
    return standin::PumpUntil(
        [&] {
            const std::vector<HWND> windows = Windows();
            return !IsRunning() || (!windows.empty() && ::IsWindowVisible(windows.front()));
        },
        standin::DefaultPumpTimeoutMs, nullptr) &&
           IsRunning();
}

bool StandInProcess::IsRunning() const
{
    return process && ::WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

std::vector<HWND> StandInProcess::Windows() const
{
    return TopWindowsOf(processId, TopWindowClass);
}

bool StandInProcess::Command(HWND window, WORD command) const
{
    bool done = false;
    if (!::SendMessageCallbackW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0, CommandDone,
                                reinterpret_cast<ULONG_PTR>(&done)))
        return false;
    return standin::PumpUntil([&] { return done; }, standin::DefaultPumpTimeoutMs, nullptr);
}

bool StandInProcess::Kill()
{
    if (!IsRunning())
        return true;
    ::TerminateProcess(process.Get(), 1);
    return WaitForExit();
}

bool StandInProcess::WaitForExit() const
{
    return standin::PumpUntil([&] { return !IsRunning(); }, standin::DefaultPumpTimeoutMs, nullptr);
}

std::vector<HWND> StandInProcess::TabWindows(HWND window)
{
    std::vector<HWND> tabs;
    for (HWND tab = ::FindWindowExW(window, nullptr, TabWindowClass, nullptr); tab;
         tab = ::FindWindowExW(window, tab, TabWindowClass, nullptr))
        tabs.push_back(tab);
    return tabs;
}

std::vector<std::wstring> StandInRecord(IWebBrowser2* browser, const wchar_t* property)
{
    support::UniqueVariant value;
    standin::UniqueBstr name = standin::MakeBstr(property);
    if (!browser || FAILED(browser->GetProperty(name.Get(), &value)) || value.vt != VT_BSTR)
        return {L"(failed)"};
    std::vector<std::wstring> names;
    const std::wstring text(value.bstrVal, ::SysStringLen(value.bstrVal));
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find(L'\n', start), text.size());
        names.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

HRESULT NavigateAcross(IWebBrowser2* browser, const std::wstring& target)
{
    standin::UniqueBstr text = standin::MakeBstr(target);
    VARIANT address;
    ::VariantInit(&address);
    address.vt = VT_BSTR;
    address.bstrVal = text.Get();
    VARIANT empty;
    ::VariantInit(&empty);
    return browser->Navigate2(&address, &empty, &empty, &empty, &empty);
}

}  // namespace testsupport
