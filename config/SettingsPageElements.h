// The elements the settings page shows and the edits that show them, shared by the page's
// files.
#pragma once

#include "classlib/core/WinTypes.h"
#include "config/CSettingsPage.h"

namespace SettingsPageElements {

inline constexpr int kChangeTypeElement = 2;
inline constexpr int kRevSignalElement = 0;
inline constexpr int kOxygenSensorElement = 35;
inline constexpr int kTankValveElement = 45;
inline constexpr int kTempTypeElement = 36;
inline constexpr int kPressTypeElement = 37;
inline constexpr int kLevelTypeElement = 38;
inline constexpr int kLambdaElement = 74;
inline constexpr int kPumpTypeElement = 122;
inline constexpr int kIntervalElement = 102;
inline constexpr int kLoadMinimumElement = 100;

// The value of a switched-on setting (the lambda check, a user-defined sensor type).
inline constexpr BYTE kOn = 255;
// The highest tank valve type that the page has a text for.
inline constexpr int kLastValveType = 1;

struct EditBinding {
    int element;
    int controlId;
};

// The edit of each edit-field element; the one of element 102 shares it with the slider.
inline constexpr EditBinding kEdits[] = {
    {3, CSettingsPage::kChangeRevId},      {4, CSettingsPage::kChangeTempId},
    {5, CSettingsPage::kChangePressId},    {71, CSettingsPage::kOverlapId},
    {50, CSettingsPage::kMinInjectionId},  {72, CSettingsPage::kBeforeChangeId},
    {73, CSettingsPage::kHighPressId},     {1, CSettingsPage::kRevDivisorId},
    {93, CSettingsPage::kPressMatterId},   {94, CSettingsPage::kTempMatterId},
    {102, CSettingsPage::kIntervalEditId}, {100, CSettingsPage::kLoadMinimumId},
    {101, CSettingsPage::kCylindersId},    {103, CSettingsPage::kExtra2Id},
    {104, CSettingsPage::kExtra3Id},       {105, CSettingsPage::kExtra4Id},
};

}  // namespace SettingsPageElements
