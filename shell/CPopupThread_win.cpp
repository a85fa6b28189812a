#include "shell/CPopupThread.h"

#include "classlib/core/CRuntimeClass.h"
#include "link/CLogger.h"
#include "shell/CPopupWnd.h"

IMPLEMENT_DYNAMIC(CPopupThread, CWinThread)

CPopupThread::CPopupThread(CRuntimeClass* windowClass) : m_windowClass(windowClass) {}

CPopupThread::~CPopupThread() = default;

void CPopupThread::PrepareWindow(CPopupWnd& window) {}

BOOL CPopupThread::InitInstance() {
    CObject* object = m_windowClass != nullptr ? m_windowClass->CreateObject() : nullptr;
    m_window = dynamic_cast<CPopupWnd*>(object);
    if (m_window == nullptr) {
        delete object;
    } else {
        PrepareWindow(*m_window);
        if (m_window->Create()) {
            m_pMainWnd = m_window;
            m_succeeded = true;
            m_created.SetEvent();
            return TRUE;
        }
        delete m_window;
        m_window = nullptr;
    }
    CLogger::Instance().Log(0, "CPopupThread::InitInstance(): the window could not be created.");
    m_created.SetEvent();
    return FALSE;
}

int CPopupThread::ExitInstance() {
    m_succeeded = false;
    m_pMainWnd = nullptr;
    delete m_window;
    m_window = nullptr;
    return CWinThread::ExitInstance();
}
