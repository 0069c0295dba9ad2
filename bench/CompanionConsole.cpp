// Figures of a console that the companion docked to a browser window of another process:
// - docking: the time from the browser window's move to the console's matching move, median and
//   worst over 100 moves (out-of-context window events where the system sends them, the
//   companion's own checks where it does not: Wine 8 sends none across processes);
// - a keystroke's time to the screen, and a short command's from Enter to its output;
// - a flood of output (`type` of a 4 MB file) against the interpreter's raw output speed.
#include "BenchSupport.h"
#include "CompanionBench.h"

#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Moves = 100;
constexpr int Keystrokes = 50;
constexpr int Commands = 20;
constexpr std::size_t FloodBytes = 4 * 1024 * 1024;

double Now()
{
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void PrintSpread(const char* what, std::vector<double> times)
{
    if (times.empty()) {
        std::printf("%-52s none measured\n", what);
        return;
    }
    std::sort(times.begin(), times.end());
    std::printf("%-52s median %7.1f ms  worst %7.1f ms  (%zu)\n", what, times[times.size() / 2], times.back(),
                times.size());
}

// The console lies along the bottom of the window's client area, as wide as it.
bool Docked(HWND window, HWND dock)
{
    RECT client = {};
    RECT docked = {};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ::GetWindowRect(dock, &docked);
    return ::IsWindowVisible(dock) && docked.left == client.left && docked.right == client.right &&
           docked.bottom == client.bottom;
}

std::vector<double> DockingTimes(bench::CompanionBench& bench)
{
    std::vector<double> times;
    const HWND dock = bench.Dock();
    for (int move = 0; move < Moves; ++move) {
        const int x = 40 + (move % 2) * 60;
        const int y = 30 + (move % 3) * 25;
        const int width = 700 + (move % 4) * 20;
        const double start = Now();
        ::SetWindowPos(bench.window, nullptr, x, y, width, 480, SWP_NOZORDER | SWP_NOACTIVATE);
        if (bench.Pump([&] { return Docked(bench.window, dock); }, 10000))
            times.push_back(Now() - start);
    }
    return times;
}

std::vector<double> KeystrokeTimes(bench::CompanionBench& bench)
{
    std::vector<double> times;
    bench.StartLine(L"");
    for (int key = 0; key < Keystrokes; ++key) {
        const std::wstring typed(1, static_cast<wchar_t>(L'a' + key % 26));
        const std::wstring expected = bench.Text() + typed;
        const double start = Now();
        bench.Type(typed);
        if (bench.Pump([&] { return bench.Text() == expected; }, 10000))
            times.push_back(Now() - start);
    }
    bench.StartLine(L"");
    return times;
}

std::vector<double> CommandTimes(bench::CompanionBench& bench)
{
    std::vector<double> times;
    for (int command = 0; command < Commands; ++command) {
        const std::wstring word = L"ready" + std::to_wstring(command);
        bench.StartLine(L"echo " + word);
        const std::wstring answered = word + L"\r\n\r\n" + bench.prompt;
        const double start = Now();
        bench.Press(VK_RETURN);
        if (bench.Pump([&] { return bench::CompanionBench::EndsWith(bench.Text(), answered); }, 20000))
            times.push_back(Now() - start);
    }
    return times;
}

}  // namespace

int main()
{
    if (FAILED(::OleInitialize(nullptr)))
        return 2;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"bench-companion-console";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t full[MAX_PATH] = {};
    ::GetLongPathNameW(folder.c_str(), full, MAX_PATH);
    folder = full;
    const std::wstring flood = bench::CreateTextFile(folder, L"flood.txt", FloodBytes);
    {
        bench::CompanionBench companion;
        if (!companion.Open(folder, {L"--items-view"})) {
            std::printf("the companion's console did not start beside the stand-in browser\n");
            return 1;
        }
        PrintSpread("docking: browser window moved to console moved", DockingTimes(companion));
        PrintSpread("keystroke to the text box", KeystrokeTimes(companion));
        PrintSpread("\"echo\": Enter to its output and the next prompt", CommandTimes(companion));

        unsigned long long bytes = 0;
        const double raw = bench::RawSeconds(folder, L"flood.txt", bytes);
        companion.StartLine(L"type flood.txt");
        const std::wstring done = L"\r\n" + companion.prompt;
        const double start = Now();
        companion.Press(VK_RETURN);
        const bool finished =
            companion.Pump([&] { return bench::CompanionBench::EndsWith(companion.Text(), done); }, 600000);
        const double seconds = (Now() - start) / 1000.0;
        std::printf("%-52s %7.2f s  %6.2f MB/s  raw pipe %6.2f MB/s%s\n", "flood: type of 4 MB through the console",
                    seconds, static_cast<double>(FloodBytes) / bench::Megabyte / seconds,
                    static_cast<double>(bytes) / bench::Megabyte / raw, finished ? "" : "  (did not finish)");
        companion.following.Stop();
    }
    ::DeleteFileW(flood.c_str());
    ::RemoveDirectoryW(folder.c_str());
    ::OleUninitialize();
    return 0;
}
