// Arbitrary point sets through the mesh builder: coincident, collinear, lattice and
// cocircular points, points on the border and huge areas must neither crash nor hang,
// and every value must stay between the points' values (or be the 0 of "no triangle").
#include "config/CMeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

constexpr int kMaxPoints = 64;

double Area(FuzzedDataProvider& input) {
    const double sizes[] = {500.0, 1.0, 1e-6, 1e6, 1e150, 1e300};
    return input.ConsumeBool() ? input.PickValueInArray(sizes) : input.ConsumeFloatingPoint<double>();
}

// A place in the rectangle: anywhere, on a lattice, on a circle, or on the border.
void Place(FuzzedDataProvider& input, double width, double height, double& x, double& y) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
        x = input.ConsumeFloatingPointInRange(0.0, width);
        y = input.ConsumeFloatingPointInRange(0.0, height);
        break;
    case 1:
        x = width * input.ConsumeIntegralInRange(0, 8) / 8;
        y = height * input.ConsumeIntegralInRange(0, 8) / 8;
        break;
    case 2: {
        const double angle = 2 * 3.14159265358979323846 * input.ConsumeIntegralInRange(0, 23) / 24;
        x = width / 2 + width / 3 * std::cos(angle);
        y = height / 2 + height / 3 * std::sin(angle);
        break;
    }
    default:
        x = input.ConsumeBool() ? 0 : width;
        y = input.ConsumeFloatingPointInRange(0.0, height);
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    CMeshBuilder mesh;
    mesh.SetArea(Area(input), Area(input));
    const double width = mesh.GetWidth();
    const double height = mesh.GetHeight();
    if (input.ConsumeBool()) {
        mesh.SeedBorder();
    }
    double low = 0;
    double high = 0;
    const int count = input.ConsumeIntegralInRange(0, kMaxPoints);
    for (int i = 0; i < count; ++i) {
        double x = 0;
        double y = 0;
        Place(input, width, height, x, y);
        const double value = input.ConsumeFloatingPointInRange(-1000.0, 1000.0);
        if (mesh.AddPoint(x, y, value, input.ConsumeBool() ? 1 : 0) != nullptr) {
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }
    // Seeds may have taken any data point's value, which the bounds already hold.
    mesh.Build();
    const double slack = 1e-9 * std::max({1.0, -low, high});
    while (input.remaining_bytes() > 0) {
        double x = 0;
        double y = 0;
        Place(input, width, height, x, y);
        const double value = mesh.GetValueAt(x, y);
        mesh.GetLinearValueAt(x, y);
        if (width * height < 1e12 && (value < low - slack || value > high + slack)) {
            __builtin_trap();
        }
    }
    return 0;
}
