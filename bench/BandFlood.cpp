// Interpreter output through the band in the stand-in browser. 256 KB of ordinary lines, of one
// line without any line end, of progress lines that return to their start with CR alone, and of
// lines of 3,000 characters without a space (a minified file, a dump): how long each takes to show
// against the ordinary lines, and the longest stretch of the window's thread. Then a 16 MB `type`: how fast it is
// shown against the interpreter's raw output speed, the longest stretch of the window's thread,
// the processor time of the band's process until the final screen and until the scrollback is
// complete, and its peak private memory. Then floods written by a program that notes when it wrote
// its last byte: how long after that the text box shows it; and a flood during which keys are
// typed: how long each waits for its answer.
//
// The window's thread is pumped as the browser pumps it, and each message handled is timed: a
// stretch is one PeekMessage with what it dispatches, sent messages (the interpreter's end) handled
// inside it included, timer turns and drawing each on their own.
#include "band/ConsoleCoreFactory.h"
#include "BrowserWindow.h"

#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchSupport.h"

namespace {

constexpr ULONGLONG Bound = 600000;
// The scrollback is complete once the text box has not changed for this long after the final screen.
constexpr ULONGLONG SettledMs = 1500;
// How often the text box is looked at, and keys are typed during a flood.
constexpr double LookEveryMs = 2;
constexpr ULONGLONG KeyEveryMs = 700;
constexpr wchar_t KeyTyped = L'#';  // in none of the flood's lines

struct FloodFigures {
    double seconds = 0;           // from Enter to the final screen
    double processorSeconds = 0;  // spent by this process meanwhile: the band, its readers, the browser
    double windowThreadSeconds = 0;  // of which by the window's thread
    double completeSeconds = 0;   // from Enter until the scrollback is complete
    double processorToCompleteSeconds = 0;
    double longestStretchMs = 0;
    double finalScreenCounter = 0;  // performance counter in milliseconds when the final screen came
    double longestKeyMs = 0;        // from a key typed to its answer on the screen
    int keys = 0;
    int heldCharacters = 0;
    bool finished = false;
};

double Seconds(const FILETIME& time)
{
    return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
}

double ProcessorSeconds()
{
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

double ThreadProcessorSeconds()
{
    FILETIME created, exited, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

double CounterMs()
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

HWND TextBoxOf(standin::BrowserWindow& browser)
{
    return ::FindWindowExW(browser.BandWindow(), nullptr, L"Brimblestone Editbox", nullptr);
}

std::wstring LineOf(HWND textBox, LRESULT line)
{
    wchar_t text[512] = {};
    *reinterpret_cast<WORD*>(text) = 511;
    const LRESULT copied = ::SendMessageW(textBox, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(text));
    return std::wstring(text, static_cast<size_t>(copied));
}

// The final screen: the interpreter's prompt on the last line, or the flood's last line right above
// an empty one (the prompt still to come).
bool ShowsTheEnd(HWND textBox, const std::wstring& prompt, const std::wstring& lastLine)
{
    const LRESULT lines = ::SendMessageW(textBox, EM_GETLINECOUNT, 0, 0);
    const std::wstring last = LineOf(textBox, lines - 1);
    return last == prompt || (!lastLine.empty() && last.empty() && lines > 1 && LineOf(textBox, lines - 2) == lastLine);
}

// Pumps the thread as the browser does, timing every stretch spent handling messages. One message
// at a time, so that the text box is looked at between any two: a key's answer or the final screen
// is seen as soon as it shows, however many messages wait behind it.
class Pump {
public:
    Pump(standin::BrowserWindow& browser, FloodFigures& figures) : browser(browser), figures(figures) {}

    void Once(DWORD waitMs)
    {
        ::MsgWaitForMultipleObjectsEx(0, nullptr, waitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        const double started = CounterMs();
        MSG message;
        if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && !browser.RouteMessage(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        figures.longestStretchMs = std::max(figures.longestStretchMs, CounterMs() - started);
    }

private:
    standin::BrowserWindow& browser;
    FloodFigures& figures;
};

// Types a key now and then until the end shows: a letter, then Esc once the letter is on the command
// line; each is timed until its answer shows.
class KeyProbe {
public:
    explicit KeyProbe(HWND textBox) : textBox(textBox) {}

    void Look(FloodFigures& figures)
    {
        const double now = CounterMs();
        if (state == State::Idle) {
            if (now - sentAt < KeyEveryMs)
                return;
            ::PostMessageW(textBox, WM_CHAR, KeyTyped, 1);
            state = State::Typed;
            sentAt = now;
        } else if (state == State::Typed && EndsWithKey()) {
            Answered(figures, now);
            ::PostMessageW(textBox, WM_KEYDOWN, VK_ESCAPE, 1);
            ::PostMessageW(textBox, WM_KEYUP, VK_ESCAPE, 1 | (LPARAM{1} << 30) | (LPARAM{1} << 31));
            state = State::Cleared;
            sentAt = now;
        } else if (state == State::Cleared && !EndsWithKey()) {
            Answered(figures, now);
            state = State::Idle;
        }
    }
    bool Idle() const { return state == State::Idle; }

private:
    enum class State { Idle, Typed, Cleared };

    bool EndsWithKey() const
    {
        const std::wstring last = LineOf(textBox, ::SendMessageW(textBox, EM_GETLINECOUNT, 0, 0) - 1);
        return !last.empty() && last.back() == KeyTyped;
    }
    void Answered(FloodFigures& figures, double now)
    {
        figures.longestKeyMs = std::max(figures.longestKeyMs, now - sentAt);
        ++figures.keys;
    }

    HWND textBox;
    State state = State::Idle;
    double sentAt = 0;
};

// Runs a command in the band until the final screen shows, then until the scrollback is complete.
FloodFigures Flood(const std::wstring& folder, const std::wstring& command, const std::wstring& lastLine,
                   bool typeKeys = false)
{
    FloodFigures figures;
    standin::BrowserWindow browser;
    Microsoft::WRL::ComPtr<IUnknown> band;
    if (!browser.Create(folder) || FAILED(band::CreateConsoleCore(nullptr, IID_PPV_ARGS(&band))) ||
        FAILED(browser.SiteBand(band.Get())))
        return figures;
    const HWND textBox = TextBoxOf(browser);
    const std::wstring prompt = folder + L">";
    FloodFigures ignored;
    Pump warmUp(browser, ignored);
    for (const ULONGLONG deadline = ::GetTickCount64() + Bound;
         !ShowsTheEnd(textBox, prompt, L"") && ::GetTickCount64() < deadline;)
        warmUp.Once(50);

    browser.ActivateBand(true);
    browser.TypeText(textBox, command);
    Pump pump(browser, figures);
    KeyProbe keys(textBox);
    const ULONGLONG started = ::GetTickCount64();
    const double processorAtStart = ProcessorSeconds();
    const double threadAtStart = ThreadProcessorSeconds();
    browser.PressKey(textBox, VK_RETURN);
    const ULONGLONG deadline = started + Bound;
    double lookedAt = 0;
    int length = -1;
    while (!figures.finished && ::GetTickCount64() < deadline) {
        pump.Once(5);
        if (CounterMs() - lookedAt < LookEveryMs)
            continue;
        lookedAt = CounterMs();
        if (typeKeys)
            keys.Look(figures);
        // The text box is read only when it has changed.
        const int now = ::GetWindowTextLengthW(textBox);
        if (now == length || !keys.Idle())
            continue;
        length = now;
        figures.finished = ShowsTheEnd(textBox, prompt, lastLine);
    }
    figures.finalScreenCounter = CounterMs();
    figures.seconds = bench::Seconds(::GetTickCount64() - started);
    figures.processorSeconds = ProcessorSeconds() - processorAtStart;
    figures.windowThreadSeconds = ThreadProcessorSeconds() - threadAtStart;
    // The rest of the scrollback is laid out after the final screen.
    ULONGLONG changed = ::GetTickCount64();
    while (::GetTickCount64() - changed < SettledMs && ::GetTickCount64() < deadline) {
        pump.Once(20);
        const int now = ::GetWindowTextLengthW(textBox);
        if (now != length) {
            length = now;
            changed = ::GetTickCount64();
        }
    }
    figures.completeSeconds = bench::Seconds(changed - started);
    figures.processorToCompleteSeconds = ProcessorSeconds() - processorAtStart;
    figures.heldCharacters = ::GetWindowTextLengthW(textBox);
    browser.Close();
    return figures;
}

std::wstring LastLineOf(const std::string& content)
{
    const std::size_t end = content.find_last_not_of("\r\n") + 1;
    const std::size_t start = content.rfind('\n', end - 1) + 1;
    return std::wstring(content.begin() + static_cast<std::ptrdiff_t>(start),
                        content.begin() + static_cast<std::ptrdiff_t>(end));
}

double PeakPrivateMegabytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.PeakPagefileUsage) / bench::Megabyte;
}

// Run by the interpreter: writes the file to standard output as `type` does, in 8 KB writes, then
// notes the performance counter (in milliseconds) of its last byte in the stamp file.
int WriteFlood(const wchar_t* name, const wchar_t* stamp)
{
    support::UniqueFileHandle file(
        ::CreateFileW(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    std::vector<char> buffer(8192);
    DWORD read = 0;
    DWORD written = 0;
    while (::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) && read > 0)
        ::WriteFile(output, buffer.data(), read, &written, nullptr);
    const std::string noted = std::to_string(CounterMs());
    support::UniqueFileHandle stampFile(
        ::CreateFileW(stamp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ::WriteFile(stampFile.Get(), noted.data(), static_cast<DWORD>(noted.size()), &written, nullptr);
    return 0;
}

double ReadStamp(const std::wstring& path)
{
    support::UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    char text[64] = {};
    DWORD read = 0;
    ::ReadFile(file.Get(), text, sizeof(text) - 1, &read, nullptr);
    return std::atof(text);
}

std::wstring ThisProgram()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

// Megabytes a second that a plain reader reads of `cmd /c type name`.
double RawRate(const std::wstring& folder, const wchar_t* name)
{
    unsigned long long bytes = 0;
    const double seconds = bench::RawSeconds(folder, name, bytes);
    return seconds > 0 ? static_cast<double>(bytes) / bench::Megabyte / seconds : 0;
}

// Lines of `length` characters that the text box can break nowhere, as a minified file or a dump has them.
std::string LongLines(std::size_t size, std::size_t length)
{
    const std::string line = std::string(length, 'y') + "\r\n";
    std::string content;
    while (content.size() + line.size() <= size)
        content += line;
    content.append(size - content.size(), 'y');
    return content;
}

}  // namespace

// With the argument "shapes" only the three 256 KB shapes run, without the floods; with "flood" only
// the raw pipe and the 16 MB `type` run, to look at one flood's figures quickly.
int main()
{
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argc == 4 && std::wstring(argv[1]) == L"write")
        return WriteFlood(argv[2], argv[3]);
    const bool shapesOnly = argc > 1 && std::wstring(argv[1]) == L"shapes";
    const bool floodOnly = argc > 1 && std::wstring(argv[1]) == L"flood";
    ::LocalFree(argv);
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
        {L"long.txt", "256 KB of 3,000-char lines", LongLines(quarter, 3000)},
    };
    bool finished = true;
    double linesSeconds = 0;
    for (const Shape& shape : shapes) {
        if (floodOnly)
            break;
        const std::wstring path = bench::WriteTextFile(folder, shape.name, shape.content);
        const FloodFigures figures = Flood(folder, std::wstring(L"type ") + shape.name, L"");
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
    const std::string content = bench::TextLines(size);
    const std::wstring path = bench::WriteTextFile(folder, name, content);
    const std::wstring lastLine = LastLineOf(content);

    // The raw pipe is read before and after the band's flood, and the band is held against both
    // readings' mean: under Wine the interpreter's speed drifts with the machine's load by more than
    // the difference looked for.
    const double rawBefore = RawRate(folder, name);
    const FloodFigures flood = Flood(folder, std::wstring(L"type ") + name, lastLine);
    const double rawAfter = RawRate(folder, name);
    const double rawRate = (rawBefore + rawAfter) / 2;
    const double shownRate = static_cast<double>(size) / bench::Megabyte / flood.seconds;

    std::printf("16 MB type: raw pipe %.2f MB/s (%.2f before, %.2f after), shown by the band %.2f MB/s, ratio %.2f%s\n",
                rawRate, rawBefore, rawAfter, shownRate, shownRate / rawRate,
                flood.finished ? "" : " (prompt never came back)");
    std::printf("longest stretch of the window's thread handling one message: %.1f ms\n", flood.longestStretchMs);
    std::printf("processor time of the band's process: %.1f s (the window's thread %.1f s) in %.1f s to the final "
                "screen, %.1f s in %.1f s until the scrollback is complete\n",
                flood.processorSeconds, flood.windowThreadSeconds, flood.seconds, flood.processorToCompleteSeconds,
                flood.completeSeconds);
    std::printf("text box holds %d characters at the end; peak private memory of the process %.1f MB\n",
                flood.heldCharacters, PeakPrivateMegabytes());
    finished = finished && flood.finished;

    if (floodOnly) {
        ::DeleteFileW(path.c_str());
        ::RemoveDirectoryW(folder.c_str());
        return finished ? 0 : 1;
    }
    // Written by a program that notes its last byte.
    const std::wstring stamp = folder + L"\\last-byte.txt";
    const std::wstring writer = L"\"" + ThisProgram() + L"\" write " + name + L" last-byte.txt";
    std::printf("from the flood's last byte to the final screen:");
    double longestToScreen = 0;
    for (int run = 0; run < 3; ++run) {
        const FloodFigures written = Flood(folder, writer, lastLine);
        const double toScreen = written.finalScreenCounter - ReadStamp(stamp);
        longestToScreen = std::max(longestToScreen, toScreen);
        std::printf(" %.0f ms%s", toScreen, written.finished ? "" : " (never)");
        finished = finished && written.finished;
        ::DeleteFileW(stamp.c_str());
    }
    std::printf(" (longest %.0f ms)\n", longestToScreen);

    const FloodFigures typed = Flood(folder, std::wstring(L"type ") + name, lastLine, true);
    std::printf("keys typed during a flood: %d answered, the longest after %.0f ms\n", typed.keys, typed.longestKeyMs);
    finished = finished && typed.finished;

    ::DeleteFileW(path.c_str());
    ::RemoveDirectoryW(folder.c_str());
    return finished ? 0 : 1;
}
