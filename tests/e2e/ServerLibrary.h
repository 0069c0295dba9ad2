#pragma once

#include "support/UniqueLibrary.h"

#include <windows.h>

#include <string>
#include <utility>

// The component library as the build produced it, and scratch copies of it, loaded by path and
// reached through its exported entry points only.
namespace e2e {

// The build folder: the test program lives in its "tests" folder.
std::wstring BuildFolder();
// The built library file.
std::wstring LibraryPath();
// A folder under the temporary folder for this program's copies, created on first use.
std::wstring ScratchFolder();

// Copies the built library to the scratch folder as `fileName`; with `withoutTypeLibrary` the
// copy loses its "TYPELIB" resources. Returns the copy's path, or empty on failure.
std::wstring CopyLibrary(const wchar_t* fileName, bool withoutTypeLibrary);

// A file in the scratch folder, deleted when this goes.
class ScratchFile {
public:
    explicit ScratchFile(std::wstring path) : path(std::move(path)) {}
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::wstring& Path() const { return path; }

private:
    const std::wstring path;
};

class ServerLibrary {
public:
    explicit ServerLibrary(const std::wstring& path);

    bool IsLoaded() const { return library.IsHeld(); }
    HMODULE Module() const { return library.Get(); }
    // The path the loader reports for the module, as registration records it.
    std::wstring ModulePath() const;

    HRESULT CanUnloadNow() const;
    HRESULT GetClassObject(REFCLSID classId, REFIID interfaceId, void** object) const;
    HRESULT RegisterServer() const;
    HRESULT UnregisterServer() const;

private:
    using NoArgumentEntry = HRESULT(STDAPICALLTYPE*)();
    using ClassObjectEntry = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

    HRESULT Call(const char* name) const;

    support::UniqueLibrary library;
};

// A scratch copy of the library (see CopyLibrary), loaded; the file goes after the library.
class ScratchLibrary {
public:
    ScratchLibrary(const wchar_t* fileName, bool withoutTypeLibrary)
        : file(CopyLibrary(fileName, withoutTypeLibrary)), library(file.Path())
    {
    }

    const std::wstring& Path() const { return file.Path(); }
    const ServerLibrary& Library() const { return library; }

private:
    ScratchFile file;
    ServerLibrary library;
};

}  // namespace e2e
