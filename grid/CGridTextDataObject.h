// A data object offering one text as CF_TEXT in global memory, for dragging cells.
#pragma once

#include "classlib/core/CString.h"

#include <windows.h>

#include <objidl.h>

class CGridTextDataObject : public IDataObject {
public:
    // Reference count 1; the creator releases it.
    explicit CGridTextDataObject(const CString& text);

    CGridTextDataObject(const CGridTextDataObject&) = delete;
    CGridTextDataObject& operator=(const CGridTextDataObject&) = delete;

    // The CF_TEXT of any data object, read no further than its memory block. FALSE when the
    // object offers no text.
    static BOOL ReadText(IDataObject* data, CString& text);

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP QueryGetData(FORMATETC* format) override;
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    STDMETHODIMP SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    STDMETHODIMP DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
    STDMETHODIMP DUnadvise(DWORD connection) override;
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA** advises) override;

protected:
    virtual ~CGridTextDataObject() = default;

private:
    LONG m_references = 1;
    CString m_text;
};
