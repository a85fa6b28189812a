#include "diag/CObdAdaptationModel.h"

#include "diag/CObdAdaptationTexts.h"
#include "link/CalibrationHelpers.h"

#include <array>

namespace {

// Shared by every panel: they all fold the same element, so one copy is right.
std::array<int, CObdAdaptationModel::kInjectors>& InjectionTimes() {
    static std::array<int, CObdAdaptationModel::kInjectors> times{};
    return times;
}

}  // namespace

int CObdAdaptationModel::ShowLink(int code, LONG nowMs) {
    if (code != CObdAdaptationTexts::kLinkIoError) {
        m_ioErrorSince = -1;
        m_shownLink = code;
        return m_shownLink;
    }
    if (m_ioErrorSince < 0) {
        m_ioErrorSince = nowMs;
        return m_shownLink;
    }
    // Unsigned difference: correct across a wrap of the clock.
    const auto lasted = static_cast<std::uint32_t>(nowMs) - static_cast<std::uint32_t>(m_ioErrorSince);
    if (lasted > static_cast<std::uint32_t>(kIoErrorDelayMs)) {
        m_shownLink = code;
    }
    return m_shownLink;
}

void CObdAdaptationModel::ForgetStatus() {
    m_ioErrorSince = -1;
}

CObdAdaptationModel::Button CObdAdaptationModel::DecideButton(bool unitOn) {
    if (unitOn && m_request == kOffRequested) {
        return {false, false, true, kOffColour};
    }
    if (!unitOn && m_request == kOnRequested) {
        return {true, true, true, kOnColour};
    }
    m_request = kNoRequest;
    return unitOn ? Button{true, true, false, kOnColour} : Button{false, false, false, kOffColour};
}

BYTE CObdAdaptationModel::RequestSwitch(bool pressed) {
    m_request = pressed ? kOnRequested : kOffRequested;
    return pressed ? 0xFF : 0x00;
}

CObdAdaptationModel::Colour CObdAdaptationModel::SumColour(int classification) {
    if (classification == -1) {
        return Rgb(0x40, 0x40, 0xC0);
    }
    if (classification < 0) {
        return Rgb(0x40, 0x40, 0x90);
    }
    if (classification == 1) {
        return Rgb(0xC0, 0x20, 0x20);
    }
    return classification > 0 ? Rgb(0x90, 0x20, 0x20) : 0;
}

int CObdAdaptationModel::FoldInjectionTimes(const int* times) {
    std::array<int, kInjectors>& shared = InjectionTimes();
    CopyZeroOrLargeValues(times, shared.data(), kInjectors);
    return AverageNonZero(shared.data(), kInjectors);
}

void CObdAdaptationModel::ClearInjectionTimes() {
    InjectionTimes().fill(0);
}
