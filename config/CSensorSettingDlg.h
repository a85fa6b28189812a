// "Sensor setting" (template 115): the characteristic of one analogue sensor of the gas
// system as a table of measured against calculated points. The user edits the points within
// their neighbours, reverses the characteristic and watches the live sensor voltage with the
// value that the characteristic gives for it. Edits stay inside the dialog: nothing is
// written to the unit and the owner reads nothing back. The owner sets it up before each
// modal run and registers it for the data handler's broadcasts.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CStatic.h"
#include "config/CSensorCharacteristic.h"
#include "config/TablesIds.h"
#include "grid/CGridCtrl.h"
// After the dialog headers, so that the system's PostMessage macro renames both alike.
#include "link/IMessageTarget.h"

class CDataHandler;
class CSensorCurvePreset;
class CFontCache;
class ITextResources;

class CSensorSettingDlg : public CDialog, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = IDD_SENSOR_SETTING;

    explicit CSensorSettingDlg(CWnd* parent = nullptr);
    ~CSensorSettingDlg() override;

    void SetDataHandler(CDataHandler* dataHandler) { m_dataHandler = dataHandler; }  // not owned

    void SetResourceManager(ITextResources* resources) { m_resources = resources; }  // not owned

    void SetFontCache(CFontCache* fonts) { m_fonts = fonts; }  // not owned

    void SetScale(double scaleX, double scaleY) {
        m_scaleX = scaleX;
        m_scaleY = scaleY;
    }

    void SetPointCount(int count) { m_curve.SetPointCount(count); }

    void SetMeasuredRange(double lower, double upper) { m_curve.SetMeasuredRange(lower, upper); }

    void SetCalculatedRange(double lower, double upper) { m_curve.SetCalculatedRange(lower, upper); }

    void SetMeasuredPoints(const double* points) { m_curve.SetMeasuredPoints(points); }

    void SetCalculatedPoints(const double* points) { m_curve.SetCalculatedPoints(points); }

    void SetReverse(bool reverse) { m_curve.SetReverse(reverse); }

    void SetMeasuredDecimals(int code) { m_curve.SetDecimals(CSensorCharacteristic::kMeasured, code); }

    void SetCalculatedDecimals(int code) { m_curve.SetDecimals(CSensorCharacteristic::kCalculated, code); }

    void SetMeasuredName(LPCSTR name, LPCSTR unit);
    void SetCalculatedName(LPCSTR name, LPCSTR unit);

    void SetMeasuredFixedMask(unsigned mask) { m_curve.SetFixedMask(CSensorCharacteristic::kMeasured, mask); }

    void SetCalculatedFixedMask(unsigned mask) {
        m_curve.SetFixedMask(CSensorCharacteristic::kCalculated, mask);
    }

    // -1: no live value.
    void SetLiveElement(int element) { m_liveElement = element; }

    // Opens the dialog modally, set up for the settings page's characteristic button with this
    // id and registered for the live cycle while it runs; false for any other id.
    static bool RunForButton(int buttonId,
                             CWnd* owner,
                             CDataHandler* dataHandler,
                             ITextResources* resources,
                             CFontCache* fonts,
                             double scaleX,
                             double scaleY);

    // Sets up everything but the services and the scale from a preset of the settings page:
    // Reverse off, no read-only measured points.
    void ApplyPreset(const CSensorCurvePreset& preset);

    double Convert(double measured) const { return m_curve.Convert(measured); }

    const CSensorCharacteristic& GetCharacteristic() const { return m_curve; }

    CGridCtrl& GetGrid() { return m_grid; }

    // IMessageTarget: the data handler's messages, from any thread; dropped without a window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;

    void OnGridEndEdit(NMHDR* header, LRESULT* result);
    void OnReverse();
    LRESULT OnNewData(WPARAM wParam, LPARAM lParam);
    LRESULT OnIgnored(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void SetFonts();
    void SetUpGrid();
    void FillGrid();
    void FillCalculatedRow();
    void ShowLiveValues(double measured);
    // False, after telling the user, when the text is refused.
    bool AcceptEdit(CSensorCharacteristic::Row row, int index, LPCSTR text, double& value);
    static CSensorCharacteristic::Row RowOf(int gridRow);

    CDataHandler* m_dataHandler = nullptr;
    ITextResources* m_resources = nullptr;
    CFontCache* m_fonts = nullptr;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
    CSensorCharacteristic m_curve;
    CString m_measuredName;
    CString m_measuredUnit;
    CString m_calculatedName;
    CString m_calculatedUnit;
    int m_liveElement = -1;

    CGridCtrl m_grid;
    CStatic m_measuredLabel;
    CStatic m_measuredValue;
    CStatic m_measuredUnitText;
    CStatic m_calculatedLabel;
    CStatic m_calculatedValue;
    CStatic m_calculatedUnitText;
    CButton m_reverse;
    CStatic m_footnote;
    CButton m_ok;
    CButton m_cancel;
};
