#include "ServerLibrary.h"

#include "support/UniqueHandle.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace e2e {
namespace {

std::wstring FolderOf(const std::wstring& path)
{
    std::vector<wchar_t> buffer(path.begin(), path.end());
    buffer.push_back(L'\0');
    ::PathRemoveFileSpecW(buffer.data());
    return buffer.data();
}

std::wstring OwnProgramPath()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length);
}

std::vector<char> FileBytes(const std::wstring& path)
{
    const support::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                   OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !::GetFileSizeEx(file.Get(), &size))
        return {};
    std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size())
        return {};
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<char>& bytes)
{
    const support::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                                   nullptr));
    DWORD written = 0;
    return file &&
           ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// The resource directory names the type as a counted UTF-16 string; renaming it "TYPELIX"
// hides the type library from every lookup and leaves the rest of the image as it was.
bool RemoveTypeLibrary(const std::wstring& path)
{
    static const char typeName[] = "\x07\0T\0Y\0P\0E\0L\0I\0B\0";
    const std::vector<char> pattern(typeName, typeName + sizeof(typeName) - 1);
    std::vector<char> bytes = FileBytes(path);
    const auto found = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
    if (found == bytes.end() || std::search(found + 1, bytes.end(), pattern.begin(), pattern.end()) != bytes.end())
        return false;
    *(found + static_cast<std::ptrdiff_t>(pattern.size()) - 2) = 'X';
    return WriteFileBytes(path, bytes);
}

}  // namespace

std::wstring BuildFolder()
{
    return FolderOf(FolderOf(OwnProgramPath()));
}

std::wstring LibraryPath()
{
    return BuildFolder() + L"\\Brimblestone.dll";
}

std::wstring ScratchFolder()
{
    wchar_t temporary[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temporary);
    const std::wstring folder = std::wstring(temporary) + L"BrimblestoneEndToEnd";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring CopyLibrary(const wchar_t* fileName, bool withoutTypeLibrary)
{
    const std::wstring copy = ScratchFolder() + L"\\" + fileName;
    if (!::CopyFileW(LibraryPath().c_str(), copy.c_str(), FALSE))
        return std::wstring();
    if (withoutTypeLibrary && !RemoveTypeLibrary(copy))
        return std::wstring();
    return copy;
}

ScratchFile::~ScratchFile()
{
    if (!path.empty())
        ::DeleteFileW(path.c_str());
}

ServerLibrary::ServerLibrary(const std::wstring& path) : library(::LoadLibraryW(path.c_str())) {}

std::wstring ServerLibrary::ModulePath() const
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(library.Get(), path, MAX_PATH);
    return std::wstring(path, length);
}

HRESULT ServerLibrary::Call(const char* name) const
{
    const auto entry = reinterpret_cast<NoArgumentEntry>(
        reinterpret_cast<void*>(::GetProcAddress(library.Get(), name)));
    return entry ? entry() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

HRESULT ServerLibrary::CanUnloadNow() const
{
    return Call("DllCanUnloadNow");
}

HRESULT ServerLibrary::GetClassObject(REFCLSID classId, REFIID interfaceId, void** object) const
{
    const auto entry = reinterpret_cast<ClassObjectEntry>(
        reinterpret_cast<void*>(::GetProcAddress(library.Get(), "DllGetClassObject")));
    return entry ? entry(classId, interfaceId, object) : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

HRESULT ServerLibrary::RegisterServer() const
{
    return Call("DllRegisterServer");
}

HRESULT ServerLibrary::UnregisterServer() const
{
    return Call("DllUnregisterServer");
}

}  // namespace e2e
