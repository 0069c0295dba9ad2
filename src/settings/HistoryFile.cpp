#include "settings/HistoryFile.h"

#include "support/SystemMessage.h"
#include "support/UniqueHandle.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>

namespace settings {

namespace {

constexpr DWORD LoadLockWait = 500;
constexpr DWORD AppendLockWait = 2000;
constexpr DWORD RetryPause = 10;
constexpr int ReplaceAttempts = 10;
constexpr const wchar_t* DamagedSuffix = L".damaged";

bool IsBusy(DWORD error) noexcept
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

std::wstring FileNameOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

// The lock file beside the history, opened for this process alone while the history is read and
// replaced. The system lets it go when a process ends without closing it.
class HistoryLock {
public:
    HistoryLock(const std::wstring& historyPath, DWORD wait)
    {
        const std::wstring lockPath = historyPath + L".lock";
        const DWORD started = ::GetTickCount();
        for (;;) {
            handle.Reset(::CreateFileW(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, nullptr));
            error = handle ? ERROR_SUCCESS : ::GetLastError();
            if (handle || !IsBusy(error) || ::GetTickCount() - started >= wait)
                return;
            ::Sleep(RetryPause);
        }
    }

    bool IsHeld() const noexcept { return handle.IsHeld(); }
    DWORD Error() const noexcept { return error; }

private:
    support::UniqueFileHandle handle;
    DWORD error = ERROR_SUCCESS;
};

struct FileContent {
    enum class State { Missing, Read, Unreadable, Damaged } state = State::Missing;
    std::vector<std::wstring> lines;
    std::wstring reason;  // why the file is unreadable or damaged
};

bool HasHeader(const std::string& bytes, size_t& body)
{
    const std::string header = HistoryFile::Header;
    size_t at = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (bytes.compare(at, header.size(), header) != 0)
        return false;
    at += header.size();
    if (at < bytes.size() && bytes[at] == '\r')
        ++at;
    if (at < bytes.size() && bytes[at] != '\n')
        return false;
    body = std::min(at + 1, bytes.size());
    return true;
}

std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        size_t stop = end;
        if (stop > start && text[stop - 1] == L'\r')
            --stop;
        if (stop > start)
            lines.emplace_back(text, start, stop - start);
        start = end + 1;
    }
    return lines;
}

FileContent Parse(const std::string& bytes)
{
    FileContent content;
    content.state = FileContent::State::Damaged;
    if (bytes.find('\0') != std::string::npos) {
        content.reason = L"holds binary data";
        return content;
    }
    size_t body = 0;
    if (!HasHeader(bytes, body)) {
        content.reason = L"is not a command history of this program";
        return content;
    }
    std::wstring text;
    if (body < bytes.size()) {
        const int size = static_cast<int>(bytes.size() - body);
        const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + body, size, nullptr, 0);
        if (length <= 0) {
            content.reason = L"is not UTF-8 text";
            return content;
        }
        text.resize(static_cast<size_t>(length));
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + body, size, &text[0], length);
    }
    content.state = FileContent::State::Read;
    content.lines = SplitLines(text);
    return content;
}

FileContent Unreadable(DWORD error)
{
    FileContent content;
    content.state = FileContent::State::Unreadable;
    content.reason = support::SystemMessage(error);
    return content;
}

FileContent ReadFileContent(const std::wstring& path)
{
    // Shared for deleting too: a console replacing the file meanwhile is not held up.
    const support::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileContent{} : Unreadable(error);
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size))
        return Unreadable(::GetLastError());
    if (static_cast<ULONGLONG>(size.QuadPart) > HistoryFile::LargestFile) {
        FileContent content;
        content.state = FileContent::State::Damaged;
        content.reason = L"is larger than 16 MB";
        return content;
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr))
        return Unreadable(::GetLastError());
    bytes.resize(read);
    return Parse(bytes);
}

std::string Utf8(const std::wstring& line)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, line.c_str(), static_cast<int>(line.size()),
                                           nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, line.c_str(), static_cast<int>(line.size()), &bytes[0], size,
                          nullptr, nullptr);
    return bytes;
}

std::string FileBytes(const std::vector<std::wstring>& lines)
{
    std::string bytes = std::string(HistoryFile::Header) + "\n";
    for (const std::wstring& line : lines)
        bytes += Utf8(line) + "\n";
    return bytes;
}

bool WriteWhole(const std::wstring& path, const std::string& bytes, DWORD& error)
{
    const support::UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    // Flushed before the move: after a crash the history is the old file or the new one, never an empty one.
    if (!file || !::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !::FlushFileBuffers(file.Get())) {
        error = ::GetLastError();
        return false;
    }
    return true;
}

