// The trim calibrations' sample window and its log lines.
#include "calib/CTrimSampleList.h"

#include "link/CLogger.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kLogCalibration = 3000;

template <typename Format>
void LogList(const std::deque<TrimSample>& samples, const char* prefix, const char* name, Format format) {
    std::string line = std::string(prefix) + name;
    char value[64];
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (i > 0) {
            line += "; ";
        }
        format(samples[i], value, sizeof value);
        line += value;
    }
    line += " }";
    CLogger::Instance().Log(kLogCalibration, "%s", line.c_str());
}

}  // namespace

TrimSample MakeTrimSample(int speedRpm, double injectionMs, const CObdBlock& obd, DWORD timeMs) {
    TrimSample sample;
    sample.speedRpm = speedRpm;
    sample.injectionMs = injectionMs;
    sample.status1 = obd.status1;
    sample.status2 = obd.status2;
    sample.shortTrim1 = obd.shortTrim1;
    sample.longTrim1 = obd.longTrim1;
    sample.shortTrim2 = obd.shortTrim2;
    sample.longTrim2 = obd.longTrim2;
    sample.timeMs = timeMs;
    return sample;
}

BankTrimSum SumBankTrims(const TrimSample& s,
                         bool bank1,
                         bool bank2,
                         bool useLong,
                         const TrimOffsets& offsets) {
    BankTrimSum total;
    const auto addBank = [&](int shortTrim, int longTrim) {
        total.sum += offsets.shortSign * (shortTrim - offsets.shortReference);
        ++total.terms;
        if (useLong) {
            total.sum += offsets.longSign * (longTrim - offsets.longReference);
            ++total.terms;
        }
    };
    if (bank1) {
        addBank(s.shortTrim1, s.longTrim1);
    }
    if (bank2) {
        addBank(s.shortTrim2, s.longTrim2);
    }
    return total;
}

void CTrimSampleList::DropOldest(std::size_t count) {
    const std::size_t n = count < m_samples.size() ? count : m_samples.size();
    m_samples.erase(m_samples.begin(), m_samples.begin() + static_cast<std::ptrdiff_t>(n));
}

int CTrimSampleList::SpanMs() const {
    return m_samples.empty() ? 0 : AgeMs(0);
}

int CTrimSampleList::AgeMs(std::size_t i) const {
    // Unsigned difference first: the stamps may wrap.
    return static_cast<int>(static_cast<DWORD>(m_samples.back().timeMs - m_samples[i].timeMs));
}

double CTrimSampleList::SecondsFromOldest(std::size_t i) const {
    return static_cast<int>(static_cast<DWORD>(m_samples[i].timeMs - m_samples.front().timeMs)) * 0.001;
}

int CTrimSampleList::AverageSpeed() const {
    if (m_samples.empty()) {
        return 0;
    }
    long long sum = 0;
    for (const TrimSample& s : m_samples) {
        sum += s.speedRpm;
    }
    return static_cast<int>(sum / static_cast<long long>(m_samples.size()));
}

double CTrimSampleList::AverageInjection() const {
    if (m_samples.empty()) {
        return 0.0;
    }
    double sum = 0.0;
    for (const TrimSample& s : m_samples) {
        sum += s.injectionMs;
    }
    return sum / static_cast<double>(m_samples.size());
}

void CTrimSampleList::LogLists(const char* prefix) const {
    using Text = char*;
    LogList(m_samples, prefix, "revs { ",
            [](const TrimSample& s, Text t, std::size_t n) { std::snprintf(t, n, "%6d", s.speedRpm); });
    LogList(m_samples, prefix, "injs { ",
            [](const TrimSample& s, Text t, std::size_t n) { std::snprintf(t, n, "%6.2f", s.injectionMs); });
    LogList(m_samples, prefix, "st1  { ",
            [](const TrimSample& s, Text t, std::size_t n) { std::snprintf(t, n, "0x%04X", s.status1); });
    LogList(m_samples, prefix, "st2  { ",
            [](const TrimSample& s, Text t, std::size_t n) { std::snprintf(t, n, "0x%04X", s.status2); });
    LogList(m_samples, prefix, "ts1  { ",
            [](const TrimSample& s, Text t, std::size_t n) { std::snprintf(t, n, "%4d", s.shortTrim1); });
    LogList(m_samples, prefix, "tl1  { ",
            [](const TrimSample& s, Text t, std::size_t n) { std::snprintf(t, n, "%4d", s.longTrim1); });
    LogList(m_samples, prefix, "ts2  { ",
            [](const TrimSample& s, Text t, std::size_t n) { std::snprintf(t, n, "%4d", s.shortTrim2); });
    LogList(m_samples, prefix, "tl2  { ",
            [](const TrimSample& s, Text t, std::size_t n) { std::snprintf(t, n, "%4d", s.longTrim2); });
    LogList(m_samples, prefix, "time { ", [](const TrimSample& s, Text t, std::size_t n) {
        std::snprintf(t, n, "%6d", static_cast<int>(s.timeMs));
    });
}
