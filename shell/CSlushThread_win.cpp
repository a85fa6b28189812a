#include "shell/CSlushThread.h"

#include "shell/CSlushWnd.h"

CSlushThread::CSlushThread(CRuntimeClass* windowClass, LPCSTR message, double scaleX, double scaleY)
    : CPopupThread(windowClass), m_message(message), m_scaleX(scaleX), m_scaleY(scaleY) {}

void CSlushThread::PrepareWindow(CPopupWnd& window) {
    CSlushWnd* box = dynamic_cast<CSlushWnd*>(&window);
    if (box != nullptr) {
        box->SetMessage(m_message);
        box->SetScale(m_scaleX, m_scaleY);
    }
}
