// Fuzzes the update and zipped update readers (model and configurator checks) with a frame
// that passes its checks.
#include "manager/CFirmwareUpdateFile.h"

#include "FuzzFixup.h"
#include "link/CUpdateFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<BYTE> file = WithFixedFrame(data, size, 22);
    CFirmwareUpdateFile model;
    if (model.LoadZippedBytes(file.data(), file.size()) || model.LoadUpdateBytes(file.data(), file.size())) {
        std::vector<BYTE> saved;
        model.SaveZippedBytes(saved);
    }
    CUpdateFileCheck check;
    check.Check(file.data(), file.size(), 0x0205);
    check.ReadInfo(file.data(), file.size());
    return 0;
}
