#include "grid/CGridTextDataObject.h"

#include "grid/GridGlobalText.h"

#include <shlobj.h>

namespace {

FORMATETC TextFormat() {
    return FORMATETC{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

}  // namespace

CGridTextDataObject::CGridTextDataObject(const CString& text) : m_text(text) {}

BOOL CGridTextDataObject::ReadText(IDataObject* data, CString& text) {
    FORMATETC format = TextFormat();
    if (data == nullptr || data->QueryGetData(&format) != S_OK) {
        return FALSE;
    }
    STGMEDIUM medium = {};
    if (FAILED(data->GetData(&format, &medium))) {
        return FALSE;
    }
    const BOOL read = medium.tymed == TYMED_HGLOBAL && ReadGlobalText(medium.hGlobal, text);
    ReleaseStgMedium(&medium);
    return read;
}

STDMETHODIMP CGridTextDataObject::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
        *object = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CGridTextDataObject::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

STDMETHODIMP_(ULONG) CGridTextDataObject::Release() {
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

STDMETHODIMP CGridTextDataObject::QueryGetData(FORMATETC* format) {
    if (format == nullptr) {
        return E_INVALIDARG;
    }
    if (format->cfFormat != CF_TEXT || (format->tymed & TYMED_HGLOBAL) == 0) {
        return DV_E_FORMATETC;
    }
    return S_OK;
}

STDMETHODIMP CGridTextDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (medium == nullptr) {
        return E_INVALIDARG;
    }
    const HRESULT usable = QueryGetData(format);
    if (usable != S_OK) {
        return usable;
    }
    HGLOBAL block = MakeGlobalText(m_text);
    if (block == nullptr) {
        return E_OUTOFMEMORY;
    }
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

STDMETHODIMP CGridTextDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) {
    return E_NOTIMPL;
}

STDMETHODIMP CGridTextDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
    if (out != nullptr) {
        out->ptd = nullptr;
    }
    return DATA_S_SAMEFORMATETC;
}

STDMETHODIMP CGridTextDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL) {
    return E_NOTIMPL;
}

STDMETHODIMP CGridTextDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) {
    if (direction != DATADIR_GET) {
        return E_NOTIMPL;
    }
    FORMATETC format = TextFormat();
    return SHCreateStdEnumFmtEtc(1, &format, formats);
}

STDMETHODIMP CGridTextDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) {
    return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP CGridTextDataObject::DUnadvise(DWORD) {
    return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP CGridTextDataObject::EnumDAdvise(IEnumSTATDATA**) {
    return OLE_E_ADVISENOTSUPPORTED;
}
