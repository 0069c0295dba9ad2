// Prints how long the stand-in browser takes to show a folder view with many items, the work
// that every refresh of the view costs a test or a person.
#include "BrowserWindow.h"

#include <objbase.h>
#include <ole2.h>

#include <chrono>
#include <cstdio>

namespace {

double MillisecondsFor(standin::BrowserWindow& window)
{
    const auto start = std::chrono::steady_clock::now();
    window.Browser()->Refresh();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main()
{
    if (FAILED(::OleInitialize(nullptr)))
        return 2;
    for (const int items : {1000, 10000}) {
        standin::BrowserOptions options;
        options.extras.syntheticItems = items;
        standin::BrowserWindow window;
        if (!window.Create(L"C:\\", options))
            return 3;
        std::printf("view refill with %d synthetic items: %.1f ms\n", items, MillisecondsFor(window));
    }
    ::OleUninitialize();
    return 0;
}
