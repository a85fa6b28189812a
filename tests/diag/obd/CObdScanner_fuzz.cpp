// Fuzzes the OBD-II scan with arbitrary replies: the input is cut at every '>' into reply
// texts that answer the scan's requests in turn, and every freeze-frame row is formatted.
// After each reply the scan must be idle or wait for a well-formed request; the sanitizers
// catch any read past the data.
#include "diag/CObdScanner.h"

#include "diag/FormatPidValue.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    CObdScanner scanner;
    scanner.Start();
    std::size_t start = 0;
    while (scanner.IsScanning() && start < input.size()) {
        const std::size_t end = input.find('>', start);
        const std::size_t length = end == std::string::npos ? std::string::npos : end - start + 1;
        const CObdScanner::Step step = scanner.OnReply(input.substr(start, length));
        if (step == CObdScanner::Step::FreezeRow) {
            CString text;
            FormatPidValue(scanner.GetRowPid(), scanner.GetRowData().data(), scanner.GetRowData().size(),
                           text);
        }
        const CObdScanner::Request& request = scanner.GetRequest();
        const bool wellFormed = request.length == 1 || request.length == 2;
        if (scanner.IsScanning() && (!wellFormed || scanner.GetState() > 9)) {
            std::abort();
        }
        start = end == std::string::npos ? input.size() : end + 1;
    }
    return 0;
}
