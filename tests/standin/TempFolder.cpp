#include "TempFolder.h"

#include "support/UniqueHandle.h"

#include <windows.h>
#include <shellapi.h>

TempFolder::TempFolder()
{
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    wchar_t unique[MAX_PATH] = {};
    ::GetTempFileNameW(base, L"sib", 0, unique);
    ::DeleteFileW(unique);
    ::CreateDirectoryW(unique, nullptr);
    path = unique;
}

TempFolder::~TempFolder()
{
    std::wstring from = path;
    from.push_back(L'\0');
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&operation);
}

std::wstring TempFolder::MakeFolder(const std::wstring& name) const
{
    const std::wstring folder = path + L"\\" + name;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring TempFolder::MakeFile(const std::wstring& name) const
{
    const std::wstring file = path + L"\\" + name;
    support::UniqueHandle created(
        ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file;
}
