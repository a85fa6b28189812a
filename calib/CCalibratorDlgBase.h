// What the three calibration windows share: a caption-less modal window placed over the map
// page at the page's scale and dragged by its body; registration for the data handler's
// broadcasts; the status line and its colours; the undo and redo arrows of the recorded
// measurements with their accelerators; the cancel question; Enter ignored and Escape handed
// to the dialog. UI thread only.
#pragma once

#include "calib/CInjectionFilter.h"
#include "classlib/core/CString.h"
#include "classlib/win/CDialog.h"
#include "forms/CStaticExtended.h"
#include "link/IMessageTarget.h"

#include <cstddef>
#include <vector>

class CDataHandler;
class CFont;
class CFontCache;
class ITextResources;
class IClock;
class ICalibrationMap;

class CCalibratorDlgBase : public CDialog, public IMessageTarget {
public:
    static constexpr int kStatusId = 1701;
    static constexpr int kUndoId = 1702;
    static constexpr int kRedoId = 1703;
    static constexpr int kCancelId = 1709;

    // Status line colours.
    static constexpr COLORREF kStatusGrey = RGB(200, 200, 200);
    static constexpr COLORREF kStatusLight = RGB(192, 192, 239);
    static constexpr COLORREF kStatusOrange = RGB(255, 155, 96);
    static constexpr COLORREF kStatusRed = RGB(239, 96, 96);
    static constexpr COLORREF kStatusGreen = RGB(160, 207, 160);

    // A code of a calibration core that the status line answers: its text and colour.
    struct StatusRow {
        int code;
        UINT textId;
        COLORREF color;
    };

    // A start needs the engine above this speed.
    static constexpr int kMinimumStartRpm = 400;

    CCalibratorDlgBase(UINT templateId, CWnd* page);
    ~CCalibratorDlgBase() override;

    // None of these is owned; all must outlive the dialog.
    void SetConfigDynamic(ICalibrationMap* map) { m_map = map; }

    void SetDataHandler(CDataHandler* dataHandler) { m_dataHandler = dataHandler; }

    void SetResourceManager(ITextResources* resources) { m_resources = resources; }

    void SetFontCache(CFontCache* fonts) { m_fonts = fonts; }

    // The page's layout scale factors.
    void SetScale(double scaleX, double scaleY) {
        m_scaleX = scaleX;
        m_scaleY = scaleY;
    }

    // The clock of the dialog's own timings (the system clock unless set).
    void SetClock(IClock& clock) { m_clock = &clock; }

    // IMessageTarget: the data handler's broadcasts, from any thread; dropped without a window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    COLORREF GetStatusColor() const { return m_statusColor; }

    // 0 idle; otherwise the kind of run that is on.
    int GetRunningMode() const { return m_runningMode; }

protected:
    // A control's place in design units of the 294 x 140 window.
    struct ControlPlace {
        int id;
        int x;
        int y;
        int width;
        int height;
    };

    BOOL OnInitDialog() override;
    // Enter does nothing.
    void OnOK() override;
    // Escape and closing.
    void OnCancel() override;
    void DoDataExchange(CDataExchange* exchange) override;

    virtual std::vector<ControlPlace> ControlPlaces() const = 0;
    // One cycle of live polling finished.
    virtual void OnLiveStep() = 0;
    // The link went down (any status but 2 and 4).
    virtual void OnLinkLost() = 0;
    virtual void OnEscape() = 0;
    // The map folded anew after a step back or forth through its recorded measurements.
    virtual void Refold() = 0;

    // The row of a code in a table of status rows, or null.
    template <std::size_t N>
    static const StatusRow* FindRow(const StatusRow (&rows)[N], int code) {
        for (const StatusRow& row : rows) {
            if (row.code == code) {
                return &row;
            }
        }
        return nullptr;
    }

    void SetStatus(UINT textId, COLORREF color);
    void SetStatusText(LPCSTR text, COLORREF color);
    CString LoadText(UINT id) const;
    // The string-table text of id formatted with one number.
    CString FormatText(UINT id, int value) const;
    void SetItemText(int id, LPCSTR text);
    void EnableItem(int id, bool enable);
    bool IsItemEnabled(int id) const;
    // Reads speed and injection time through the dialog's own filter into m_lastRpm/m_lastMs.
    void ReadLiveSpeedAndInjection();
    // The fuel requests of element 32: the unit runs on gas for the calibration, or has its
    // control back.
    static constexpr BYTE kRunOnGas = 0xBB;
    static constexpr BYTE kGiveControlBack = 0;
    void WriteFuelRequest(BYTE request);
    // False, with the refusal shown, unless the engine turns fast enough for a start.
    bool EngineFastEnough();
    // A run has started from buttonId: it now reads Stop, the status says so and the arrows
    // wait for the run's end.
    void ShowRunStarted(int buttonId);
    // "<=" exactly when a new measurement exists, "=>" when an undone one does.
    void UpdateArrows();
    // True when the user may cancel: no new measurement, or the question answered with OK.
    bool ConfirmCancel();
    // The refusal of a base percent is logged; the map keeps its base.
    void SetBasePercent(int percent);
    DWORD NowMs() const;
    // The owner-drawn "use long value(s)" box: the system's check box, ticked, pushed while
    // pressed, inactive when disabled, with a focus rectangle inset by one pixel.
    static void DrawCheckBox(const DRAWITEMSTRUCT& item, bool checked);
    CFont* CachedFont(const char* face, int tenthsPoint, int weight, BYTE charset);

    ICalibrationMap* m_map = nullptr;         // not owned
    CDataHandler* m_dataHandler = nullptr;    // not owned
    ITextResources* m_resources = nullptr;  // not owned
    CFontCache* m_fonts = nullptr;            // not owned
    IClock* m_clock = nullptr;                // not owned
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
    int m_runningMode = 0;
    int m_lastRpm = 0;
    double m_lastMs = 0.0;

    LRESULT OnNewData(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM status, LPARAM port);
    void OnUndoClicked();
    void OnRedoClicked();
    void OnUndoAccelerator();
    void OnRedoAccelerator();
    void OnDestroy();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    void PlaceOverPage();
    void LayOutControls();
    void DisableWithFocus(int id, bool toNext);

    CStaticExtended m_status;
    COLORREF m_statusColor = kStatusGrey;
    BYTE m_fuelRequest = 0;
    CInjectionFilter m_injectionFilter;
    bool m_dragging = false;
    CPoint m_dragOffset;
    bool m_registered = false;
};
