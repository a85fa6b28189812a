#include "grid/CGridDropSource.h"

STDMETHODIMP CGridDropSource::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
        *object = static_cast<IDropSource*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CGridDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    if (escapePressed) {
        return DRAGDROP_S_CANCEL;
    }
    return (keyState & MK_LBUTTON) == 0 ? DRAGDROP_S_DROP : S_OK;
}

STDMETHODIMP CGridDropSource::GiveFeedback(DWORD) {
    return DRAGDROP_S_USEDEFAULTCURSORS;
}
