// The time-stamped samples of the two calibrations that work from OBD fuel trims,
// oldest first, with the list lines both write to the log, and the mean trim they take.
#pragma once

#include "calib/CObdBlock.h"
#include "classlib/core/WinTypes.h"

#include <cstddef>
#include <deque>

struct TrimSample {
    int speedRpm = 0;
    double injectionMs = 0.0;
    int status1 = 0;
    int status2 = 0;
    int shortTrim1 = 0;
    int longTrim1 = 0;
    int shortTrim2 = 0;
    int longTrim2 = 0;
    DWORD timeMs = 0;
};

// The sample of one step: its speed and injection time, the OBD block's trims and states.
TrimSample MakeTrimSample(int speedRpm, double injectionMs, const CObdBlock& obd, DWORD timeMs);

// How each trim is taken: times its sign, less its reference.
struct TrimOffsets {
    int shortSign = 1;
    int longSign = 1;
    int shortReference = 0;
    int longReference = 0;
};

// The trims summed over the banks that count, and how many.
struct BankTrimSum {
    int sum = 0;
    int terms = 0;

    double Mean() const { return terms > 0 ? static_cast<double>(sum) / terms : 0.0; }

    // The mean truncated towards zero.
    int WholeMean() const { return terms > 0 ? sum / terms : 0; }
};

// Each counted bank gives its short trim and, with useLong, its long trim.
BankTrimSum SumBankTrims(const TrimSample& s,
                         bool bank1,
                         bool bank2,
                         bool useLong,
                         const TrimOffsets& offsets = {});

class CTrimSampleList {
public:
    void Append(const TrimSample& sample) { m_samples.push_back(sample); }

    void Clear() { m_samples.clear(); }

    std::size_t Size() const { return m_samples.size(); }

    bool IsEmpty() const { return m_samples.empty(); }

    const TrimSample& operator[](std::size_t i) const { return m_samples[i]; }

    void DropOldest(std::size_t count);
    // Milliseconds from the oldest to the newest sample; 0 when empty.
    int SpanMs() const;
    // Milliseconds from sample i to the newest.
    int AgeMs(std::size_t i) const;
    // Seconds from the oldest sample to sample i.
    double SecondsFromOldest(std::size_t i) const;
    int AverageSpeed() const;
    double AverageInjection() const;
    // Nine lines at level 3000, each prefix + name + the samples' values, oldest first.
    void LogLists(const char* prefix) const;

private:
    std::deque<TrimSample> m_samples;
};
