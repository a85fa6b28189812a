// The busy box's thread: hands the box its text and scales.
#pragma once

#include "classlib/core/CString.h"
#include "shell/CPopupThread.h"

class CSlushThread : public CPopupThread {
public:
    CSlushThread(CRuntimeClass* windowClass, LPCSTR message, double scaleX, double scaleY);

protected:
    void PrepareWindow(CPopupWnd& window) override;

private:
    CString m_message;
    double m_scaleX;
    double m_scaleY;
};
