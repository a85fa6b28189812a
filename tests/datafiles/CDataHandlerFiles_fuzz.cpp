// Any bytes read as a configuration file by the data handler: nothing is read or written
// outside the images, and a file that was accepted saves and reads back to the same settings.
#include "link/CDataHandler.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

CDataHandler& Handler() {
    static CDataHandler handler;
    static const bool versionSet = (handler.SetProgramVersion(2, 5), true);
    (void)versionSet;
    return handler;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const BYTE* data, std::size_t size) {
    CDataHandler& handler = Handler();
    handler.ClearMeasurements();
    std::vector<BYTE> image(kImageBytes, 0);
    if (handler.ParseConfig(image.data(), data, size) < 0) {
        return 0;
    }
    std::vector<BYTE> file;
    if (handler.SerializeConfig(image.data(), file, 1) != static_cast<int>(file.size())) {
        std::abort();
    }
    std::vector<BYTE> again(kImageBytes, 0);
    handler.ClearMeasurements();
    if (handler.ParseConfig(again.data(), file.data(), file.size()) != 0 ||
        handler.CompareImages(image.data(), again.data(), nullptr)) {
        std::abort();
    }
    return 0;
}
