#include "dragdrop/DroppedFiles.h"

#include "support/ComResources.h"
#include "support/CommandLineQuoting.h"

#include <shlwapi.h>

namespace dragdrop {
namespace {

// The shell's path helpers assume buffers of MAX_PATH characters; these work on any length.
std::wstring ParentFolder(const std::wstring& path)
{
    std::vector<wchar_t> buffer(path.begin(), path.end());
    buffer.push_back(L'\0');
    ::PathRemoveFileSpecW(buffer.data());
    return buffer.data();
}

std::wstring LastComponent(const std::wstring& path)
{
    std::vector<wchar_t> buffer(path.begin(), path.end());
    buffer.push_back(L'\0');
    ::PathStripPathW(buffer.data());
    return buffer.data();
}

}  // namespace

FORMATETC FileListFormat()
{
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return format;
}

bool OffersFileList(IDataObject* data)
{
    FORMATETC format = FileListFormat();
    return data != nullptr && SUCCEEDED(data->QueryGetData(&format));
}

std::vector<std::wstring> DroppedPaths(IDataObject* data)
{
    FORMATETC format = FileListFormat();
    support::UniqueStgMedium medium;
    if (data == nullptr || FAILED(data->GetData(&format, &medium)))
        return {};
    const support::GlobalLockScope locked(medium.hGlobal);
    if (locked.Get() == nullptr)
        return {};
    return ReadDroppedPaths(static_cast<HDROP>(locked.Get()));
}

std::vector<std::wstring> ReadDroppedPaths(HDROP drop)
{
    std::vector<std::wstring> paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        const UINT length = ::DragQueryFileW(drop, index, nullptr, 0);
        std::wstring path(static_cast<size_t>(length) + 1, L'\0');
        const UINT copied = ::DragQueryFileW(drop, index, &path[0], length + 1);
        path.resize(copied);
        paths.push_back(path);
    }
    return paths;
}

std::wstring NameForCommandLine(const std::wstring& path, const std::wstring& currentFolder)
{
    const bool inCurrentFolder = ::StrCmpIW(ParentFolder(path).c_str(), currentFolder.c_str()) == 0;
    return support::QuotedWhenNeeded(inCurrentFolder ? LastComponent(path) : path);
}

}  // namespace dragdrop
