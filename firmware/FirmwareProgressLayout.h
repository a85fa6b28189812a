// The layout the firmware update and firmware patch dialogs share: a box of 280 x 160
// scaled units centred on the owner, a phase line over the progress bar, the status text
// below and Close, disabled until the run ends, in the bottom right corner.
#pragma once

#include "classlib/win/CButton.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CProgressCtrl.h"
#include "classlib/win/CStatic.h"

class CFontCache;

struct FirmwareProgressControls {
    CStatic& phase;
    CProgressCtrl& progress;
    CStatic& status;
    CButton& close;
};

void LayOutFirmwareProgress(CDialog& dialog, CWnd* owner, const FirmwareProgressControls& controls,
                            CFontCache* fonts, double scaleX, double scaleY);
