// The strip of live values along the bottom of the main window (template 107), shown in
// every mode: after each live cycle it shows engine speed and temperature, the pressures,
// the mean injection times, the gas level and temperature and the lambda voltage. Its fuel
// buttons ask the unit for petrol or gas and show the fuel in use; its diagnosis button,
// coloured by the event log's state, leads to the Diagnosis mode.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CStatic.h"
#include "config/CStatusPageReadings.h"
#include "forms/CImageButton.h"
#include "forms/CIndicatorLamp.h"
#include "forms/CRPButton.h"
#include "forms/CSeparatorLine.h"
#include "forms/CStaticExtended.h"
#include "forms/CTableToolTipCtrl.h"
#include "link/IMessageTarget.h"

#include <functional>

class CDataHandler;
class CFont;
class CFontCache;
class ITextResources;

class CConfigStatus : public CDialog, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = 107;

    static constexpr int kPetrolButtonId = 1501;
    static constexpr int kGasButtonId = 1502;
    static constexpr int kDiagnosisButtonId = 1503;
    static constexpr int kSeparatorId = 1504;
    static constexpr int kSpeedId = 1521;
    static constexpr int kEngineTempId = 1524;
    static constexpr int kEnginePressId = 1527;
    static constexpr int kPetrolTimeId = 1531;
    static constexpr int kGasTimeId = 1534;
    static constexpr int kInjectionPressId = 1537;
    static constexpr int kGasPressId = 1541;
    static constexpr int kGasLevelId = 1544;
    static constexpr int kGasTempId = 1546;
    static constexpr int kLambdaId = 1550;
    static constexpr int kLambdaStateId = 1551;

    // Asks the main dialog to open a mode (2 Configuration, 3 Diagnosis) at a tab on its
    // next return to the main menu.
    using NextPageRequest = std::function<void(int mode, int tab)>;

    CConfigStatus();
    ~CConfigStatus() override;

    void SetDataHandler(CDataHandler* dataHandler) { m_dataHandler = dataHandler; }  // not owned

    void SetResourceManager(ITextResources* resources) { m_resources = resources; }  // not owned

    void SetFontCache(CFontCache* fonts) { m_fonts = fonts; }  // not owned

    void SetNextPageRequest(NextPageRequest request) { m_nextPage = std::move(request); }

    // IMessageTarget: the data handler's messages, from any thread; dropped without a window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    // -1 keeps the state; the diagnosis button takes the state's colour.
    void SetDiagnosisState(int state);

    int GetDiagnosisState() const { return m_diagnosisState; }

    bool IsFuelRequestPending() const { return m_pending; }

    // The colours the strip shows now, for the tests.
    COLORREF GetLambdaColour() const { return m_lambdaColour; }

    COLORREF GetLambdaStateColour() const { return m_lambdaStateColour; }

    COLORREF GetDiagnosisColour() const { return m_diagnosisColour; }

    COLORREF GetPetrolTimeColour() const { return m_petrolTimeColour; }

    const CString& GetInjectionTip() const { return m_injectionTip; }

    const CString& GetPressureTip() const { return m_pressureTip; }

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* exchange) override;

    void OnPaint();
    void OnShowWindow(BOOL show, UINT status);
    void OnBenzin();
    void OnGas();
    void OnDiagnosis();
    LRESULT OnElementChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM status, LPARAM port);
    LRESULT OnNewData(WPARAM wParam, LPARAM lParam);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnEventLogChanged(WPARAM state, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    struct LiveRecord {
        int speed = 0;
        WORD petrol[CStatusPageReadings::kCylinders] = {};
        WORD gas[CStatusPageReadings::kCylinders] = {};
        BYTE status[5] = {};
        int engineTemp = 0;
        int enginePressure = 0;
        int gasPressure = 0;
        int gasLevel = -1;
        int lambdaMillivolts = 0;
        int lambdaState = 0;
        int gasTemp = 0;
        int noEnginePressure = 0;
    };

    void Layout();
    int WidestText(const int* ids, int count, CFont* font);
    void UpdateTexts();
    void CreateToolTips();
    void ResetDisplay();
    void SetItemText(int id, LPCSTR text);
    void ReadLiveRecord();
    void ShowPressures();
    void ShowLambda();
    void ShowFuelButtons();
    // Which fuel button is active and which is ticked, and whether GAS blinks.
    void MarkFuelButtons(BOOL petrolActive,
                         BOOL gasActive,
                         WPARAM petrolChecked,
                         WPARAM gasChecked,
                         BOOL gasBlinks);
    void ShowInjectionTimes();
    void ShowInjectionTip();
    void ShowPressureTip(LPCSTR engine, LPCSTR injection, LPCSTR gas);
    void RequestFuel(BYTE request, bool gas);
    void MoveFocusToDiagnosis();

    CRPButton m_petrolButton;
    CRPButton m_gasButton;
    CImageButton m_diagnosisButton;
    CSeparatorLine m_separator;
    CStaticExtended m_petrolTime;
    CStaticExtended m_gasTime;
    CIndicatorLamp m_gasLevel;
    CStaticExtended m_lambda;
    CStaticExtended m_lambdaState;
    CTableToolTipCtrl m_injectionTips;
    CTableToolTipCtrl m_pressureTips;

    CDataHandler* m_dataHandler = nullptr;
    ITextResources* m_resources = nullptr;
    CFontCache* m_fonts = nullptr;
    NextPageRequest m_nextPage;

    LiveRecord m_live;
    int m_sensorType = 0;
    CStatusPageReadings m_readings;
    int m_lastFuelState = -1;
    bool m_pending = false;
    int m_diagnosisState = 0;
    CString m_injectionTip;
    CString m_pressureTip;
    COLORREF m_lambdaColour = 0;
    COLORREF m_lambdaStateColour = 0;
    COLORREF m_diagnosisColour = 0;
    COLORREF m_petrolTimeColour = 0;
};
