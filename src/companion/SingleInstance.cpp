#include "companion/SingleInstance.h"

namespace companion {
namespace {

constexpr const wchar_t* MutexName = L"Local\\Brimblestone.Companion";
// A first program may still be making its window; one that ends takes this long at most.
constexpr DWORD FindWindowPatience = 5000;
constexpr DWORD ExitPatience = 15000;

HWND FindProgramWindow()
{
    const ULONGLONG giveUp = ::GetTickCount64() + FindWindowPatience;
    for (;;) {
        if (const HWND window = ::FindWindowW(ProgramWindowClassName, nullptr))
            return window;
        if (::GetTickCount64() >= giveUp)
            return nullptr;
        ::Sleep(100);
    }
}

}  // namespace

UINT InstanceRequestMessage() noexcept
{
    static const UINT message = ::RegisterWindowMessageW(L"Brimblestone.Companion.Request");
    return message;
}

SingleInstance::SingleInstance() : mutex(::CreateMutexW(nullptr, TRUE, MutexName))
{
    first = mutex && ::GetLastError() != ERROR_ALREADY_EXISTS;
}

bool AskRunningInstance(InstanceRequest request)
{
    const HWND window = FindProgramWindow();
    if (window == nullptr)
        return false;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    // The first program may bring its console to the front: the user started this one.
    ::AllowSetForegroundWindow(processId);
    const support::UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!::PostMessageW(window, InstanceRequestMessage(), static_cast<WPARAM>(request), 0))
        return false;
    if (request != InstanceRequest::Exit)
        return true;
    return process && ::WaitForSingleObject(process.Get(), ExitPatience) == WAIT_OBJECT_0;
}

}  // namespace companion
