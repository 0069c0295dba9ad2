#pragma once

#include <windows.h>

namespace support {

// A window class registered by this module, and the procedure that gets the messages that
// the class's objects leave unhandled.
struct WindowClass {
    ATOM atom = 0;
    WNDPROC superProc = ::DefWindowProcW;
};

// Base of a window whose messages are routed to a C++ object through its message map.
// Windows of classes registered through RegisterPlainClass or RegisterSuperclass are bound
// to their object on their very first message, so the map sees the creation messages too.
class CWindowImpl {
public:
    CWindowImpl() noexcept = default;
    CWindowImpl(const CWindowImpl&) = delete;
    CWindowImpl& operator=(const CWindowImpl&) = delete;
    // A window still alive is destroyed without the object: it must not call into a dead one.
    virtual ~CWindowImpl();

    // The message map: TRUE when the message is handled, with its answer in result.
    // Map 0 is the window's own; a window may offer its messages to another object's map.
    virtual BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result, DWORD mapId) = 0;

    HWND GetHwnd() const noexcept { return hwnd; }

    // The module that holds this code: the library, or the program it is linked into.
    static HINSTANCE ModuleInstance() noexcept;
    // Registers a class of this module; the description's procedure and instance are filled in.
    static WindowClass RegisterPlainClass(WNDCLASSEXW description) noexcept;
    // Registers a class of this module that behaves as the system class unless the map says otherwise.
    static WindowClass RegisterSuperclass(const wchar_t* systemClass, const wchar_t* name) noexcept;

protected:
    // Creates the window bound to this object; null when it exists already or creation fails.
    HWND CreateBoundWindow(const WindowClass& windowClass, HWND parent, const RECT& rect,
                           const wchar_t* title, DWORD style, DWORD exStyle, UINT_PTR id) noexcept;

    // What the window's class does with a message when the map leaves it alone.
    LRESULT CallSuperProc(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    // Called once the window is gone and its outermost message has returned.
    virtual void OnFinalMessage(HWND window);

private:
    static LRESULT CALLBACK StartWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static WindowClass Register(WNDCLASSEXW& description, WNDPROC superProc) noexcept;

    void Bind(HWND window) noexcept;
    void Unbind(HWND window) noexcept;
    LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    BOOL OfferToMap(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept;
    void Finish(HWND window) noexcept;

    HWND hwnd = nullptr;
    WNDPROC superProc = ::DefWindowProcW;
    int messageDepth = 0;
    bool destroyed = false;
};

}  // namespace support
