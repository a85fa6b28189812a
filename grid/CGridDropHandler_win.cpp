#include "grid/CGridDropHandler.h"

#include "grid/CGridCtrl.h"

namespace {

// One registration at a time in the program.
bool g_registering = false;

void ReleaseData(IDataObject*& data) {
    if (data != nullptr) {
        data->Release();
        data = nullptr;
    }
}

}  // namespace

CGridDropHandler::~CGridDropHandler() {
    Revoke();
    ReleaseData(m_data);
}

BOOL CGridDropHandler::Register(CGridCtrl* grid) {
    if (m_registered || g_registering || grid == nullptr || grid->GetSafeHwnd() == nullptr) {
        return FALSE;
    }
    g_registering = true;
    m_grid = grid;
    m_registered = SUCCEEDED(RegisterDragDrop(grid->GetSafeHwnd(), this));
    g_registering = false;
    return m_registered ? TRUE : FALSE;
}

void CGridDropHandler::Revoke() {
    if (!m_registered) {
        return;
    }
    m_registered = false;
    if (m_grid != nullptr && m_grid->GetSafeHwnd() != nullptr) {
        RevokeDragDrop(m_grid->GetSafeHwnd());
    }
}

STDMETHODIMP CGridDropHandler::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CGridDropHandler::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

STDMETHODIMP_(ULONG) CGridDropHandler::Release() {
    return static_cast<ULONG>(InterlockedDecrement(&m_references));
}

CPoint CGridDropHandler::ClientPoint(POINTL point) const {
    POINT client = {point.x, point.y};
    ScreenToClient(m_grid->GetSafeHwnd(), &client);
    return CPoint(client.x, client.y);
}

STDMETHODIMP CGridDropHandler::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    ReleaseData(m_data);
    if (data != nullptr) {
        data->AddRef();
        m_data = data;
    }
    *effect = m_grid == nullptr ? DROPEFFECT_NONE : m_grid->OnDragEnter(data, keyState, ClientPoint(point));
    return S_OK;
}

STDMETHODIMP CGridDropHandler::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
    *effect = m_grid == nullptr ? DROPEFFECT_NONE : m_grid->OnDragOver(m_data, keyState, ClientPoint(point));
    return S_OK;
}

STDMETHODIMP CGridDropHandler::DragLeave() {
    if (m_grid != nullptr) {
        m_grid->OnDragLeave();
    }
    ReleaseData(m_data);
    return S_OK;
}

STDMETHODIMP CGridDropHandler::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    const DWORD wanted = *effect;
    const BOOL dropped = m_grid != nullptr && m_grid->OnDrop(data, wanted, ClientPoint(point));
    *effect = dropped ? ((keyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE) : DROPEFFECT_NONE;
    ReleaseData(m_data);
    return S_OK;
}
