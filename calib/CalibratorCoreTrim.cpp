#include "calib/CalibratorCoreTrim.h"

#include "calib/CDataHandlerLiveValues.h"
#include "calib/LiveElementReads.h"
#include "link/CSystemClock.h"

CalibratorCoreTrim::CalibratorCoreTrim(const char* logName)
    : m_logName(logName), m_clock(&CSystemClock::Instance()) {}

CalibratorCoreTrim::~CalibratorCoreTrim() = default;

int CalibratorCoreTrim::Step(CDataHandler* dataHandler, int percentInEffect) {
    return CDataHandlerLiveValues::StepOn(dataHandler, m_logName,
                                          [&](ILiveValues& live) { return Step(live, percentInEffect); });
}

bool CalibratorCoreTrim::BeginOnGas(int fuelState, int measuringState) {
    if (fuelState != kFuelGas) {
        return false;
    }
    m_samples.Clear();
    m_state = measuringState;
    return true;
}

void CalibratorCoreTrim::AppendSample(int speedRpm, double injectionMs, const CObdBlock& obd) {
    m_samples.Append(MakeTrimSample(speedRpm, injectionMs, obd, m_clock->NowMs()));
}
