#include "classlib/core/CProcessClock.h"

#include <chrono>

namespace {

// Taken during static initialisation, which is as close to the start as we get.
const std::chrono::steady_clock::time_point g_start = std::chrono::steady_clock::now();

}  // namespace

LONG CProcessClock::ElapsedMs() {
    const auto elapsed = std::chrono::steady_clock::now() - g_start;
    return static_cast<LONG>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}
