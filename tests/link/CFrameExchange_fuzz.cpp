// Fuzzes reply parsing: the input's first bytes choose the command and lengths, the
// rest is what the far end sends back to one exchange and one ping.
#include "link/CFrameExchange.h"

#include "link/CRepeatedLines.h"
#include "tests/link/CFakeClock.h"
#include "tests/link/CScriptedPort.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    CFakeClock clock;
    CScriptedPort port;
    CCommTrace trace(clock);
    CRepeatedLines failures(2000);
    CFrameExchange exchange(port, clock, trace, failures);
    port.Open(1, 9600, 2, 8, 0, 0, false);
    const Bytes reply(data + 4, data + size);
    port.SetResponder([&reply](int, const Bytes&) { return reply; });

    Bytes source(data[2] % 64 + 1, data[3]);
    Bytes destination(data[3] % 64);
    FrameRequest request;
    request.code = data[0];
    request.requestLength = static_cast<int>(static_cast<std::int8_t>(data[1])) % 8;
    request.replyLength = static_cast<int>(static_cast<std::int8_t>(data[2])) % 80;
    request.source = source.data();
    request.sourceSize = source.size();
    request.destination = destination.empty() ? nullptr : destination.data();
    request.destinationSize = destination.size();
    exchange.TransmitReceive(request);
    exchange.Ping(data[1] & 1 ? 0xAA : 0x99);
    return 0;
}
