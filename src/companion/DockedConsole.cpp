#include "companion/DockedConsole.h"

#include "companion/DockPlacement.h"
#include "settings/ConsoleSettings.h"
#include "support/Diagnostics.h"
#include "view/DpiFont.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

namespace companion {
namespace {

// The strip along the top edge that the user drags, in pixels at 100 % scaling.
constexpr int GripAt96 = 5;

support::WindowClass DockWindowClass()
{
    static const support::WindowClass registered = [] {
        WNDCLASSEXW description = {};
        description.cbSize = sizeof(description);
        description.style = CS_DBLCLKS;
        description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
        description.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        description.lpszClassName = L"Brimblestone Dock";
        return support::CWindowImpl::RegisterPlainClass(description);
    }();
    return registered;
}

std::wstring WindowText(HWND window)
{
    std::vector<wchar_t> text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1);
    const int length = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return std::wstring(text.data(), static_cast<size_t>(std::max(length, 0)));
}

}  // namespace

DockedConsole::DockedConsole(HWND folderWindow, session::HostBrowser& browser, HMODULE helperLibrary,
                             int heightAt96, Callbacks callbacks)
    : folderWindow(folderWindow),
      helperLibrary(helperLibrary),
      heightAt96(heightAt96),
      callbacks(std::move(callbacks)),
      console(browser, *this, settings::HostKind::Companion)
{
}

// The console goes first, with its interpreter; the window follows.
DockedConsole::~DockedConsole()
{
    if (dropTarget) {
        ::RevokeDragDrop(GetHwnd());
        dropTarget->Detach();
    }
    console.Close();
}

bool DockedConsole::Open()
{
    if (GetHwnd() == nullptr &&
        !CreateBoundWindow(DockWindowClass(), nullptr, RECT{}, L"Brimblestone", WS_POPUP | WS_CLIPCHILDREN,
                           WS_EX_TOOLWINDOW, 0)) {
        BRIMBLESTONE_TRACE_LAST_ERROR();
        return false;
    }
    if (!console.Open())
        return false;
    if (!dropTarget) {
        dropTarget = ConsoleDropTarget::Create(GetHwnd(), [this](std::vector<std::wstring> paths) {
            console.FilesDropped(std::move(paths));
        });
        if (FAILED(BRIMBLESTONE_TRACE_HRESULT(::RegisterDragDrop(GetHwnd(), dropTarget.Get()))))
            dropTarget.Reset();
    }
    LayOut();
    console.StartInterpreter();
    Dock();
    return true;
}

void DockedConsole::Activate()
{
    Dock();
    ::SetForegroundWindow(GetHwnd());
    console.Show();
}

bool DockedConsole::Dock()
{
    if (GetHwnd() == nullptr)
        return false;
    if (const std::optional<RECT> rectangle = DockRectangle(folderWindow, heightAt96, LeastHeight()))
        return KeepAboveFolderWindow(*rectangle);
    if (!::IsWindowVisible(GetHwnd()))
        return false;
    ::ShowWindow(GetHwnd(), SW_HIDE);
    return true;
}

void DockedConsole::SetHeight(int newHeightAt96)
{
    heightAt96 = newHeightAt96;
    Dock();
}

