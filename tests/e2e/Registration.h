#pragma once

#include "ServerLibrary.h"

#include <string>
#include <vector>

namespace e2e {

using Lines = std::vector<std::wstring>;

// Every key and value that registration may write, in the form of the registry test helpers,
// each line starting with its root ("HKCR\..." or "HKLM\..."); sorted.
Lines RegistrationFootprint();

// What registering a library file at `path` writes, its type library recorded as `typeLibraryPath`.
Lines ExpectedFootprint(const std::wstring& path, const std::wstring& typeLibraryPath);

// For a failure message: one line each.
void PrintLines(const Lines& lines);

// Removes whatever registration of the library is left, also a partial one: registering first
// makes every step of unregistration find what it removes.
void RemoveRegistration(const ServerLibrary& library);

// Registers the library for one test and unregisters it again at the end, whatever the test
// left, so that no test depends on another one's registry state.
class RegisteredLibrary {
public:
    explicit RegisteredLibrary(const std::wstring& path);
    ~RegisteredLibrary();
    RegisteredLibrary(const RegisteredLibrary&) = delete;
    RegisteredLibrary& operator=(const RegisteredLibrary&) = delete;

    const ServerLibrary& Library() const { return library; }
    HRESULT RegistrationResult() const { return registration; }

private:
    ServerLibrary library;
    HRESULT registration;
};

}  // namespace e2e
