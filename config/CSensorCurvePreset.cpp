#include "config/CSensorCurvePreset.h"

#include "config/TablesIds.h"

namespace {

// The settings page's characteristic buttons, beside "Temperature type", "Press type" and
// "Gas level type".
constexpr int kTempCurveButton = 1441;
constexpr int kPressCurveButton = 1444;
constexpr int kLevelCurveButton = 1447;

const CSensorCurvePreset kPresets[] = {
    {kLevelCurveButton,
     6,
     IDS_SENSOR_VOLTAGE,
     "V",
     0.0,
     5.0,
     -2,
     IDS_SENSOR_LEVEL,
     "%",
     -1.0,
     101.0,
     0,
     {0.5, 1.0, 2.0, 3.0, 4.0, 4.5},
     {0, 5, 25, 50, 75, 100},
     0x3F,
     61},
    {kPressCurveButton,
     2,
     IDS_SENSOR_VOLTAGE,
     "V",
     0.0,
     5.0,
     -2,
     IDS_SENSOR_PRESS,
     "bar",
     0.9,
     5.0,
     -2,
     {0.5, 4.5},
     {1.0, 3.0},
     0,
     57},
    {kTempCurveButton,
     10,
     IDS_SENSOR_VOLTAGE,
     "V",
     0.0,
     5.0,
     -2,
     IDS_SENSOR_TEMPERATURE,
     "\xB0"
     "C",
     -127.0,
     126.0,
     0,
     {0.2, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 4.5, 4.9},
     {0, 10, 20, 30, 40, 50, 60, 70, 80, 90},
     0,
     56},
};

}  // namespace

const CSensorCurvePreset* CSensorCurvePreset::FindByButton(int buttonId) {
    for (const CSensorCurvePreset& preset : kPresets) {
        if (preset.buttonId == buttonId) {
            return &preset;
        }
    }
    return nullptr;
}
