// What the two calibration windows that work from the OBD fuel trims share: the start
// button, the "use long value(s)" box, "OK" (1) and "Cancel" (2), Escape that stops a run
// before it cancels, and the status rows that answer a step of the core.
#pragma once

#include "calib/CCalibratorDlgBase.h"

#include <cstddef>

class CalibratorCoreTrim;

class CalibratorTrimDlg : public CCalibratorDlgBase {
public:
    static constexpr int kStartId = 1715;
    static constexpr int kUseLongId = 1716;
    static constexpr int kUseLongLabelId = 1717;
    static constexpr int kOkId = 1718;

    static constexpr int kModeRunning = 3;

    // The element-50 value, also handed to the core.
    void SetFilterValue(int value);

protected:
    CalibratorTrimDlg(UINT templateId, CWnd* page);

    // The core, or null before one is set.
    virtual CalibratorCoreTrim* TrimCore() const = 0;
    // The state the core takes when a run is stopped or cancelled.
    virtual int StoppedState() const = 0;
    virtual bool IsRunOn() const = 0;
    // The core's targets and start state; the dialog then shows the run under way.
    virtual void StartRun() = 0;
    virtual void StopRun() = 0;
    virtual void EndOfRun() = 0;
    // The recorded measurements folded into the whole map.
    virtual void FoldMeasurements() = 0;

    BOOL OnInitDialog() override;
    void OnEscape() override;
    // The map as the recorded measurements make it, or as it was saved without any.
    void Refold() override;

    // A code found in statusRows shows its row; one in abortRows shows its row and ends the run.
    template <std::size_t S, std::size_t A>
    bool ShowRowOf(const StatusRow (&statusRows)[S], const StatusRow (&abortRows)[A], int code) {
        if (const StatusRow* row = FindRow(statusRows, code)) {
            SetStatus(row->textId, row->color);
            return true;
        }
        if (const StatusRow* row = FindRow(abortRows, code)) {
            SetStatus(row->textId, row->color);
            EndOfRun();
            return true;
        }
        return false;
    }

    // A run that is on stops with the lost connection shown.
    void StopOnLinkLost();
    void EnableIdleControls(bool enable);

    // "Start" stops a run that is on, or starts one when the engine turns fast enough.
    void OnStart();
    void OnUseLong();
    void OnOkButton();
    void OnCancelButton();
    void OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem);

    DECLARE_MESSAGE_MAP()

private:
    int m_filterValue = 0;
};
