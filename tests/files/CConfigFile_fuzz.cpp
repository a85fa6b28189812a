// Fuzzes the configuration file reader with a frame that passes its checks.
#include "link/CConfigFile.h"

#include "FuzzFixup.h"

#include <array>

namespace {

std::array<ConfigElement, kElementCount> MakeElements() {
    std::array<ConfigElement, kElementCount> elements{};
    for (int id = 0; id < kElementCount; ++id) {
        elements[id] = {id * 100, 1 + id % 4, id % 2 == 0 ? kAccessSetting : 1};
    }
    elements[8] = {36, 1024, kAccessSetting};
    elements[75] = {-1, 12, -1};
    elements[107] = {-1, 1026, -1};
    return elements;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::array<ConfigElement, kElementCount> elements = MakeElements();
    const std::vector<BYTE> file = WithFixedFrame(data, size, 19);
    std::vector<BYTE> image(kImageBytes);
    std::vector<ConfigMeasurement> measurements;
    ConfigTableMap tables;
    ConfigTarget target;
    target.image = image.data();
    target.measurements = &measurements;
    target.tables = &tables;
    CConfigFile(elements.data())
        .Parse(file.data(), file.size(), file.size() > 24 ? file[24] : 0, 0xFF, target);
    return 0;
}
