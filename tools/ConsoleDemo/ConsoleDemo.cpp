// ConsoleDemo <folder> <command line>: runs one command line in the band's interpreter, started in
// <folder>, and prints everything the interpreter answers, as the band would show it.
#include "console/ConsoleProcess.h"
#include "support/AppMessages.h"
#include "support/UniqueHandle.h"

#include <shellapi.h>
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

constexpr ULONGLONG PromptBound = 20000;
constexpr ULONGLONG AnswerBound = 60000;
constexpr ULONGLONG QuietPeriod = 500;

struct Transcript {
    std::wstring text;
    ULONGLONG lastArrival = 0;
};

void Print(const wchar_t* text, DWORD length)
{
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(output, &mode)) {
        ::WriteConsoleW(output, text, length, &written, nullptr);
        return;
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &bytes[0], size, nullptr, nullptr);
    ::WriteFile(output, bytes.data(), static_cast<DWORD>(size), &written, nullptr);
}

LRESULT CALLBACK TranscriptProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* transcript = reinterpret_cast<Transcript*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (transcript && (message == WM_APP_STDOUT || message == WM_APP_STDERR)) {
        const auto* text = reinterpret_cast<const wchar_t*>(wParam);
        transcript->text += text;
        transcript->lastArrival = ::GetTickCount64();
        Print(text, static_cast<DWORD>(std::wcslen(text)));
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

support::UniqueWindow CreateTranscriptWindow(Transcript& transcript)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = TranscriptProcedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Brimblestone console demo";
    ::RegisterClassW(&windowClass);
    support::UniqueWindow window(::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                                   nullptr, windowClass.hInstance, nullptr));
    ::SetWindowLongPtrW(window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&transcript));
    return window;
}

bool EndsWithPrompt(const Transcript& transcript, std::size_t since)
{
    return transcript.text.size() > since && transcript.text.back() == L'>';
}

// Processes messages until the interpreter's prompt has come after `since` characters and the
// output has then stayed quiet for a while (a program may still print after the prompt).
bool WaitForQuietPrompt(const Transcript& transcript, std::size_t since, ULONGLONG bound)
{
    const ULONGLONG deadline = ::GetTickCount64() + bound;
    while (::GetTickCount64() < deadline) {
        if (EndsWithPrompt(transcript, since) && ::GetTickCount64() - transcript.lastArrival >= QuietPeriod)
            return true;
        ::MsgWaitForMultipleObjectsEx(0, nullptr, 50, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    }
    return false;
}

std::wstring JoinedArguments(wchar_t** arguments, int count, int first)
{
    std::wstring joined;
    for (int index = first; index < count; ++index) {
        if (!joined.empty())
            joined += L' ';
        joined += arguments[index];
    }
    return joined;
}

void PrintError(const wchar_t* text)
{
    DWORD written = 0;
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, &bytes[0], size, nullptr, nullptr);
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size() - 1), &written, nullptr);
}

int Run(const std::wstring& folder, const std::wstring& commandLine)
{
    Transcript transcript;
    const support::UniqueWindow window = CreateTranscriptWindow(transcript);
    console::ConsoleProcess console;
    if (!console.Start(window.Get(), folder.c_str())) {
        PrintError(L"ConsoleDemo: the interpreter could not be started in that folder\n");
        return 1;
    }
    if (!WaitForQuietPrompt(transcript, 0, PromptBound)) {
        PrintError(L"ConsoleDemo: the interpreter showed no prompt\n");
        return 1;
    }
    const std::size_t seen = transcript.text.size();
    const std::wstring line = commandLine + L"\r\n";
    if (!console.WriteLine(line.c_str())) {
        PrintError(L"ConsoleDemo: the command line could not be sent\n");
        return 1;
    }
    const bool answered = WaitForQuietPrompt(transcript, seen, AnswerBound);
    console.Stop();
    Print(L"\n", 1);
    if (!answered) {
        PrintError(L"ConsoleDemo: no prompt followed the command within the time allowed\n");
        return 1;
    }
    return 0;
}

}  // namespace

int main()
{
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments || count < 3) {
        PrintError(L"usage: ConsoleDemo <folder> <command line>\n");
        return 2;
    }
    const std::wstring folder = arguments[1];
    const std::wstring commandLine = JoinedArguments(arguments, count, 2);
    ::LocalFree(arguments);
    return Run(folder, commandLine);
}
