// The standard switches: /p and /pt print, /dde, /Embedding and /Automation, /Register
// and /Unregister (also /Regserver, /Unregserver); a plain parameter names a file.
#include "classlib/win/CCommandLineInfo.h"

#include <windows.h>

void CCommandLineInfo::ParseParam(LPCSTR param, BOOL isFlag, BOOL isLast) {
    if (isFlag) {
        ParseFlag(param);
    } else {
        ParseNotFlag(param);
    }
    if (isLast && m_nShellCommand == FileNew && !m_strFileName.IsEmpty()) {
        m_nShellCommand = FileOpen;
    }
}

void CCommandLineInfo::ParseFlag(LPCSTR param) {
    if (lstrcmpiA(param, "pt") == 0) {
        m_nShellCommand = FilePrintTo;
    } else if (lstrcmpiA(param, "p") == 0) {
        m_nShellCommand = FilePrint;
    } else if (lstrcmpiA(param, "dde") == 0) {
        m_nShellCommand = FileDDE;
    } else if (lstrcmpiA(param, "Embedding") == 0) {
        m_bRunEmbedded = TRUE;
    } else if (lstrcmpiA(param, "Automation") == 0) {
        m_bRunAutomated = TRUE;
    } else if (lstrcmpiA(param, "Register") == 0 || lstrcmpiA(param, "Regserver") == 0) {
        m_nShellCommand = AppRegister;
    } else if (lstrcmpiA(param, "Unregister") == 0 || lstrcmpiA(param, "Unregserver") == 0) {
        m_nShellCommand = AppUnregister;
    }
}

void CCommandLineInfo::ParseNotFlag(LPCSTR param) {
    if (m_strFileName.IsEmpty()) {
        m_strFileName = param;
        return;
    }
    if (m_nShellCommand != FilePrintTo) {
        return;
    }
    if (m_strPrinterName.IsEmpty()) {
        m_strPrinterName = param;
    } else if (m_strDriverName.IsEmpty()) {
        m_strDriverName = param;
    } else if (m_strPortName.IsEmpty()) {
        m_strPortName = param;
    }
}
