// What the command line asks the program to do. ParseCommandLine hands each parameter
// to ParseParam; programs add switches of their own by overriding it and passing the
// rest on.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

class CCommandLineInfo {
public:
    enum ShellCommand {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppRegister,
        AppUnregister,
        FileNothing = -1
    };

    CCommandLineInfo() = default;
    virtual ~CCommandLineInfo() = default;

    // param is the text after the '/' or '-' when isFlag is TRUE; isLast marks the
    // last parameter of the line.
    virtual void ParseParam(LPCSTR param, BOOL isFlag, BOOL isLast);

    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    ShellCommand m_nShellCommand = FileNew;
    // The first parameter that is not a switch.
    CString m_strFileName;
    // Further plain parameters after "/pt": printer, driver, port.
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;

private:
    void ParseFlag(LPCSTR param);
    void ParseNotFlag(LPCSTR param);
};
