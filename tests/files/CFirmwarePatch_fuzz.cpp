// Fuzzes the patch file reader with a frame that passes its checks; what it reads must save.
#include "firmware/CFirmwarePatch.h"

#include "FuzzFixup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<BYTE> file = WithFixedFrame(data, size, 21);
    CFirmwarePatch patch;
    if (patch.LoadFromBytes(file.data(), file.size())) {
        std::vector<BYTE> saved;
        patch.SaveToBytes(saved);
    }
    return 0;
}
