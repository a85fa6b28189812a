// Connects to the simulated unit over a line paced at 9600 baud and reads it whole, as
// the data handler does after a connection, on the real clock. Prints the measured
// time against the time its bytes alone need on the wire (10 bits a byte), how much of
// the difference the link's own delays explain (the sleep at the top of every pass,
// the 6 ms polls for a byte not yet there, the 3 ms polls of a drain, the 50 ms at the
// end of the full read), and the rest. Exits with 1 when the rest is 10 % of the
// measured time or more, but only in a build without sanitizers, where the timing
// means something.
#include "bench/BenchSupport.h"
#include "bench/link/CPacedLoopbackPort.h"
#include "bench/link/CTimedClock.h"
#include "link/CCommunicator.h"
#include "link/CDataHandler.h"
#include "tools/unitsim/CTranscript.h"
#include "tools/unitsim/CUnitEngine.h"

#include <cstdio>
#include <vector>

namespace {

#if !defined(ZARVO_BENCH_SANITIZED)
constexpr bool kTimingIsHonest = true;
#else
constexpr bool kTimingIsHonest = false;
#endif

constexpr int kUnitPort = 3;
constexpr DWORD kBaudRate = 9600;
constexpr double kRestLimitPercent = 10.0;
// The scan, the first serving pass and the full read take three passes; more means
// the full read did not end.
constexpr int kMaxPasses = 10;

struct Measurement {
    double measuredMs;
    double wireMs;
    double coveredMs;  // by the wire or a sleep
    std::size_t bytes;
    bool finished;
};

Measurement MeasureFullRead(CPacedLoopbackPort& port, CTimedClock& clock) {
    CCommunicator communicator;
    CDataHandler handler;
    communicator.SetPort(port);
    communicator.SetClock(clock);
    communicator.SetDataHandler(&handler);
    handler.SetCommunicator(&communicator);

    const double begin = SteadyMs();
    communicator.BeginPasses();
    for (int pass = 0; pass < kMaxPasses && communicator.GetWaitState() == 0; ++pass) {
        communicator.RunPass();
    }
    const double end = SteadyMs();
    std::vector<TimeSpan> busy = port.WireBusy();
    busy.insert(busy.end(), clock.Sleeps().begin(), clock.Sleeps().end());
    return {end - begin, static_cast<double>(port.BytesOnWire()) * port.ByteMs(), CoveredMs(busy, begin, end),
            port.BytesOnWire(), communicator.GetWaitState() == 1};
}

void PrintSleeps(const CTimedClock& clock) {
    std::printf("  sleeps taken:");
    for (const auto& [ms, count] : clock.SleepCounts()) {
        std::printf(" %d x %lu ms", count, static_cast<unsigned long>(ms));
    }
    std::printf("\n");
}

}  // namespace

int main() {
    CTranscript transcript;
    CUnitEngine engine(transcript, UnitSettings{});
    engine.Application().SetLiveMotion(false);
    CPacedLoopbackPort port(engine, kUnitPort, kBaudRate);
    CTimedClock clock;

    const Measurement m = MeasureFullRead(port, clock);
    if (!m.finished) {
        std::printf("link_bench: the full read did not end within %d passes\n", kMaxPasses);
        return 1;
    }
    const double delaysMs = m.coveredMs - m.wireMs;
    const double restMs = m.measuredMs - m.coveredMs;
    const double restPercent = 100.0 * restMs / m.measuredMs;
    std::printf("connect and full read at %lu baud: %zu bytes on the wire\n",
                static_cast<unsigned long>(kBaudRate), m.bytes);
    std::printf("  measured %.1f ms, bytes alone %.1f ms: ratio %.2f\n", m.measuredMs, m.wireMs,
                m.measuredMs / m.wireMs);
    std::printf("  the link's delays outside the wire time explain %.1f ms of the %.1f ms difference\n",
                delaysMs, m.measuredMs - m.wireMs);
    PrintSleeps(clock);
    std::printf("  rest %.1f ms = %.2f %% of the measured time (limit %.0f %%)\n", restMs, restPercent,
                kRestLimitPercent);
    if (!kTimingIsHonest) {
        std::printf("  (built with sanitizers: the limit is not applied)\n");
        return 0;
    }
    if (restPercent >= kRestLimitPercent) {
        std::printf("link_bench: the unexplained rest reaches the limit\n");
        return 1;
    }
    return 0;
}