// A virus scanner or the indexer may hold the old file open for a moment.
bool MoveOver(const std::wstring& from, const std::wstring& to, DWORD& error)
{
    for (int attempt = 0; attempt < ReplaceAttempts; ++attempt) {
        if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        error = ::GetLastError();
        if (!IsBusy(error))
            return false;
        ::Sleep(RetryPause * 2);
    }
    return false;
}

// Writes the lines to a temporary file in the same folder and moves it over the history.
bool Replace(const std::wstring& path, const std::vector<std::wstring>& lines, DWORD& error)
{
    wchar_t temporary[MAX_PATH] = {};
    if (!::GetTempFileNameW(FolderOf(path).c_str(), L"bsh", 0, temporary)) {
        error = ::GetLastError();
        return false;
    }
    if (WriteWhole(temporary, FileBytes(lines), error) && MoveOver(temporary, path, error))
        return true;
    ::DeleteFileW(temporary);
    return false;
}

bool SetAside(const std::wstring& path)
{
    return ::MoveFileExW(path.c_str(), (path + DamagedSuffix).c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

std::wstring DamageNote(const std::wstring& path, const std::wstring& reason, bool setAside)
{
    std::wstring note = L"Command history not read: " + path + L" " + reason + L".";
    if (setAside)
        note += L" It was renamed " + FileNameOf(path) + DamagedSuffix + L".";
    return note;
}

void KeepNewest(std::vector<std::wstring>& lines, size_t keep)
{
    if (lines.size() > keep)
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(keep));
}

bool HasUnpairedSurrogate(const std::wstring& line)
{
    for (size_t index = 0; index < line.size(); ++index) {
        if (IS_HIGH_SURROGATE(line[index]) && index + 1 < line.size() && IS_LOW_SURROGATE(line[index + 1]))
            ++index;
        else if (IS_HIGH_SURROGATE(line[index]) || IS_LOW_SURROGATE(line[index]))
            return true;
    }
    return false;
}

}  // namespace

HistoryFile::HistoryFile(std::wstring path) : path(std::move(path)) {}

std::wstring HistoryFile::DefaultPath()
{
    PWSTR folder = nullptr;
    if (FAILED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &folder))) {
        ::CoTaskMemFree(folder);
        return std::wstring();
    }
    std::wstring path = folder;
    ::CoTaskMemFree(folder);
    return path + L"\\Brimblestone\\history.txt";
}

bool HistoryFile::IsKept(const std::wstring& line)
{
    return !line.empty() && line[0] != L' ' && line.find_first_of(L"\r\n", 0, 3) == std::wstring::npos &&
           !HasUnpairedSurrogate(line);
}

HistoryFile::Loaded HistoryFile::Load(size_t newest)
{
    Loaded loaded;
    const HistoryLock lock(path, LoadLockWait);
    FileContent content = ReadFileContent(path);
    switch (content.state) {
    case FileContent::State::Read:
        KeepNewest(content.lines, newest);
        loaded.lines = std::move(content.lines);
        break;
    case FileContent::State::Damaged:
        // Only under the lock: another console may be replacing the file right now.
        loaded.problem = DamageNote(path, content.reason, lock.IsHeld() && SetAside(path));
        break;
    case FileContent::State::Unreadable:
        loaded.problem = L"Command history not read: " + path + L": " + content.reason + L".";
        break;
    case FileContent::State::Missing:
        break;
    }
    return loaded;
}

std::wstring HistoryFile::Append(const std::wstring& line, size_t keep)
{
    if (IsKept(line))
        waiting.push_back(line);
    if (waiting.empty())
        return std::wstring();
    KeepNewest(waiting, keep);
    ::CreateDirectoryW(FolderOf(path).c_str(), nullptr);
    std::wstring reason;
    DWORD error = ERROR_SUCCESS;
    const HistoryLock lock(path, AppendLockWait);
    if (lock.IsHeld()) {
        FileContent content = ReadFileContent(path);
        if (content.state == FileContent::State::Damaged && SetAside(path))
            content = FileContent{};
        if (content.state == FileContent::State::Read || content.state == FileContent::State::Missing) {
            content.lines.insert(content.lines.end(), waiting.begin(), waiting.end());
            KeepNewest(content.lines, keep);
            if (Replace(path, content.lines, error)) {
                waiting.clear();
                failing = false;
                return std::wstring();
            }
            reason = support::SystemMessage(error);
        } else {
            reason = path + L" " + content.reason;
        }
    } else {
        reason = L"the history is locked: " + support::SystemMessage(lock.Error());
    }
    if (failing)
        return std::wstring();
    failing = true;
    return L"Command history not saved (" + reason + L"); it is saved with the next line that is.";
}

}  // namespace settings
