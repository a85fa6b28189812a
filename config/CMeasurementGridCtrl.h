// The grid of the map page that shows the adaptive correction map: rpm across, injection
// time down. On top of the cells it draws a round mark with its percent for every group of
// measurements and a round marker where the engine works now; a right click opens the
// measurement menu, whose commands go to the page; hovering shows a summary of the cell;
// numpad + and - step the selected cells; pasted values are checked before any cell changes;
// typing into a cell starts editing it.
#pragma once

#include "classlib/win/CBrush.h"
#include "classlib/win/CRect.h"
#include "config/CMapMeasurement.h"
#include "forms/CMarkerGridCtrl.h"
#include "link/IMessageTarget.h"

#include <functional>
#include <vector>

class CDataHandler;
class IMeasurementGridPage;
class IResourceManager;

class CMeasurementGridCtrl : public CMarkerGridCtrl, public IMessageTarget {
public:
    // Sent to the owner (or parent) on numpad + and -: wParam 1 with Shift, lParam the key.
    static constexpr UINT kHotKeyStepMessage = 0x610;

    // The measurement commands of the menu.
    static constexpr UINT kAddCommand = 32776;
    static constexpr UINT kEditCommand = 32777;
    static constexpr UINT kDeleteCommand = 32778;
    static constexpr UINT kShowMarksCommand = 32780;
    static constexpr UINT kShowSummaryCommand = 32781;
    static constexpr UINT kDeleteAllCommand = 32782;
    static constexpr UINT kTotalizeCommand = 32783;

    // The live marker: link down or no data, engine on gas (0xFF), anything else.
    enum LiveState {
        kLiveNone = 0,
        kLiveGas = 1,
        kLiveOther = 2
    };

    struct Mark {
        const CMapMeasurement* measurement;  // not owned
        int percent;
        CRect ellipse;
        CRect label;
    };

    // Runs the popup menu at a screen point and returns the chosen command, 0 for none.
    using MenuRunner = std::function<UINT(HMENU menu, int x, int y)>;

    CMeasurementGridCtrl();
    ~CMeasurementGridCtrl() override;

    // None is owned.
    void SetDataHandler(CDataHandler* dataHandler) { m_dataHandler = dataHandler; }

    void SetResourceManager(IResourceManager* resources) { m_resources = resources; }

    void SetPage(IMeasurementGridPage* page) { m_page = page; }

    void SetMarkFont(const LOGFONTA& font) { m_markFont = font; }

    void SetMenuRunner(MenuRunner runner) { m_menuRunner = std::move(runner); }

    // Clears the live data, registers with the data handler and subscribes.
    void Init();

    void ClearMarks();
    void AddMark(const CMapMeasurement& measurement);
    void InvalidateMarks();

    const std::vector<Mark>& GetMarks() const { return m_marks; }

    bool ToggleShowMeasurements();
    bool ToggleShowSummary();

    bool IsShowingMeasurements() const { return m_showMeasurements; }

    bool IsShowingSummary() const { return m_titleTips != FALSE; }

    bool IsMapLoaded() const { return m_mapLoaded; }

    // The measurement under the last right click, or null.
    const CMapMeasurement* GetSelectedMeasurement() const { return m_selected; }

    // The place of the last right click in the body.
    int GetNewRpm() const { return m_newRpm; }

    double GetNewInjectionMs() const { return m_newInjectionMs; }

    int GetNewPercent() const { return m_newPercent; }

    int GetLiveState() const { return m_liveState; }

    // The pasted values are checked as a whole: the first bad one is reported and nothing
    // changes.
    BOOL PasteText(int row, int col, const CString& text, BOOL selectPasted = TRUE) override;
    // The first bad value's message, or empty when every value passes.
    CString CheckPastedText(const CString& text) const;

    void OnDraw(CDC* dc) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // IMessageTarget: the data handler's messages arrive through the window's queue.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT key, UINT repeat, UINT flags);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);

protected:
    void OnFixedRowClick(GridCellId& cell) override;
    void OnFixedColumnClick(GridCellId& cell) override;

    LRESULT OnElementChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnNewData(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    void MoveMarker();
    void ReadLiveData();
    // The rpm, time and percent under a point of the body; false outside it.
    bool PointToMeasurement(CPoint point);
    const Mark* MarkAt(CPoint point) const;
    CSize MeasureLabel(const CString& label);
    void RunMenu(CPoint point);
    void ShowSummary(CPoint point);
    CWnd* CommandTarget() const;
    CString Text(UINT id) const;
    void DrawMark(CDC& dc, const Mark& mark, bool selected);

    CBrush m_black;
    CBrush m_grey;
    CBrush m_orange;
    CBrush m_green;
    CBrush m_red;
    CBrush m_labelFrame;
    CBrush m_infoBack;
    std::vector<Mark> m_marks;
    bool m_mapLoaded = false;
    bool m_showMeasurements = true;
    bool m_rightButtonDown = false;
    const CMapMeasurement* m_selected = nullptr;     // not owned
    const CMapMeasurement* m_highlighted = nullptr;  // not owned
    int m_newRpm = 0;
    double m_newInjectionMs = 0;
    int m_newPercent = 0;
    int m_basePercent = 28;
    int m_minimumInjectionUs = 1000;
    int m_liveRpm = 0;
    int m_liveTimes[8] = {};
    int m_filteredTimes[8] = {};
    int m_liveState = kLiveNone;
    LOGFONTA m_markFont = {};
    CDataHandler* m_dataHandler = nullptr;    // not owned
    IResourceManager* m_resources = nullptr;  // not owned
    IMeasurementGridPage* m_page = nullptr;   // not owned
    MenuRunner m_menuRunner;
    bool m_registered = false;
};
