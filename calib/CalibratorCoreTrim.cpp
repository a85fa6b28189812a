#include "calib/CalibratorCoreTrim.h"

#include "calib/CDataHandlerLiveValues.h"
#include "link/CSystemClock.h"

CalibratorCoreTrim::CalibratorCoreTrim(const char* logName)
    : m_logName(logName), m_clock(&CSystemClock::Instance()) {}

CalibratorCoreTrim::~CalibratorCoreTrim() = default;

int CalibratorCoreTrim::Step(CDataHandler* dataHandler, int percentInEffect) {
    return CDataHandlerLiveValues::StepOn(dataHandler, m_logName,
                                          [&](ILiveValues& live) { return Step(live, percentInEffect); });
}

void CalibratorCoreTrim::AppendSample(int speedRpm, double injectionMs, const CObdBlock& obd) {
    m_samples.Append(MakeTrimSample(speedRpm, injectionMs, obd, m_clock->NowMs()));
}
