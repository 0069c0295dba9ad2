// Interpreter output through the band in the stand-in browser. 256 KB of ordinary lines, of one
// line without any line end, and of progress lines that return to their start with CR alone:
// how long each takes to show against the ordinary lines. Then a flood: how fast it is shown
// against the interpreter's raw output speed. For each, the longest stretch the window's thread
// spends inside the band, and what the text box holds at the end.
#include "band/ConsoleCoreFactory.h"
#include "BrowserWindow.h"

#include <windows.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "BenchSupport.h"

namespace {

constexpr ULONGLONG Bound = 600000;

struct FloodFigures {
    double seconds = 0;
    double processorSeconds = 0;  // spent by this process: the band, its readers, the browser
    double longestStretchMs = 0;
    int heldCharacters = 0;
    bool finished = false;
};

double ProcessorSeconds()
{
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& time) {
        return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

HWND TextBoxOf(standin::BrowserWindow& browser)
{
    return ::FindWindowExW(browser.BandWindow(), nullptr, L"Brimblestone Editbox", nullptr);
}

// The last line of the text box, where the interpreter's prompt stands once it is done.
std::wstring LastLine(HWND textBox)
{
    const LRESULT lines = ::SendMessageW(textBox, EM_GETLINECOUNT, 0, 0);
    wchar_t line[512] = {};
    *reinterpret_cast<WORD*>(line) = 511;
    const LRESULT copied = ::SendMessageW(textBox, EM_GETLINE, static_cast<WPARAM>(lines - 1),
                                          reinterpret_cast<LPARAM>(line));
    return std::wstring(line, static_cast<size_t>(copied));
}

// Pumps the thread as the browser does, timing every stretch spent handling messages: sent
// messages (the interpreter's output) are handled inside PeekMessageW.
bool PumpUntilPrompt(standin::BrowserWindow& browser, const std::wstring& prompt, FloodFigures& figures)
{
    const HWND textBox = TextBoxOf(browser);
    const ULONGLONG deadline = ::GetTickCount64() + Bound;
    ULONGLONG nextCheck = 0;
    while (::GetTickCount64() < deadline) {
        ::MsgWaitForMultipleObjectsEx(0, nullptr, 50, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        for (;;) {
            LARGE_INTEGER started;
            LARGE_INTEGER ended;
            ::QueryPerformanceCounter(&started);
            MSG message;
            const BOOL got = ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
            if (got && !browser.RouteMessage(message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
            ::QueryPerformanceCounter(&ended);
            figures.longestStretchMs = std::max(figures.longestStretchMs, Milliseconds(started, ended));
            if (!got)
                break;
        }
        if (::GetTickCount64() >= nextCheck) {
            nextCheck = ::GetTickCount64() + 100;
            if (LastLine(textBox) == prompt)
                return true;
        }
    }
    return false;
}

FloodFigures Flood(const std::wstring& folder, const wchar_t* name)
{
    FloodFigures figures;
    standin::BrowserWindow browser;
    Microsoft::WRL::ComPtr<IUnknown> band;
    if (!browser.Create(folder) || FAILED(band::CreateConsoleCore(nullptr, IID_PPV_ARGS(&band))) ||
        FAILED(browser.SiteBand(band.Get())))
        return figures;
    const std::wstring prompt = folder + L">";
    FloodFigures ignored;
    PumpUntilPrompt(browser, prompt, ignored);

    const HWND textBox = TextBoxOf(browser);
    browser.ActivateBand(true);
    browser.TypeText(textBox, std::wstring(L"type ") + name);
    const ULONGLONG started = ::GetTickCount64();
    const double processorAtStart = ProcessorSeconds();
    browser.PressKey(textBox, VK_RETURN);
    figures.finished = PumpUntilPrompt(browser, prompt, figures);
    figures.seconds = bench::Seconds(::GetTickCount64() - started);
    figures.processorSeconds = ProcessorSeconds() - processorAtStart;
    figures.heldCharacters = ::GetWindowTextLengthW(textBox);
    browser.Close();
    return figures;
}

}  // namespace

// With the argument "shapes" only the three 256 KB shapes run, without the 16 MB flood.
int main(int argc, char** argv)
{
    const bool shapesOnly = argc > 1 && std::string(argv[1]) == "shapes";
    wchar_t temporary[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temporary);
    std::wstring folder = std::wstring(temporary) + L"brimblestone-flood";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t longForm[MAX_PATH] = {};
    ::GetLongPathNameW(folder.c_str(), longForm, MAX_PATH);
    folder = longForm;

    const std::size_t quarter = 256u << 10;
    struct Shape {
        const wchar_t* name;
        const char* what;
        std::string content;
    };
    const Shape shapes[] = {
        {L"lines.txt", "256 KB of lines", bench::TextLines(quarter)},
        {L"oneline.txt", "256 KB without a line end", std::string(quarter, 'x')},
        {L"progress.txt", "256 KB of CR progress lines", bench::TextLines(quarter, "\r")},
    };
    bool finished = true;
    double linesSeconds = 0;
    for (const Shape& shape : shapes) {
        const std::wstring path = bench::WriteTextFile(folder, shape.name, shape.content);
        const FloodFigures figures = Flood(folder, shape.name);
        ::DeleteFileW(path.c_str());
        if (linesSeconds == 0)
            linesSeconds = figures.seconds;
        std::printf("%-28s %6.2f s, %4.2fx the lines, longest stretch %6.1f ms, text box holds %d%s\n", shape.what,
                    figures.seconds, figures.seconds / linesSeconds, figures.longestStretchMs, figures.heldCharacters,
                    figures.finished ? "" : " (prompt never came back)");
        finished = finished && figures.finished;
    }
    if (shapesOnly) {
        ::RemoveDirectoryW(folder.c_str());
        return finished ? 0 : 1;
    }

    const wchar_t* name = L"sixteen.txt";
    const std::size_t size = 16u << 20;
    const std::wstring path = bench::CreateTextFile(folder, name, size);

    unsigned long long rawBytes = 0;
    const double raw = bench::RawSeconds(folder, name, rawBytes);
    const double rawRate = static_cast<double>(rawBytes) / bench::Megabyte / raw;
    const FloodFigures flood = Flood(folder, name);
    const double shownRate = static_cast<double>(size) / bench::Megabyte / flood.seconds;

    std::printf("16 MB type: raw pipe %.2f MB/s, shown by the band %.2f MB/s, ratio %.2f%s\n", rawRate, shownRate,
                shownRate / rawRate, flood.finished ? "" : " (prompt never came back)");
    std::printf("longest stretch of the window's thread handling messages: %.1f ms\n", flood.longestStretchMs);
    std::printf("processor time of the band's process: %.1f s in %.1f s\n", flood.processorSeconds, flood.seconds);
    std::printf("text box holds %d characters at the end\n", flood.heldCharacters);
    ::DeleteFileW(path.c_str());
    ::RemoveDirectoryW(folder.c_str());
    return finished && flood.finished ? 0 : 1;
}
