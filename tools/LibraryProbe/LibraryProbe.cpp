// LibraryProbe <library path>: loads the library into this process and unloads it again.
// The exit code is 0 when it loaded, else the loader's error code, so that a test can run this
// program under any file name and see whether the library accepts that host.
#include <windows.h>
#include <shellapi.h>

#include "support/UniqueLibrary.h"

int main()
{
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments || count != 2) {
        ::LocalFree(arguments);
        return ERROR_BAD_ARGUMENTS;
    }
    const support::UniqueLibrary library(::LoadLibraryW(arguments[1]));
    const DWORD error = library ? ERROR_SUCCESS : ::GetLastError();
    ::LocalFree(arguments);
    return static_cast<int>(error);
}
