// The layout and texts the firmware update and firmware patch dialogs share: a box of 280 x
// 160 scaled units centred on the owner, a phase line over the progress bar, the status text
// below and Close, disabled until the run ends, in the bottom right corner.
#pragma once

#include "classlib/win/CButton.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CProgressCtrl.h"
#include "classlib/win/CStatic.h"

class CFontCache;
class ITextResources;

namespace FirmwareProgressTexts {

constexpr UINT kWritingId = 15389;       // "Writing: %d%%."
constexpr UINT kInitializingId = 15390;  // "Initializing: %d%%."
constexpr UINT kWaitingId = 15391;       // "Waiting ..."
constexpr UINT kCloseTextId = 15392;     // "Close"
constexpr UINT kFinishedId = 15395;      // "Finished successfully."
constexpr UINT kProgrammingId = 15397;   // "Programming ..."

}  // namespace FirmwareProgressTexts

struct FirmwareProgressControls {
    CStatic& phase;
    CProgressCtrl& progress;
    CStatic& status;
    CButton& close;
};

void LayOutFirmwareProgress(CDialog& dialog, CWnd* owner, const FirmwareProgressControls& controls,
                            CFontCache* fonts, double scaleX, double scaleY);

// The phase line: the text of formatId, whose one %d takes the percentage.
void ShowFirmwarePhase(CStatic& phase, const ITextResources* resources, UINT formatId, int percent);
