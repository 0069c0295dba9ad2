#include "ScratchFolder.h"

#include <windows.h>

#include <filesystem>
#include <fstream>

namespace testsupport {
namespace {

std::wstring TemporaryFolder()
{
    wchar_t temporary[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temporary);
    wchar_t longForm[MAX_PATH] = {};
    if (::GetLongPathNameW(temporary, longForm, MAX_PATH) == 0)
        return temporary;
    return longForm;
}

std::wstring Joined(const std::wstring& folder, const std::wstring& name)
{
    if (!folder.empty() && folder.back() == L'\\')
        return folder + name;
    return folder + L"\\" + name;
}

// A name no other test program, nor an earlier test of this one, has used.
std::wstring CreateUniqueFolder(const std::wstring& parent)
{
    static unsigned made = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::wstring candidate = Joined(parent, L"brimblestone-" + std::to_wstring(::GetCurrentProcessId()) +
                                                          L"-" + std::to_wstring(++made));
        if (::CreateDirectoryW(candidate.c_str(), nullptr))
            return candidate;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    return std::wstring();
}

}  // namespace

ScratchFolder::ScratchFolder(const std::wstring& parent)
    : path(CreateUniqueFolder(parent.empty() ? TemporaryFolder() : parent))
{
}

ScratchFolder::~ScratchFolder()
{
    if (path.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(path), ignored);
}

std::wstring ScratchFolder::Folder(const std::wstring& relative) const
{
    const std::wstring folder = Joined(path, relative);
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(folder), ignored);
    return folder;
}

std::wstring ScratchFolder::File(const std::wstring& relative, const std::string& content) const
{
    const std::wstring file = Joined(path, relative);
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ignored);
    std::ofstream(std::filesystem::path(file), std::ios::binary) << content;
    return file;
}

}  // namespace testsupport
