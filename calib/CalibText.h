// The calibration dialogs' texts in the current language.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

class ITextResources;

// The string-table text of id; the program's own table when there is no resource manager.
CString LoadCalibText(ITextResources* resources, UINT id);
