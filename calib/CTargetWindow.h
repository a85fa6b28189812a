// The operating point a calibration holds to: the target speed and injection time with the
// bands around them that the measured values must stay strictly inside.
#pragma once

class CTargetWindow {
public:
    // The speed band is acceptRpm either way.
    void SetRevs(int rpm, int acceptRpm);
    // The injection band is acceptPercent of the target either way.
    void SetInjection(double ms, double acceptPercent);

    int GetRpm() const { return m_rpm; }

    int GetLowRpm() const { return m_lowRpm; }

    int GetHighRpm() const { return m_highRpm; }

    double GetMs() const { return m_ms; }

    bool IsRevsOutside(int rpm) const { return rpm <= m_lowRpm || rpm >= m_highRpm; }

    bool IsInjectionOutside(double ms) const { return ms <= m_lowMs || ms >= m_highMs; }

private:
    int m_rpm = 0;
    int m_lowRpm = 0;
    int m_highRpm = 0;
    double m_ms = 0.0;
    double m_lowMs = 0.0;
    double m_highMs = 0.0;
};
