#include "bench/link/TimeSpan.h"

#include <algorithm>
#include <chrono>

double CoveredMs(std::vector<TimeSpan> spans, double fromMs, double toMs) {
    std::sort(spans.begin(), spans.end(),
              [](const TimeSpan& a, const TimeSpan& b) { return a.beginMs < b.beginMs; });
    double covered = 0;
    double reached = fromMs;
    for (const TimeSpan& span : spans) {
        const double begin = std::max(span.beginMs, reached);
        const double end = std::min(span.endMs, toMs);
        if (end > begin) {
            covered += end - begin;
            reached = end;
        }
    }
    return covered;
}

double SteadyMs() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}
