#include "shell/CPopupThread.h"

#include "classlib/core/CRuntimeClass.h"
#include "classlib/core/CSingleLock.h"
#include "link/CLogger.h"
#include "shell/CPopupWnd.h"

#include <windows.h>

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
            CSingleLock guard(&m_closeLock, TRUE);
            if (!m_closeRequested) {
                m_pMainWnd = m_window;
                m_succeeded = true;
                m_created.SetEvent();
                return TRUE;
            }
            // The launcher gave up waiting for the creation and has gone on.
            m_window->DestroyWindow();
            CLogger::Instance().Log(0, "CPopupThread::InitInstance(): the window came after its close.");
        }
        delete m_window;
        m_window = nullptr;
    }
    CLogger::Instance().Log(0, "CPopupThread::InitInstance(): the window could not be created.");
    m_created.SetEvent();
    return FALSE;
}

void CPopupThread::RequestClose() {
    CSingleLock guard(&m_closeLock, TRUE);
    m_closeRequested = true;
    CPopupWnd* box = GetPopup();
    if (box != nullptr && box->GetSafeHwnd() != nullptr) {
        box->AllowClosing();
        ::PostMessageA(box->GetSafeHwnd(), WM_CLOSE, 0, 0);
    }
}

int CPopupThread::ExitInstance() {
    m_succeeded = false;
    m_pMainWnd = nullptr;
    delete m_window;
    m_window = nullptr;
    return CWinThread::ExitInstance();
}
