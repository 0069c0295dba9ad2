#include "support/Diagnostics.h"

#include <cwchar>
#include <string>

namespace support {

HRESULT TraceFailure(const char* file, int line, HRESULT result) noexcept
{
    try {
        // Source paths are plain ASCII.
        std::wstring message = L"Brimblestone: ";
        for (const char* c = file; *c != '\0'; ++c)
            message.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
        wchar_t tail[48];
        std::swprintf(tail, sizeof(tail) / sizeof(tail[0]), L"(%d): HRESULT 0x%08lX\n", line,
                      static_cast<unsigned long>(result));
        message += tail;
        ::OutputDebugStringW(message.c_str());
    } catch (...) {
        // Out of memory: the trace is lost, the failure itself still goes to the caller.
    }
    return result;
}

void TraceLastError(const char* file, int line) noexcept
{
    const DWORD error = ::GetLastError();
    TraceFailure(file, line, HRESULT_FROM_WIN32(error));
    ::SetLastError(error);
}

}  // namespace support
