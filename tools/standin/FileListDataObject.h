#pragma once

#include "ComObject.h"

#include <objidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace standin {

// Dragged data as the shell offers a file list: CF_HDROP in global memory (DROPFILES with wide
// names). Built without files it offers no format at all, like a drag of plain text would
// offer no file list.
class FileListDataObject final : public ComObject<IDataObject> {
public:
    static Microsoft::WRL::ComPtr<IDataObject> WithFiles(const std::vector<std::wstring>& paths);
    static Microsoft::WRL::ComPtr<IDataObject> WithoutFiles();

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP QueryGetData(FORMATETC* format) override;
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC* format, FORMATETC* canonical) override;
    STDMETHODIMP SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    STDMETHODIMP DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
    STDMETHODIMP DUnadvise(DWORD connection) override;
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA** advises) override;

private:
    FileListDataObject(std::vector<std::wstring> paths, bool offersFiles);

    HGLOBAL FileListMemory() const;

    std::vector<std::wstring> paths;
    bool offersFiles;
};

}  // namespace standin
