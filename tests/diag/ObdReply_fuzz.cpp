// Fuzzes OBD reply parsing and the reading of scan data with arbitrary bytes: the first two
// bytes are the request and the rest the reply text; from the second byte on, the input is
// also read as a reply element. The sanitizers catch any read past the data.
#include "diag/ObdReply.h"

#include "diag/ObdScanData.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    std::string elementText;
    ReadObdReplyElement(data + 1, size - 1, elementText);
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::size_t requestLength = data[1] % 2 + 1;
    std::vector<BYTE> reply;
    if (!ParseObdReply(text, data, requestLength, reply)) {
        return 0;
    }
    DWORD bitmap = 0;
    ReadObdBitmap(reply, data[1] % 8, bitmap);
    ReadObdCodes(reply);
    std::string vin;
    AssembleVin(reply, vin);
    return 0;
}
