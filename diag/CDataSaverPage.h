// The data saver page: records the unit's live values into tab-separated text files while
// the engine runs, one file per engine run. The user picks a file name, a store mode (every
// live cycle, or one row per period) and starts and stops the recording; the page shows
// its progress. Its status and result texts are the program's German literals.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CComboBox.h"
#include "classlib/win/CEdit.h"
#include "classlib/win/CStatic.h"
#include "diag/CDataSaverRecorder.h"
#include "forms/CScrollPage.h"
#include "link/IMessageTarget.h"
#include "res/ResourceIds.h"

class CDataSaverPage : public CScrollPage, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = IDD_DATA_SAVER;

    static constexpr int kFileLabelId = 2401;
    static constexpr int kFileNameId = 2402;
    static constexpr int kBrowseId = 2403;
    static constexpr int kStoreModeLabelId = 2404;
    static constexpr int kStoreModeId = 2405;
    static constexpr int kPeriodId = 2406;
    static constexpr int kPeriodUnitId = 2407;
    static constexpr int kReckoningLabelId = 2408;
    static constexpr int kReckoningId = 2409;
    static constexpr int kStartStopId = 2410;
    static constexpr int kStatusId = 2411;
    static constexpr int kRowsId = 2412;
    static constexpr int kSizeId = 2413;

    static constexpr int kDefaultPeriod = 1000;
    static constexpr int kMaxPeriod = 600000;

    explicit CDataSaverPage(CWnd* parent = nullptr);
    ~CDataSaverPage() override;

    // IMessageTarget: the data handler's messages, from any thread; dropped without a window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    bool IsRecording() const { return m_recording; }

    int GetPeriod() const { return m_period; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* exchange) override;

    // The save dialog with the language's file filter; true with the chosen path. Tests
    // answer in place of the user.
    virtual bool ChooseFile(const CString& folder, const CString& filter, CString& path);

    void OnBrowse();
    void OnStoreModeSelected();
    void OnPeriodKillFocus();
    void OnStartStop();
    void OnDestroy();
    LRESULT OnStatusChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnNewData(WPARAM wParam, LPARAM lParam);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnIgnored(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    void UpdateTexts();
    int SelectedData(const CComboBox& list) const;
    void EnablePeriodic(BOOL enable);
    void EnableSettings(BOOL enable);
    void ApplyPeriod();
    void Start();
    void Stop();
    // After a failure: the file is dropped and the page is idle again.
    void EndRecording();
    void ShowCounters(bool shown);
    void ShowFileError(UINT textId, const CDataSaverRecorder::Outcome& outcome);
    CString FileErrorText(UINT textId, const CDataSaverRecorder::Outcome& outcome) const;

    CEdit m_fileName;
    CButton m_browse;
    CComboBox m_storeMode;
    CEdit m_periodEdit;
    CComboBox m_reckoning;
    CButton m_startStop;
    CStatic m_status;
    CStatic m_rows;
    CStatic m_size;

    CDataSaverRecorder m_recorder;
    bool m_recording = false;
    int m_period = kDefaultPeriod;
    CString m_folder;
    // A refusal box is open.
    bool m_refusing = false;
};
