// The configurator's command line: the switch "nosplash" (after '/' or '-') turns the
// splash off; everything else goes to the library's parser.
#pragma once

#include "classlib/win/CCommandLineInfo.h"

class CZarvoCommandLineInfo : public CCommandLineInfo {
public:
    void ParseParam(LPCSTR param, BOOL isFlag, BOOL isLast) override;

    BOOL m_showSplash = TRUE;
};
