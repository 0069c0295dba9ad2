// Throughput of the interpreter's output: read straight from a pipe, against delivered through
// ConsoleProcess (512-byte reads, queued, taken by the window on each notice) to a window that only counts.
#include "console/ConsoleProcess.h"
#include "console/ConsoleMessages.h"
#include "support/UniqueHandle.h"

#include "BenchSupport.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using bench::CreateTextFile;
using bench::Megabyte;
using bench::RawSeconds;
using bench::Seconds;
constexpr ULONGLONG Bound = 120000;

struct Counter {
    console::ConsoleProcess* source = nullptr;
    std::wstring taken;
    unsigned long long characters = 0;
    ULONGLONG firstArrival = 0;
    ULONGLONG lastArrival = 0;
    bool endsWithPrompt = false;
};

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* counter = reinterpret_cast<Counter*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (counter && message == console::OutputWaitingMessage) {
        counter->taken.clear();
        if (counter->source == nullptr || !counter->source->TakeOutput(counter->taken))
            return 0;
        const wchar_t* text = counter->taken.c_str();
        const std::size_t length = counter->taken.size();
        const ULONGLONG now = ::GetTickCount64();
        if (!counter->firstArrival)
            counter->firstArrival = now;
        counter->lastArrival = now;
        counter->characters += length;
        counter->endsWithPrompt = length > 0 && text[length - 1] == L'>';
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void PumpUntil(const Counter& counter, unsigned long long characters)
{
    const ULONGLONG deadline = ::GetTickCount64() + Bound;
    while (!(counter.characters >= characters && counter.endsWithPrompt) && ::GetTickCount64() < deadline) {
        ::MsgWaitForMultipleObjectsEx(0, nullptr, 100, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    }
}

// Seconds from the first delivered chunk to the prompt after `type`, through ConsoleProcess.
double DeliveredSeconds(HWND window, Counter& counter, const std::wstring& folder, const wchar_t* name,
                        unsigned long long size)
{
    console::ConsoleProcess console;
    counter = Counter();
    counter.source = &console;
    if (!console.Start(window, folder.c_str(), nullptr))
        return 0;
    PumpUntil(counter, 1);
    counter = Counter();
    counter.source = &console;
    const std::wstring line = std::wstring(L"type ") + name + L"\r\n";
    console.WriteLine(line.c_str());
    PumpUntil(counter, size);
    const double seconds = Seconds(counter.lastArrival - counter.firstArrival);
    console.Stop();
    counter.source = nullptr;
    return seconds;
}

}  // namespace

int main()
{
    wchar_t temporary[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temporary);
    const std::wstring folder = std::wstring(temporary) + L"brimblestone throughput";
    ::CreateDirectoryW(folder.c_str(), nullptr);

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = CountingProcedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Brimblestone throughput counter";
    ::RegisterClassW(&windowClass);
    support::UniqueWindow window(::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                                   nullptr, windowClass.hInstance, nullptr));
    Counter counter;
    ::SetWindowLongPtrW(window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&counter));

    const struct {
        const wchar_t* name;
        std::size_t size;
    } files[] = {{L"four.txt", 4u << 20}, {L"sixteen.txt", 16u << 20}};
    // The best of a few rounds: the interpreter's own speed varies with whatever else the machine does.
    constexpr int Rounds = 3;
    for (const auto& file : files) {
        const std::wstring path = CreateTextFile(folder, file.name, file.size);
        double rawRate = 0;
        double deliveredRate = 0;
        for (int round = 0; round < Rounds; ++round) {
            unsigned long long rawBytes = 0;
            const double raw = RawSeconds(folder, file.name, rawBytes);
            const double delivered = DeliveredSeconds(window.Get(), counter, folder, file.name, file.size);
            rawRate = std::max(rawRate, static_cast<double>(rawBytes) / Megabyte / raw);
            deliveredRate = std::max(deliveredRate, static_cast<double>(counter.characters) / Megabyte / delivered);
        }
        std::printf("%2u MB: raw pipe %.2f MB/s, delivered %.2f MB/s, ratio %.2f (best of %d)\n",
                    static_cast<unsigned>(file.size >> 20), rawRate, deliveredRate, deliveredRate / rawRate, Rounds);
        ::DeleteFileW(path.c_str());
    }
    ::RemoveDirectoryW(folder.c_str());
    return 0;
}
