// The "Basic Table" page of the Configuration mode (template 110): the adaptive correction
// map in its measurement grid, the base ("offset") percent, the live lambda and gas
// correction, and the start of the cell calibrations. It keeps the map model and the three
// calibration cores for the whole program run, runs a calibration dialog modally per
// calibration over the map, and hosts the OBD adaptation panel. The model's edits live in
// CMapEditor; this class turns window events into them and shows the results.
#pragma once

#include "calib/CalibratorCore.h"
#include "calib/CalibratorCoreAdap.h"
#include "calib/CalibratorCoreCont.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CComboBox.h"
#include "classlib/win/CEdit.h"
#include "classlib/win/CStatic.h"
#include "config/CLiveLambdaDisplay.h"
#include "config/CMapEditor.h"
#include "config/CMeasurementGridCtrl.h"
#include "config/IAdaptiveMapSource.h"
#include "config/IMapModelView.h"
#include "config/IMeasurementGridPage.h"
#include "diag/CObdAdaptationPage.h"
#include "forms/CScrollPage.h"
#include "link/IMessageTarget.h"

#include <functional>

class CMeasurementEditDlg;

class CConfigDynamic : public CScrollPage,
                       public IMessageTarget,
                       public IMapModelView,
                       public IMeasurementGridPage,
                       public IAdaptiveMapSource {
public:
    static constexpr UINT kTemplateId = 110;

    static constexpr int kGridId = 1015;
    static constexpr int kMsLabelId = 1019;
    static constexpr int kRpmLabelId = 1020;
    static constexpr int kBaseLabelId = 1021;
    static constexpr int kBaseEditId = 1022;
    static constexpr int kLambdaBarId = 1023;
    static constexpr int kSecondBarId = 1024;
    static constexpr int kCorrectionLabelId = 1025;
    static constexpr int kCorrectionId = 1026;
    static constexpr int kAngleComboId = 1070;
    static constexpr int kLambdaValueId = 1072;
    static constexpr int kLambdaLabelId = 1073;
    static constexpr int kCalCellId = 1095;
    static constexpr int kCalibSettingsId = 1126;

    // Lets a test stand in for the modal parts: the calibration mode menu (0: dismissed),
    // a calibration dialog's run and the measurement dialog's run.
    using ModeChooser = std::function<int()>;
    using DialogRunner = std::function<INT_PTR(CDialog& dialog)>;

    explicit CConfigDynamic(CWnd* parent = nullptr);
    ~CConfigDynamic() override;

    // IMessageTarget: the data handler's messages, from any thread; dropped without a window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    // IMapModelView
    void ShowMeasurementCoverage() override;
    void ShowMeasurementMarks(const std::vector<const CMapMeasurement*>& representatives) override;

    // IMeasurementGridPage
    int GetCell(int row, int column) override;
    void HandlePaste() override;
    bool FormatSummary(CString& text, LOGFONTA& font, int row, int column) override;

    // The map, its measurements and their folding; what the calibration dialogs work on.
    CMapEditor& GetEditor() { return m_editor; }

    // The map as the adaptive tables page sums it up.
    int GetMapCell(int row, int column) override { return m_editor.GetCell(row, column); }
    int GetMapBasePercent() override { return m_editor.GetBasePercent(); }

    CMeasurementGridCtrl& GetGrid() { return m_grid; }

    // The measurements go to, or come back from, the data handler's list that the
    // configuration file carries.
    void StoreMeasurements() { m_editor.GetMeasurements().StoreMeasurements(); }

    void ReloadMeasurements() { m_editor.GetMeasurements().ReloadMeasurements(); }

    void RecolourCells();

    void SetModeChooser(ModeChooser chooser) { m_modeChooser = std::move(chooser); }

    void SetDialogRunner(DialogRunner runner) { m_dialogRunner = std::move(runner); }

    // The calibration dialog that runs now, or null.
    CDialog* GetActiveDialog() const { return m_activeDialog; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* exchange) override;

    LRESULT OnDataChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnLiveCycle(WPARAM wParam, LPARAM lParam);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnHotKeys(WPARAM wParam, LPARAM lParam);
    void OnGridEndEdit(NMHDR* header, LRESULT* result);
    void OnComboChanged();
    void ApplyBasePercentEdit();
    void OnCalCell();
    void OnCalibrationSettings();
    void OnNewMeasurement();
    void OnEditMeasurement();
    void OnDeleteMeasurement();
    void OnShowMeasurements();
    void OnShowSummary();
    void OnDeleteAllMeasurements();
    void OnTotalize();
    void OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem);
    void OnMeasureItem(int id, LPMEASUREITEMSTRUCT measureItem);

    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void SetUpGrid();
    void SetFonts();
    void UpdateTexts();
    void MeasurePopupItems();
    void ResetLiveDisplay();
    LOGFONTA MakeFont(const char* face, int tenthsPoint, int weight);
    DWORD LanguageId() const;
    BYTE ReadByte(int element);

    void ShowLoadedMap();
    void EnableCalibration();
    void ShowAxes();
    void ShowCellTexts();
    bool SelectedBox(MapCellBox& box);
    void SelectBox(const MapCellBox& box);
    void ReportOutcome(const MapEditOutcome& outcome, LPCSTR text);
    void UndoBaseEdit();
    bool HandleAccelerator(UINT id);

    int ChooseCalibrationMode();
    INT_PTR RunDialog(CDialog& dialog);
    INT_PTR RunCalibrationDialog(int mode);
    // The measurement dialog with limits from the map; false when cancelled.
    bool RunMeasurementDialog(int rpm,
                              double injectionMs,
                              int percent,
                              int& result,
                              CMeasurementEditDlg& dialog);
    // The measurement a mark of the last right click stands for, if it still exists.
    CMapMeasurement* SelectedMeasurement();
    void AfterMeasurementsChanged();

    CalibratorCore m_pointCore;
    CalibratorCoreAdap m_adaptiveCore;
    CalibratorCoreCont m_continuousCore;
    CObdAdaptationPage m_obdPanel;
    CMapEditor m_editor;
    CMeasurementGridCtrl m_grid;
    CEdit m_baseEdit;
    CStatic m_baseLabel;
    // 0.8 at the bottom of the bar, 1.2 at the top: rich (above 1) grows up in the upper colour.
    CLiveLambdaDisplay m_live{
        {kCorrectionLabelId, kCorrectionId, kLambdaBarId, kLambdaLabelId, kLambdaValueId},
        CLiveLambdaDisplay::kLambdaLow,
        CLiveLambdaDisplay::kLambdaHigh};
    CButton m_calCell;
    CButton m_calibSettings;
    CComboBox m_angleCombo;
    bool m_linkUp = false;
    CDialog* m_activeDialog = nullptr;  // not owned; lives on OnCalCell's stack
    int m_popupWidth = 0;
    int m_popupHeight = 0;
    LOGFONTA m_popupFont = {};
    LOGFONTA m_tipFont = {};
    int m_crankAngle = 0;
    int m_minimumInjectionUs = 1000;
    bool m_extended = false;
    BYTE m_obdOptions = 0;
    bool m_registered = false;
    bool m_refusing = false;
    ModeChooser m_modeChooser;
    DialogRunner m_dialogRunner;
};
