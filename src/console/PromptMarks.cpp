#include "console/PromptMarks.h"

#include <windows.h>
#include <objbase.h>

namespace console {
namespace {

constexpr wchar_t Digits[] = L"0123456789ABCDEF";

std::wstring Hexadecimal(const unsigned char* bytes, std::size_t count)
{
    std::wstring digits;
    for (std::size_t i = 0; i < count; ++i) {
        digits += Digits[bytes[i] >> 4];
        digits += Digits[bytes[i] & 0xF];
    }
    return digits;
}

// A version 4 GUID is random. Should the system give none, the moment and the process still tell
// this interpreter's marks from any other's.
GUID RandomBytes()
{
    GUID guid = {};
    if (FAILED(::CoCreateGuid(&guid))) {
        LARGE_INTEGER now = {};
        ::QueryPerformanceCounter(&now);
        guid.Data1 = ::GetCurrentProcessId();
        guid.Data2 = static_cast<unsigned short>(::GetCurrentThreadId());
        static_assert(sizeof(now.QuadPart) == sizeof(guid.Data4), "the moment fills the last part");
        ::CopyMemory(guid.Data4, &now.QuadPart, sizeof(guid.Data4));
    }
    return guid;
}

}  // namespace

PromptMarks PromptMarks::Drawn()
{
    const GUID random = RandomBytes();
    return PromptMarks(Hexadecimal(reinterpret_cast<const unsigned char*>(&random), sizeof(random)));
}

PromptMarks::PromptMarks(const std::wstring& nonce)
    : nonce(nonce),
      folderMarkStart(std::wstring(1, Escape) + L"]133;A;" + nonce + L";"),
      endMark(std::wstring(1, Escape) + L"]133;B;" + nonce + Escape + Terminator)
{
}

std::wstring PromptMarks::PromptCommand() const
{
    return L"prompt $E]133;A;" + nonce + L";$P$E\\$P$G$E]133;B;" + nonce + L"$E\\";
}

}  // namespace console
