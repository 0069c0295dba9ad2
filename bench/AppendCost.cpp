// Cost of appending interpreter output to the console text box, by how much text it holds.
// Appends are AppendText (a typed or echoed line); output is InsertOutput (the interpreter's).
#include "view/EditWindow.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

const support::WindowClass& HostClass()
{
    static const support::WindowClass registered = [] {
        WNDCLASSEXW description{};
        description.lpszClassName = L"Brimblestone Bench Host";
        return support::CWindowImpl::RegisterPlainClass(description);
    }();
    return registered;
}

class HostWindow : public support::CWindowImpl {
public:
    // Shown, as the band's text box is: a shown text box draws its scroll bar on every change.
    HostWindow()
    {
        CreateBoundWindow(HostClass(), nullptr, RECT{0, 0, 800, 400}, L"", WS_OVERLAPPEDWINDOW, 0, 0);
        ::ShowWindow(GetHwnd(), SW_SHOWNOACTIVATE);
    }

    BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD) override { return FALSE; }
};

// Lines as a directory listing prints them, cut to exactly length characters.
std::wstring ListingText(size_t length)
{
    std::wstring text;
    for (int line = 0; text.size() < length; ++line)
        text += L"12/07/2026  10:10    <DIR>          folder" + std::to_wstring(line) + L"\r\n";
    text.resize(length);
    return text;
}

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Fills a fresh text box with held characters, then times appends of appended characters each.
void Measure(HWND parent, size_t held, size_t appended, int appends)
{
    view::CEditWindow edit;
    edit.Create(parent);
    ::MoveWindow(edit.GetHwnd(), 0, 0, 780, 380, FALSE);
    const std::wstring filler = ListingText(held);
    edit.AppendText(filler.c_str(), TRUE);
    const std::wstring chunk = ListingText(appended);

    LARGE_INTEGER start;
    LARGE_INTEGER end;
    ::QueryPerformanceCounter(&start);
    for (int append = 0; append < appends; ++append)
        edit.AppendText(chunk.c_str(), TRUE);
    ::QueryPerformanceCounter(&end);

    const double perAppend = Milliseconds(start, end) / appends;
    const double megabytesPerSecond = static_cast<double>(appended * sizeof(wchar_t)) / 1e6 / (perAppend / 1000.0);
    std::printf("held %8zu chars  append %6zu chars x %4d: %8.3f ms/append  %8.2f MB/s  (now holds %d)\n", held,
                appended, appends, perAppend, megabytesPerSecond, ::GetWindowTextLengthW(edit.GetHwnd()));
}

// Shows `total` characters of output in inserts of `chunk` characters, as they come from a flood.
void MeasureOutput(HWND parent, const char* what, const std::wstring& chunk, size_t total)
{
    view::CEditWindow edit;
    edit.Create(parent);
    ::MoveWindow(edit.GetHwnd(), 0, 0, 780, 380, FALSE);
    const int inserts = static_cast<int>(total / chunk.size());
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    double longest = 0;
    ::QueryPerformanceCounter(&start);
    for (int insert = 0; insert < inserts; ++insert) {
        LARGE_INTEGER before;
        LARGE_INTEGER after;
        ::QueryPerformanceCounter(&before);
        edit.InsertOutput(chunk.c_str());
        ::QueryPerformanceCounter(&after);
        longest = std::max(longest, Milliseconds(before, after));
    }
    ::QueryPerformanceCounter(&end);
    std::printf("%-36s %6zu chars x %4d: %8.1f ms in all, longest insert %7.2f ms (now holds %d)\n", what,
                chunk.size(), inserts, Milliseconds(start, end), longest, ::GetWindowTextLengthW(edit.GetHwnd()));
}

}  // namespace

int main()
{
    HostWindow host;
    const size_t sizes[] = {30000, 250000, 1000000};
    for (const size_t held : sizes) {
        Measure(host.GetHwnd(), held, 512, 200);
        Measure(host.GetHwnd(), held, 65536, 10);
    }
    std::printf("256 KB of output by its shape:\n");
    const size_t quarter = 256 * 1024;
    for (const size_t chunk : {size_t{512}, size_t{32768}}) {
        MeasureOutput(host.GetHwnd(), "lines", ListingText(chunk), quarter);
        MeasureOutput(host.GetHwnd(), "one line without a line end", std::wstring(chunk, L'x'), quarter);
        std::wstring progress;
        while (progress.size() < chunk)
            progress += L"copied " + std::to_wstring(progress.size()) + L" of 262144 bytes\r";
        progress.resize(chunk);
        MeasureOutput(host.GetHwnd(), "CR progress lines", progress, quarter);
    }
    std::printf("past the scrollback limit (trimming included):\n");
    Measure(host.GetHwnd(), 990000, 512, 2000);
    Measure(host.GetHwnd(), 990000, 65536, 40);
    return 0;
}
