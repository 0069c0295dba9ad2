#include "support/WindowImpl.h"

#include <utility>

namespace support {

namespace {

// The object whose window is being created on this thread; its window's first message binds them.
thread_local CWindowImpl* beingCreated = nullptr;

constexpr const wchar_t* objectProperty = L"Brimblestone.WindowObject";

// Marks the object whose window the current CreateWindowExW call makes, also across nested creations.
class CreationScope {
public:
    explicit CreationScope(CWindowImpl* object) noexcept : previous(std::exchange(beingCreated, object)) {}
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;
    ~CreationScope() { beingCreated = previous; }

private:
    CWindowImpl* previous;
};

}  // namespace

HINSTANCE CWindowImpl::ModuleInstance() noexcept
{
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
    return module;
}

CWindowImpl::~CWindowImpl()
{
    if (!hwnd)
        return;
    const HWND window = std::exchange(hwnd, nullptr);
    Unbind(window);
    ::DestroyWindow(window);
}

WindowClass CWindowImpl::RegisterPlainClass(WNDCLASSEXW description) noexcept
{
    return Register(description, ::DefWindowProcW);
}

WindowClass CWindowImpl::RegisterSuperclass(const wchar_t* systemClass, const wchar_t* name) noexcept
{
    WNDCLASSEXW description{};
    description.cbSize = sizeof(description);
    if (!::GetClassInfoExW(nullptr, systemClass, &description) &&
        !::GetClassInfoExW(ModuleInstance(), systemClass, &description))
        return {};
    const WNDPROC systemProc = description.lpfnWndProc;
    description.lpszClassName = name;
    description.style &= ~CS_GLOBALCLASS;
    return Register(description, systemProc);
}

WindowClass CWindowImpl::Register(WNDCLASSEXW& description, WNDPROC superProc) noexcept
{
    description.cbSize = sizeof(description);
    description.lpfnWndProc = StartWindowProc;
    description.hInstance = ModuleInstance();
    ATOM atom = ::RegisterClassExW(&description);
    // A class left behind by an earlier load of this library points at code that is gone.
    if (!atom && ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS &&
        ::UnregisterClassW(description.lpszClassName, description.hInstance))
        atom = ::RegisterClassExW(&description);
    if (!atom)
        return {};
    return WindowClass{atom, superProc};
}

HWND CWindowImpl::CreateBoundWindow(const WindowClass& windowClass, HWND parent, const RECT& rect,
                                    const wchar_t* title, DWORD style, DWORD exStyle, UINT_PTR id) noexcept
{
    if (hwnd || !windowClass.atom)
        return nullptr;
    superProc = windowClass.superProc;
    const CreationScope scope(this);
    return ::CreateWindowExW(exStyle, MAKEINTATOM(windowClass.atom), title, style, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, parent,
                             reinterpret_cast<HMENU>(id), ModuleInstance(), nullptr);
}

LRESULT CWindowImpl::CallSuperProc(UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    return ::CallWindowProcW(superProc, hwnd, message, wParam, lParam);
}

void CWindowImpl::OnFinalMessage(HWND) {}

LRESULT CALLBACK CWindowImpl::StartWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWindowImpl* const object = std::exchange(beingCreated, nullptr);
    if (!object)
        return ::DefWindowProcW(window, message, wParam, lParam);
    object->Bind(window);
    return object->Dispatch(window, message, wParam, lParam);
}

LRESULT CALLBACK CWindowImpl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* const object = static_cast<CWindowImpl*>(::GetPropW(window, objectProperty));
    if (!object)
        return ::DefWindowProcW(window, message, wParam, lParam);
    return object->Dispatch(window, message, wParam, lParam);
}

void CWindowImpl::Bind(HWND window) noexcept
{
    hwnd = window;
    ::SetPropW(window, objectProperty, this);
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
}

void CWindowImpl::Unbind(HWND window) noexcept
{
    if (::GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowProc))
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superProc));
    ::RemovePropW(window, objectProperty);
}

LRESULT CWindowImpl::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    ++messageDepth;
    LRESULT result = 0;
    const BOOL handled = OfferToMap(window, message, wParam, lParam, result);
    // The class must always see its window go, or it keeps what it allocated for it.
    if (!handled || message == WM_NCDESTROY)
        result = ::CallWindowProcW(superProc, window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        Unbind(window);
        destroyed = true;
    }
    if (--messageDepth == 0 && destroyed)
        Finish(window);
    return result;
}

BOOL CWindowImpl::OfferToMap(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept
{
    try {
        return ProcessWindowMessage(window, message, wParam, lParam, result, 0);
    } catch (...) {
        // A handler that failed has answered nothing: the class answers in its place.
        result = 0;
        return FALSE;
    }
}

void CWindowImpl::Finish(HWND window) noexcept
{
    hwnd = nullptr;
    destroyed = false;
    try {
        OnFinalMessage(window);
    } catch (...) {
        // The window is gone already; nothing is left to answer.
    }
}

}  // namespace support
