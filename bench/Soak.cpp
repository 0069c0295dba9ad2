// A soak run: 1,000 interpreter start/stop cycles, then 200 band create/site/close/destroy cycles
// in the stand-in browser. The process's handles, GDI objects, threads and private bytes are
// printed at the start (after one warm-up cycle of each kind), between the two runs and at the
// end; all should stay flat.
#include "band/ConsoleCoreFactory.h"
#include "BrowserWindow.h"
#include "console/ConsoleProcess.h"
#include "shared/ProcessProbe.h"

#include <windows.h>
#include <psapi.h>
#include <wrl/client.h>

#include <cstdio>
#include <string>

namespace {

constexpr int InterpreterCycles = 1000;
constexpr int BandCycles = 200;

void PrintFigures(const char* when)
{
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof(memory));
    // Wine leaves PrivateUsage at 0 and fills the committed bytes in PagefileUsage.
    const SIZE_T privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
    std::printf("%-28s handles %5d  GDI objects %4lu  threads %3d  private bytes %8.1f KB\n", when,
                testsupport::CountOpenHandles(), ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
                testsupport::CountThreads(),
                static_cast<double>(privateBytes) / 1024.0);
    std::fflush(stdout);
}

// The interpreter's worker threads send to this window; its messages are run between cycles.
void RunPendingMessages()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

bool InterpreterCycle(HWND notifyWindow)
{
    console::ConsoleProcess interpreter;
    const BOOL started = interpreter.Start(notifyWindow, L"C:\\", nullptr);
    RunPendingMessages();
    interpreter.Stop();
    RunPendingMessages();
    return started != FALSE;
}

bool BandCycle(standin::BrowserWindow& window)
{
    Microsoft::WRL::ComPtr<IUnknown> band;
    if (FAILED(band::CreateConsoleCore(nullptr, IID_PPV_ARGS(&band))) || FAILED(window.SiteBand(band.Get())))
        return false;
    window.PumpPending();
    window.CloseBand();
    band.Reset();
    window.PumpPending();
    return true;
}

}  // namespace

int main()
{
    ::OleInitialize(nullptr);
    const HWND notifyWindow =
        ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    standin::BrowserWindow window;
    if (!notifyWindow || !window.Create(L"C:\\")) {
        std::printf("could not set up the soak\n");
        return 1;
    }
    if (!InterpreterCycle(notifyWindow) || !BandCycle(window)) {
        std::printf("the warm-up cycle failed\n");
        return 1;
    }
    PrintFigures("start");

    int failed = 0;
    ULONGLONG started = ::GetTickCount64();
    for (int cycle = 0; cycle < InterpreterCycles; ++cycle)
        failed += InterpreterCycle(notifyWindow) ? 0 : 1;
    std::printf("%d interpreter start/stop cycles in %.1f s, %d failed\n", InterpreterCycles,
                static_cast<double>(::GetTickCount64() - started) / 1000.0, failed);
    PrintFigures("after interpreter cycles");

    failed = 0;
    started = ::GetTickCount64();
    for (int cycle = 0; cycle < BandCycles; ++cycle)
        failed += BandCycle(window) ? 0 : 1;
    std::printf("%d band create/site/close/destroy cycles in %.1f s, %d failed\n", BandCycles,
                static_cast<double>(::GetTickCount64() - started) / 1000.0, failed);
    PrintFigures("end");

    window.Close();
    ::DestroyWindow(notifyWindow);
    ::OleUninitialize();
    return 0;
}
