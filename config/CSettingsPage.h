// The "Static Data" page of the Configuration mode (template 114): the unit's static
// settings, one control per element. It shows each element as it arrives from the data
// handler, checks what the user types against the locale's number format and the field's
// range, and writes changed values back through the data handler. The other configuration
// pages follow the same pattern.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CComboBox.h"
#include "classlib/win/CEdit.h"
#include "classlib/win/CSliderCtrl.h"
#include "forms/CScrollPage.h"
#include "link/ElementTable.h"
#include "link/IMessageTarget.h"

#include <array>

class CSettingsPageField;

class CSettingsPage : public CScrollPage, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = 114;

    // Group boxes.
    static constexpr int kChangeGroupId = 1401;
    static constexpr int kCyclicGroupId = 1402;
    static constexpr int kSensorsGroupId = 1403;
    static constexpr int kRevGroupId = 1404;
    static constexpr int kCorrectionGroupId = 1405;
    static constexpr int kEngineGroupId = 1406;
    static constexpr int kLubricationGroupId = 1407;
    // Input controls, by element.
    static constexpr int kChangeTypeId = 1411;    // 2
    static constexpr int kChangeRevId = 1413;     // 3
    static constexpr int kLambdaCheckId = 1416;   // 74
    static constexpr int kChangeTempId = 1418;    // 4
    static constexpr int kChangePressId = 1421;   // 5
    static constexpr int kOverlapId = 1424;       // 71
    static constexpr int kMinInjectionId = 1427;  // 50
    static constexpr int kBeforeChangeId = 1430;  // 72
    static constexpr int kHighPressId = 1433;     // 73
    static constexpr int kOxygenSensorId = 1436;  // 35
    static constexpr int kTankValveId = 1438;     // 45
    static constexpr int kTempTypeId = 1440;      // 36
    static constexpr int kTempCurveId = 1441;     // its characteristic button
    static constexpr int kPressTypeId = 1443;     // 37
    static constexpr int kPressCurveId = 1444;
    static constexpr int kLevelTypeId = 1446;  // 38
    static constexpr int kLevelCurveId = 1447;
    static constexpr int kRevSignalId = 1449;       // 0
    static constexpr int kRevDivisorId = 1451;      // 1
    static constexpr int kPressMatterId = 1453;     // 93
    static constexpr int kTempMatterId = 1456;      // 94
    static constexpr int kPumpTypeId = 1459;        // 122
    static constexpr int kIntervalSliderId = 1461;  // 102
    static constexpr int kIntervalEditId = 1462;    // 102
    static constexpr int kLoadMinimumId = 1465;     // 100
    static constexpr int kCylindersId = 1468;       // 101
    static constexpr int kExtra2Id = 1470;          // 103
    static constexpr int kExtra3Id = 1472;          // 104
    static constexpr int kExtra4Id = 1474;          // 105

    explicit CSettingsPage(CWnd* parent = nullptr);
    ~CSettingsPage() override;

    // IMessageTarget: the data handler's messages, from any thread; dropped without a window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    // Shows or hides the group "ventil lubrication" with all its rows.
    void ShowLubrication(BOOL show);
    // mode 2 or 0: the interval edit shows value and its write step runs; mode 1 or 0: the
    // slider moves to value.
    void SetLubricationInterval(int value, int mode);
    // Rebuilds the tank valve list up to the highest type the unit offers and selects index.
    void FillValveTypes(int selection);

    // The page's cached encoded value of an element.
    int GetCachedValue(int element) const { return m_cache[element]; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* exchange) override;

    LRESULT OnElementChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnIgnored(WPARAM wParam, LPARAM lParam);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    void OnLambdaCheckClicked();
    void OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem);
    void OnSliderReleased(NMHDR* header, LRESULT* result);
    void OnChangeTypeSelected();
    void OnRevSignalSelected();
    void OnOxygenSensorSelected();
    void OnTankValveSelected();
    void OnTempTypeSelected();
    void OnPressTypeSelected();
    void OnLevelTypeSelected();
    void OnPumpTypeSelected();
    void OnEditKillFocus(UINT id);

    DECLARE_MESSAGE_MAP()

private:
    // The language of the typed numbers; 0 without a resource manager.
    DWORD LanguageId() const;
    CEdit* EditOfElement(int element);
    int ElementOfEdit(int controlId) const;

    void Layout();
    void UpdateTexts();
    void FillChoiceTexts();
    void SetFonts();
    void ShowDecimals();

    void RefreshEdit(const CSettingsPageField& field, CEdit& edit, const BYTE* bytes);
    void RefreshChoice(int element, CComboBox& list, int value);
    void RefreshSensorType(int element, CComboBox& list, CButton& curveButton, int value);
    void RefreshTankValve(int value, bool loadedWhole);
    void RefreshLubricationPump(int value);
    void RefreshInterval(int value);
    void ShowLubricationOfData();
    void EnableElementControls(int element);

    // The write step of an edit field; false when the text was refused.
    bool RunWriteStep(int element);
    void WriteChoice(int element, CComboBox& list);
    void WriteElement(int element, int encoded);
    void RefuseInput(CEdit& edit, const CString& message);
    static void SelectWholeText(CEdit& edit);

    CComboBox m_changeType;
    CEdit m_changeRev;
    CButton m_lambdaCheck;
    CEdit m_changeTemp;
    CEdit m_changePress;
    CEdit m_overlap;
    CEdit m_minInjection;
    CEdit m_beforeChange;
    CEdit m_highPress;
    CComboBox m_oxygenSensor;
    CComboBox m_tankValve;
    CComboBox m_tempType;
    CButton m_tempCurve;
    CComboBox m_pressType;
    CButton m_pressCurve;
    CComboBox m_levelType;
    CButton m_levelCurve;
    CComboBox m_revSignal;
    CEdit m_revDivisor;
    CEdit m_pressMatter;
    CEdit m_tempMatter;
    CComboBox m_pumpType;
    CSliderCtrl m_intervalSlider;
    CEdit m_intervalEdit;
    CEdit m_loadMinimum;
    CEdit m_cylinders;
    CEdit m_extra2;
    CEdit m_extra3;
    CEdit m_extra4;

    // Encoded value per element, as last shown or written.
    std::array<int, kElementCount> m_cache{};
    // The highest tank valve type index that the unit offers.
    int m_highestValveType = 1;
    // A refusal box is open.
    bool m_refusing = false;
};
