#include "calib/CTargetWindow.h"

void CTargetWindow::SetRevs(int rpm, int acceptRpm) {
    m_rpm = rpm;
    m_lowRpm = rpm - acceptRpm;
    m_highRpm = rpm + acceptRpm;
}

void CTargetWindow::SetInjection(double ms, double acceptPercent) {
    m_ms = ms;
    m_lowMs = ms - ms * acceptPercent * 0.01;
    m_highMs = ms * (acceptPercent * 0.01 + 1.0);
}
