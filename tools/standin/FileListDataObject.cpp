#include "FileListDataObject.h"

#include <shlobj.h>

#include <cstring>

namespace standin {
namespace {

FORMATETC FileListFormat()
{
    return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

}  // namespace

FileListDataObject::FileListDataObject(std::vector<std::wstring> paths, bool offersFiles)
    : paths(std::move(paths)), offersFiles(offersFiles)
{
}

Microsoft::WRL::ComPtr<IDataObject> FileListDataObject::WithFiles(const std::vector<std::wstring>& paths)
{
    Microsoft::WRL::ComPtr<IDataObject> data;
    data.Attach(new FileListDataObject(paths, true));
    return data;
}

Microsoft::WRL::ComPtr<IDataObject> FileListDataObject::WithoutFiles()
{
    Microsoft::WRL::ComPtr<IDataObject> data;
    data.Attach(new FileListDataObject({}, false));
    return data;
}

STDMETHODIMP FileListDataObject::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDataObject)
        return Answer(static_cast<IDataObject*>(this), object);
    *object = nullptr;
    return E_NOINTERFACE;
}

// DROPFILES, then each name with its terminator, then one more terminator.
HGLOBAL FileListDataObject::FileListMemory() const
{
    size_t characters = 1;
    for (const std::wstring& path : paths)
        characters += path.size() + 1;
    const size_t size = sizeof(DROPFILES) + characters * sizeof(wchar_t);
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!memory)
        return nullptr;
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    if (!header) {
        ::GlobalFree(memory);
        return nullptr;
    }
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(header + 1);
    for (const std::wstring& path : paths) {
        std::memcpy(names, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        names += path.size() + 1;
    }
    ::GlobalUnlock(memory);
    return memory;
}

STDMETHODIMP FileListDataObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (!format || !medium)
        return E_POINTER;
    const HRESULT offered = QueryGetData(format);
    if (FAILED(offered))
        return offered;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = FileListMemory();
    medium->pUnkForRelease = nullptr;
    return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP FileListDataObject::GetDataHere(FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

STDMETHODIMP FileListDataObject::QueryGetData(FORMATETC* format)
{
    if (!format)
        return E_POINTER;
    if (!offersFiles || format->cfFormat != CF_HDROP)
        return DV_E_FORMATETC;
    if (format->dwAspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (format->lindex != -1)
        return DV_E_LINDEX;
    if (!(format->tymed & TYMED_HGLOBAL))
        return DV_E_TYMED;
    return S_OK;
}

STDMETHODIMP FileListDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* canonical)
{
    if (canonical)
        canonical->ptd = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP FileListDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP FileListDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats)
{
    if (!formats)
        return E_POINTER;
    *formats = nullptr;
    if (direction != DATADIR_GET)
        return E_NOTIMPL;
    const FORMATETC offered[] = {FileListFormat()};
    return ::SHCreateStdEnumFmtEtc(offersFiles ? 1 : 0, offered, formats);
}

STDMETHODIMP FileListDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP FileListDataObject::DUnadvise(DWORD)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP FileListDataObject::EnumDAdvise(IEnumSTATDATA** advises)
{
    if (advises)
        *advises = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

}  // namespace standin
