// A stretch of steady time in milliseconds, as the benchmark's clock and port record them.
#pragma once

#include <vector>

struct TimeSpan {
    double beginMs;
    double endMs;
};

// Milliseconds covered by at least one span, counted inside [fromMs, toMs) only.
double CoveredMs(std::vector<TimeSpan> spans, double fromMs, double toMs);

// Steady milliseconds since an arbitrary start shared by the whole program.
double SteadyMs();
