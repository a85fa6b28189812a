// The grid's OLE drop target: passes the drag events over its grid's window to the grid.
#pragma once

#include "classlib/win/CPoint.h"

#include <windows.h>

#include <oleidl.h>

class CGridCtrl;

class CGridDropHandler : public IDropTarget {
public:
    CGridDropHandler() = default;
    virtual ~CGridDropHandler();

    CGridDropHandler(const CGridDropHandler&) = delete;
    CGridDropHandler& operator=(const CGridDropHandler&) = delete;

    // FALSE when registered already or while another registration runs.
    BOOL Register(CGridCtrl* grid);
    void Revoke();

    BOOL IsRegistered() const { return m_registered; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    // The handler lives as long as its grid; OLE's references do not own it.
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragLeave() override;
    STDMETHODIMP Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

private:
    CPoint ClientPoint(POINTL point) const;

    CGridCtrl* m_grid = nullptr;  // not owned
    bool m_registered = false;
    IDataObject* m_data = nullptr;  // held between enter and leave or drop
    LONG m_references = 0;
};
