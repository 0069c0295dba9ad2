// BandProbe CLASSID [HOLDFILE]: creates the band by its class id through the component runtime, as
// the file browser does, and prints the path of the library file that serves it. With HOLDFILE it
// keeps the band, and so the library, loaded for as long as that file exists, so that a test can
// upgrade or remove an installation while a process uses it.
// The exit code is 0 when an object that is a toolbar band was created, else the failure's code.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <cstdio>
#include <cwchar>

namespace {

// The component runtime for this thread, in the single-threaded apartment the browser uses.
class ComApartment {
public:
    ComApartment() : result(::OleInitialize(nullptr)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(result))
            ::OleUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    HRESULT Result() const { return result; }

private:
    const HRESULT result;
};

// The command-line arguments, freed when this goes.
class Arguments {
public:
    Arguments() : values(::CommandLineToArgvW(::GetCommandLineW(), &count)) {}
    ~Arguments() { ::LocalFree(values); }
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;

    int Count() const { return values ? count : 0; }
    const wchar_t* operator[](int index) const { return values[index]; }

private:
    int count = 0;
    wchar_t** values;
};

void PrintServingLibrary()
{
    wchar_t path[MAX_PATH] = {};
    const HMODULE library = ::GetModuleHandleW(L"Brimblestone.dll");
    if (library != nullptr)
        ::GetModuleFileNameW(library, path, MAX_PATH);
    std::wprintf(L"%ls\n", library != nullptr ? path : L"(served by another library)");
    std::fflush(stdout);
}

// Serves the thread's messages while the file is there, as a browser's thread would.
void HoldWhileExists(const wchar_t* file)
{
    while (::GetFileAttributesW(file) != INVALID_FILE_ATTRIBUTES) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
}

}  // namespace

int main()
{
    const Arguments arguments;
    CLSID classId = {};
    if (arguments.Count() < 2 || arguments.Count() > 3 || FAILED(::CLSIDFromString(arguments[1], &classId)))
        return ERROR_BAD_ARGUMENTS;
    const ComApartment apartment;
    if (FAILED(apartment.Result()))
        return apartment.Result();

    Microsoft::WRL::ComPtr<IDeskBand> band;
    const HRESULT created =
        ::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&band));
    if (FAILED(created)) {
        std::wprintf(L"not created: 0x%08lX\n", static_cast<unsigned long>(created));
        return created;
    }
    PrintServingLibrary();
    if (arguments.Count() == 3)
        HoldWhileExists(arguments[2]);
    return 0;
}