// Nothing moves when all is in place: the checks that keep a console docked come often.
bool DockedConsole::KeepAboveFolderWindow(const RECT& rectangle)
{
    const HWND window = GetHwnd();
    RECT now = {};
    ::GetWindowRect(window, &now);
    bool directlyAbove = ::GetWindow(folderWindow, GW_HWNDPREV) == window;
    if (directlyAbove && ::IsWindowVisible(window) && ::EqualRect(&now, &rectangle))
        return false;
    // While the user works in the console, the Explorer window comes up under it rather than the
    // console going down behind whatever covers the Explorer window.
    if (!directlyAbove && ::GetForegroundWindow() == window) {
        ::SetWindowPos(folderWindow, window, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        directlyAbove = ::GetWindow(folderWindow, GW_HWNDPREV) == window;
    }
    UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;
    const HWND insertAfter = directlyAbove ? nullptr : InsertAfterFor(folderWindow, window);
    if (directlyAbove)
        flags |= SWP_NOZORDER;
    ::SetWindowPos(window, insertAfter, rectangle.left, rectangle.top, rectangle.right - rectangle.left,
                   rectangle.bottom - rectangle.top, flags);
    return true;
}

bool DockedConsole::RouteKey(MSG& message)
{
    if (GetHwnd() == nullptr || message.hwnd == nullptr || ::GetAncestor(message.hwnd, GA_ROOT) != GetHwnd())
        return false;
    // Esc on an empty command line changes nothing in the console: the focus goes back to Explorer.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        const HWND box = message.hwnd;
        const std::wstring before = WindowText(box);
        console.TranslateKey(message);
        if (::IsWindow(box) && WindowText(box) == before)
            GiveFocusBack();
        return true;
    }
    console.TranslateKey(message);
    return true;
}

// The console and this window stay while the window runs: its owner keeps every request to close
// them until it has closed, and hears when it has.
void DockedConsole::RunModal(const std::function<void()>& window)
{
    ++modalWindows;
    window();
    --modalWindows;
    if (callbacks.modalEnded)
        callbacks.modalEnded();
}

void DockedConsole::GiveFocusBack()
{
    ::SetForegroundWindow(folderWindow);
}

int DockedConsole::GripHeight() const noexcept
{
    return ::MulDiv(GripAt96, static_cast<int>(view::WindowDpi(GetHwnd())), 96);
}

// One row of the console's font under the grip, whatever height the user chose.
int DockedConsole::LeastHeight() const noexcept
{
    return console.Window() != nullptr ? GripHeight() + console.RowHeight() : 0;
}

void DockedConsole::LayOut()
{
    if (console.Window() == nullptr)
        return;
    RECT client = {};
    ::GetClientRect(GetHwnd(), &client);
    const int grip = std::min(GripHeight(), static_cast<int>(client.bottom));
    ::MoveWindow(console.Window(), 0, grip, client.right, client.bottom - grip, TRUE);
}

// The new height runs from the pointer to the bottom of the console, within the settings' range.
void DockedConsole::DragTo(int screenY)
{
    RECT now = {};
    ::GetWindowRect(GetHwnd(), &now);
    const int dpi = static_cast<int>(view::WindowDpi(folderWindow));
    const int chosen = ::MulDiv(static_cast<int>(now.bottom) - screenY, 96, dpi);
    heightAt96 = std::clamp(chosen, settings::limits::MinDockedHeight, settings::limits::MaxDockedHeight);
    Dock();
}

BOOL DockedConsole::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                         DWORD mapId)
{
    if (mapId != 0)
        return FALSE;
    result = 0;
    switch (message) {
    case WM_SIZE:
        LayOut();
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            console.Activate(true);
            Dock();
        }
        return TRUE;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT pointer = {};
            ::GetCursorPos(&pointer);
            ::ScreenToClient(window, &pointer);
            if (pointer.y < GripHeight()) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS));
                result = TRUE;
                return TRUE;
            }
        }
        return FALSE;
    case WM_LBUTTONDOWN:
        if (GET_Y_LPARAM(lParam) < GripHeight()) {
            dragging = true;
            ::SetCapture(window);
        }
        return TRUE;
    case WM_MOUSEMOVE:
        if (dragging) {
            POINT pointer = {0, GET_Y_LPARAM(lParam)};
            ::ClientToScreen(window, &pointer);
            DragTo(pointer.y);
        }
        return TRUE;
    case WM_LBUTTONUP:
        if (dragging)
            ::ReleaseCapture();
        return TRUE;
    case WM_CAPTURECHANGED:
        if (dragging) {
            dragging = false;
            if (callbacks.heightChosen)
                callbacks.heightChosen(heightAt96);
        }
        return TRUE;
    case WM_CLOSE:
        if (callbacks.closeAsked)
            callbacks.closeAsked();
        return TRUE;
    case WM_DPICHANGED:
        // The Explorer window's monitor decides the size, not the one the system suggests.
        Dock();
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace companion
