// The small modal dialog in which the user enters or corrects one measurement of the
// correction map: rpm, injection time and the measured percent, each checked against its
// limits. "OK" ends it with 1, "Totalize" with 6 (the page then folds the measurements at
// once), "Cancel" with 2.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CDialog.h"

class ITextResources;

class CMeasurementEditDlg : public CDialog {
public:
    static constexpr UINT kTemplateId = 191;
    static constexpr int kRevId = 1149;
    static constexpr int kInjectionId = 1150;
    static constexpr int kMeasurementId = 1151;
    static constexpr int kRevLabelId = 1146;
    static constexpr int kInjectionLabelId = 1147;
    static constexpr int kMeasurementLabelId = 1148;
    static constexpr int kTotalizeId = 1124;
    static constexpr int kResultTotalize = 6;

    explicit CMeasurementEditDlg(CWnd* parent = nullptr);

    void SetResourceManager(ITextResources* resources) { m_resources = resources; }  // not owned

    void SetRev(int rpm, int minimum, int maximum);
    void SetInjection(double ms, double minimum, double maximum);
    void SetMeasurement(int percent, int minimum, int maximum);

    int GetRev() const { return m_rev; }

    double GetInjection() const { return m_injection; }

    int GetMeasurement() const { return m_measurement; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    // Reads and checks the three edits; false (after the message) at the first bad one.
    bool StoreValues();
    bool ReadWhole(int id, int minimum, int maximum, int& value);
    bool ReadDecimal(int id, double minimum, double maximum, double& value);
    void Refuse(int id, const CString& message);
    CString RangeMessage(const CString& value, const CString& minimum, const CString& maximum) const;
    CString ItemText(int id) const;
    DWORD LanguageId() const;

    ITextResources* m_resources = nullptr;  // not owned
    int m_rev = 0;
    int m_revMin = 0;
    int m_revMax = 0;
    double m_injection = 0;
    double m_injectionMin = 0;
    double m_injectionMax = 0;
    int m_measurement = 0;
    int m_measurementMin = 0;
    int m_measurementMax = 0;
};
