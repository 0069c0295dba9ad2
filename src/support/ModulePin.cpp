#include "support/ModulePin.h"

namespace support {

HMODULE PinCodeModule() noexcept
{
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<LPCWSTR>(&PinCodeModule), &module))
        return nullptr;
    return module;
}

void ExitThreadReleasing(HMODULE pinned, DWORD exitCode) noexcept
{
    if (pinned != nullptr)
        ::FreeLibraryAndExitThread(pinned, exitCode);
    ::ExitThread(exitCode);
}

}  // namespace support
