#pragma once

#include <windows.h>

#include <string>

namespace standin {

// Registers a plain window class of this program on first use; later calls find it registered.
bool EnsureWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background = nullptr);

// The object a window of this program was created for (the creation parameter), kept in the
// window's user data from WM_NCCREATE on; null before that and after WM_NCDESTROY.
template <typename Owner>
Owner* WindowOwner(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        return owner;
    }
    auto* owner = reinterpret_cast<Owner*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY)
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return owner;
}

// Stretches the window's first child over its client area.
void FitFirstChild(HWND window);

// The window's text (its title, an edit control's contents).
std::wstring WindowText(HWND window);

}  // namespace standin
