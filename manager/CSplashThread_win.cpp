#include "manager/CSplashThread.h"

IMPLEMENT_DYNCREATE(CSplashThread, CWinThread)

CSplashThread::CSplashThread() : m_ready(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

CSplashThread::~CSplashThread() {
    delete m_splash;
    if (m_ready != nullptr) {
        CloseHandle(m_ready);
    }
}

BOOL CSplashThread::WaitReady(DWORD timeoutMs) {
    return WaitForSingleObject(m_ready, timeoutMs) == WAIT_OBJECT_0 ? TRUE : FALSE;
}

BOOL CSplashThread::InitInstance() {
    CObject* object = m_windowClass != nullptr ? m_windowClass->CreateObject() : nullptr;
    m_splash = dynamic_cast<CSplashWnd*>(object);
    if (m_splash == nullptr) {
        delete object;
        SetEvent(m_ready);
        return FALSE;
    }
    if (!m_splash->Create()) {
        delete m_splash;
        m_splash = nullptr;
        SetEvent(m_ready);
        return FALSE;
    }
    m_made = true;
    m_pMainWnd = m_splash;
    SetEvent(m_ready);
    return TRUE;
}

int CSplashThread::ExitInstance() {
    m_pMainWnd = nullptr;
    return CWinThread::ExitInstance();
}
