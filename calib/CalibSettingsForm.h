// Moving the settings dialogs' fields between their edit controls and the core parameters.
#pragma once

#include "calib/CalibSettingsField.h"

#include <vector>

class ITextResources;
class CWnd;

// Writes every field's parameter into its edit control.
void ShowCalibSettingsFields(CWnd& dialog, const std::vector<CalibSettingsField>& fields);
// Stores the fields in order; at the first refused one shows its message and returns false,
// leaving the fields before it stored.
bool StoreCalibSettingsFields(CWnd& dialog,
                              const std::vector<CalibSettingsField>& fields,
                              ITextResources* resources);
