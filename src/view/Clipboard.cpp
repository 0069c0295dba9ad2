#include "view/Clipboard.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace view {
namespace {

// Memory for the clipboard, freed unless the clipboard took it.
class ClipboardMemory {
public:
    explicit ClipboardMemory(size_t bytes) noexcept : memory(::GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    ~ClipboardMemory()
    {
        if (memory)
            ::GlobalFree(memory);
    }
    ClipboardMemory(const ClipboardMemory&) = delete;
    ClipboardMemory& operator=(const ClipboardMemory&) = delete;

    HGLOBAL Get() const noexcept { return memory; }
    void GiveAway() noexcept { memory = nullptr; }

private:
    HGLOBAL memory;
};

class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) noexcept : open(::OpenClipboard(owner) != FALSE) {}
    ~OpenClipboardScope()
    {
        if (open)
            ::CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

    bool IsOpen() const noexcept { return open; }

private:
    bool open;
};

bool FillFrom(const ClipboardMemory& memory, const std::wstring& text, size_t bytes) noexcept
{
    void* const target = ::GlobalLock(memory.Get());
    if (!target)
        return false;
    std::memcpy(target, text.c_str(), bytes);
    ::GlobalUnlock(memory.Get());
    return true;
}

}  // namespace

bool PutOnClipboard(HWND owner, const std::wstring& text)
{
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    ClipboardMemory memory(bytes);
    if (!memory.Get() || !FillFrom(memory, text, bytes))
        return false;
    const OpenClipboardScope clipboard(owner);
    if (!clipboard.IsOpen() || !::EmptyClipboard())
        return false;
    if (!::SetClipboardData(CF_UNICODETEXT, memory.Get()))
        return false;
    memory.GiveAway();
    return true;
}

std::optional<std::wstring> ClipboardText(HWND owner)
{
    const OpenClipboardScope clipboard(owner);
    if (!clipboard.IsOpen())
        return std::nullopt;
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    const auto* const text = data != nullptr ? static_cast<const wchar_t*>(::GlobalLock(data)) : nullptr;
    if (text == nullptr)
        return std::nullopt;
    // The memory may be larger than the text, and need not end in a null.
    const size_t capacity = ::GlobalSize(data) / sizeof(wchar_t);
    std::wstring copied(text, std::find(text, text + capacity, L'\0'));
    ::GlobalUnlock(data);
    return copied;
}

}  // namespace view
