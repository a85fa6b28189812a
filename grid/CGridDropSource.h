// The drop source of a drag of grid cells: the drop happens when the left button comes up,
// Escape cancels, and the system's cursors show the effect.
#pragma once

#include <windows.h>

#include <oleidl.h>

class CGridDropSource : public IDropSource {
public:
    CGridDropSource() = default;
    virtual ~CGridDropSource() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;

    // Lives on the stack of the drag; OLE's references do not own it.
    STDMETHODIMP_(ULONG) AddRef() override { return 1; }

    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    STDMETHODIMP GiveFeedback(DWORD effect) override;
};
