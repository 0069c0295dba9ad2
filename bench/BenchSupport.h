#pragma once
// Pieces the benchmarks share: a text file of known size, and the interpreter's raw output speed.
#include "console/ChildPipe.h"
#include "support/UniqueHandle.h"

#include <windows.h>

#include <string>
#include <vector>

namespace bench {

constexpr double Megabyte = 1024.0 * 1024.0;

inline double Seconds(ULONGLONG milliseconds)
{
    return static_cast<double>(milliseconds ? milliseconds : 1) / 1000.0;
}

inline std::wstring WriteTextFile(const std::wstring& folder, const wchar_t* name, const std::string& content)
{
    const std::wstring path = folder + L"\\" + name;
    support::UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    return path;
}

// Lines of text, CR LF ended, `size` bytes in all; with `lineEnd` each line ends in that instead.
inline std::string TextLines(std::size_t size, const char* lineEnd = "\r\n")
{
    const std::string line = std::string("0123456789 the quick brown fox jumps over the lazy dog 0123456789") + lineEnd;
    std::string content;
    content.reserve(size);
    while (content.size() + line.size() <= size)
        content += line;
    content.append(size - content.size(), 'x');
    return content;
}

inline std::wstring CreateTextFile(const std::wstring& folder, const wchar_t* name, std::size_t size)
{
    return WriteTextFile(folder, name, TextLines(size));
}

// Seconds from the first byte to the end of `cmd /c type`, reading 64 KB at a time.
inline double RawSeconds(const std::wstring& folder, const wchar_t* name, unsigned long long& bytes)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    support::UniqueHandle readEnd;
    support::UniqueHandle writeEnd;
    // The same pipe the console gives the interpreter, so only what reads it differs.
    ::CreatePipe(readEnd.Receive(), writeEnd.Receive(), &inheritable, console::OutputPipeSize);
    ::SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    std::wstring commandLine = std::wstring(L"C:\\WINDOWS\\system32\\cmd.exe /c type ") + name;
    PROCESS_INFORMATION created = {};
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr,
                          folder.c_str(), &startup, &created))
        return 0;
    support::UniqueHandle process(created.hProcess);
    support::UniqueHandle thread(created.hThread);
    writeEnd.Reset();
    std::vector<char> buffer(64 * 1024);
    bytes = 0;
    ULONGLONG first = 0;
    DWORD read = 0;
    while (::ReadFile(readEnd.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) && read) {
        if (!first)
            first = ::GetTickCount64();
        bytes += read;
    }
    return Seconds(::GetTickCount64() - first);
}

}  // namespace bench
