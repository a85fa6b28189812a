// The full read's OBD support data: the forwarder's ready poll and the id ranges.
#include "link/CCompositeProcedures.h"
#include "link/CompositeCodes.h"

#include <algorithm>
#include <array>
#include <cstring>

using namespace CompositeCodes;

bool CCompositeProcedures::WaitForObdReady() {
    for (int poll = 0; poll < kObdBusyPollLimit; ++poll) {
        BYTE status = 0;
        if (!SendOrClose(kObdStatus, {}, 1, Span{&status, 1})) {
            return false;
        }
        if ((status & 0x0F) != kObdBusy) {
            return true;
        }
    }
    return Fail("the OBD forwarder stays busy");
}

bool CCompositeProcedures::ReadObdRange(BYTE range, BYTE* reply) {
    return SendOrClose(kObdForward, {2, 1, range}, kCountedBytes, Span{reply, kScratchBytes});
}

bool CCompositeProcedures::ReadObdSupport(Span image) {
    const Span support = ElementSpan(image, kElementObdSupport);
    std::fill(support.data, support.data + support.size, BYTE{0});
    std::array<BYTE, kScratchBytes> reply{};
    int range = 0;
    for (int counter = 0; counter < kObdCounterEnd; counter += kObdCounterStep, range += kObdRangeIds) {
        if (!WaitForObdReady()) {
            return false;
        }
        Progress(counter / 256 + 30);
        if (!ReadObdRange(static_cast<BYTE>(range), reply.data())) {
            return false;
        }
        Progress((counter + 480) / 256 + 30);
        const std::size_t at = static_cast<std::size_t>(range / 8);
        if (reply[0] != kObdSupportReplyCount || at + 4 > support.size) {
            break;
        }
        std::memcpy(support.data + at, reply.data() + 3, 4);
        if ((reply[6] & 0x01) == 0) {
            break;
        }
    }
    Progress(60);

    const struct {
        BYTE range;
        int element;
        int before;
    } records[] = {{1, kElementPatchVersion, 65}, {2, kElementPatchDate, 75}};

    for (const auto& record : records) {
        if (!WaitForObdReady()) {
            return false;
        }
        Progress(record.before);
        if (!ReadObdRange(record.range, reply.data())) {
            return false;
        }
        Progress(record.before + 5);
        const Span target = ElementSpan(image, record.element, 4);
        if (reply[0] == kObdSupportReplyCount && target.size == 4) {
            std::memcpy(target.data, reply.data() + 3, 4);
        }
    }
    return true;
}
