// Element 8 bytes as any unit might send them, then a sequence of edits, undo and redo,
// measurements and folds on whatever map they gave. A map that is taken must encode back
// to the same bytes, and nothing may read or write outside the model.
#include "config/CCorrectionMap.h"

#include "config/CMapFolding.h"
#include "config/CMeasurementList.h"

#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

namespace {

constexpr int kMaxOperations = 64;

void Operate(FuzzedDataProvider& input, CCorrectionMap& map, CMeasurementList& list, CMapFolding& folding) {
    const int column = input.ConsumeIntegralInRange(-2, 34);
    const int row = input.ConsumeIntegralInRange(-2, 34);
    const int percent = input.ConsumeIntegralInRange(-300, 300);
    int a = 0, b = 0, c = 0, d = 0;
    switch (input.ConsumeIntegralInRange(0, 11)) {
    case 0:
        map.SetCell(row, column, percent);
        break;
    case 1:
        map.PushUndoBox(column, row, input.ConsumeIntegralInRange(-2, 34),
                        input.ConsumeIntegralInRange(-2, 34));
        break;
    case 2:
        map.Undo(a, b, c, d);
        break;
    case 3:
        map.Redo(a, b, c, d);
        break;
    case 4:
        map.FillBox(percent, row, column, input.ConsumeIntegralInRange(-2, 34),
                    input.ConsumeIntegralInRange(-2, 34));
        break;
    case 5:
        map.SetBasePercent(percent);
        break;
    case 6:
        map.GetInterpolatedValue(input.ConsumeIntegral<int>(), input.ConsumeFloatingPoint<double>());
        break;
    case 7:
        list.AddMeasurement(input.ConsumeIntegral<int>(), input.ConsumeFloatingPoint<double>(), percent,
                            input.ConsumeIntegralInRange(0, 2));
        break;
    case 8:
        list.ConfirmNewMeasurements(input.ConsumeBool());
        break;
    case 9:
        list.UndoLastMeasurement();
        list.ClearUndoneMeasurements();
        break;
    case 10:
        map.SaveMatrix();
        break;
    default:
        folding.CombineLastMeasurementsIntoMatrix(percent, input.ConsumeBool());
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::vector<BYTE> element =
        input.ConsumeBytes<BYTE>(input.ConsumeIntegralInRange<std::size_t>(0, 1024));
    CCorrectionMap map;
    if (map.ParseElementData(element.data(), element.size())) {
        std::vector<BYTE> built(1024);
        const std::size_t used = map.BuildElementData(built.data(), built.size());
        if (used == 0 || used > element.size() ||
            !std::equal(built.begin(), built.begin() + used, element.begin())) {
            __builtin_trap();
        }
    }
    CMeasurementList list(map);
    CMapFolding folding(map, list);
    for (int i = 0; i < kMaxOperations && input.remaining_bytes() > 0; ++i) {
        Operate(input, map, list, folding);
    }
    return 0;
}
