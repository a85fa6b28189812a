#include "diag/CDataSaverPage.h"

#include "classlib/core/CProcessClock.h"
#include "classlib/core/FormatText.h"
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CFileDialog.h"
#include "diag/CDataSaverSample.h"
#include "diag/CNumberInput.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"
#include "link/RecentSettings.h"

namespace {

// Texts of the string table.
constexpr UINT kInvalidElementText = 15036;  // "Attempt to write an invalid element: %s."
constexpr UINT kOutOfRangeText = 15152;      // "Element out of range: %s <- %c%s; %s%c."
constexpr UINT kOpenErrorText = 15119;       // "Error opening file: %s.\nError code: %d."
constexpr UINT kWriteErrorText = 15120;      // "Error writing file: %s.\nError code: %d."
constexpr UINT kFileFilterText = 15231;      // "All files (*.*)|*.*||"

constexpr char kFolderSetting[] = "DataLog";

struct Item {
    UINT textId;
    int value;
};

constexpr Item kStoreModes[] = {{15217, CDataSaverRecorder::kRawMode},  // "Raw (as they come)"
                                {15218, CDataSaverRecorder::kPeriodicMode}};  // "Periodic"
// "Nearest", "Average", "Interpolation"
constexpr Item kReckonings[] = {{15219, 0}, {15220, 1}, {15221, 2}};

struct Label {
    int id;
    UINT textId;
};

// "File name:", "Browse", "Data store mode:", "Reckoning mode:", "ms"
constexpr Label kLabels[] = {{CDataSaverPage::kFileLabelId, 15213},
                             {CDataSaverPage::kBrowseId, 15214},
                             {CDataSaverPage::kStoreModeLabelId, 15215},
                             {CDataSaverPage::kReckoningLabelId, 15216},
                             {CDataSaverPage::kPeriodUnitId, 15078}};

constexpr UINT kStartText = 15296;  // "START"
constexpr UINT kStopText = 15297;   // "STOP"

// The items keep their values and the selection stays where it was.
template <std::size_t N, typename Loader>
void FillList(CComboBox& list, const Item (&items)[N], const Loader& load) {
    const int selection = list.GetCurSel();
    list.ResetContent();
    for (const Item& item : items) {
        const int index = list.AddString(load(item.textId));
        list.SetItemData(index, static_cast<DWORD_PTR>(item.value));
    }
    list.SetCurSel(selection);
}

CString FolderOf(const CString& path) {
    const int slash = path.ReverseFind('\\');
    return slash < 0 ? CString() : path.Left(slash);
}


}  // namespace

BEGIN_MESSAGE_MAP(CDataSaverPage, CScrollPage)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnIgnored)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnNewData)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_BN_CLICKED(CDataSaverPage::kBrowseId, OnBrowse)
    ON_BN_CLICKED(CDataSaverPage::kStartStopId, OnStartStop)
    ON_CBN_SELENDOK(CDataSaverPage::kStoreModeId, OnStoreModeSelected)
    ON_EN_KILLFOCUS(CDataSaverPage::kPeriodId, OnPeriodKillFocus)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CDataSaverPage::CDataSaverPage(CWnd* parent) : CScrollPage(kTemplateId, parent) {}

CDataSaverPage::~CDataSaverPage() {
    if (m_dataHandler != nullptr) {
        m_dataHandler->UnregisterWindow(this);
    }
}

void CDataSaverPage::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CDataSaverPage::DoDataExchange(CDataExchange* exchange) {
    CScrollPage::DoDataExchange(exchange);
    DDX_Control(exchange, kFileNameId, m_fileName);
    DDX_Control(exchange, kBrowseId, m_browse);
    DDX_Control(exchange, kStoreModeId, m_storeMode);
    DDX_Control(exchange, kPeriodId, m_periodEdit);
    DDX_Control(exchange, kReckoningId, m_reckoning);
    DDX_Control(exchange, kStartStopId, m_startStop);
    DDX_Control(exchange, kStatusId, m_status);
    DDX_Control(exchange, kRowsId, m_rows);
    DDX_Control(exchange, kSizeId, m_size);
}

BOOL CDataSaverPage::OnInitDialog() {
    CScrollPage::OnInitDialog();
    m_status.SetWindowText("");
    ShowCounters(false);
    m_period = kDefaultPeriod;
    m_periodEdit.SetWindowText("1000");
    UpdateTexts();
    m_storeMode.SetCurSel(0);
    m_reckoning.SetCurSel(0);
    EnablePeriodic(FALSE);
    SetContentHeight(0);
    if (ReadDirectorySetting(kFolderSetting, m_folder)) {
        m_fileName.SetWindowText(m_folder + "\\");
    }
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
    }
    return TRUE;
}

void CDataSaverPage::UpdateTexts() {
    for (const Label& label : kLabels) {
        GetDlgItem(label.id)->SetWindowText(LoadText(m_resources, label.textId));
    }
    m_startStop.SetWindowText(LoadText(m_resources, m_recording ? kStopText : kStartText));
    const auto load = [this](UINT id) { return LoadText(m_resources, id); };
    FillList(m_storeMode, kStoreModes, load);
    FillList(m_reckoning, kReckonings, load);
}

LRESULT CDataSaverPage::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
    UpdateTexts();
    return 0;
}

LRESULT CDataSaverPage::OnIgnored(WPARAM wParam, LPARAM lParam) {
    return 0;
}

int CDataSaverPage::SelectedData(const CComboBox& list) const {
    const int selection = list.GetCurSel();
    return selection < 0 ? 0 : static_cast<int>(list.GetItemData(selection));
}

// ---- Settings ---------------------------------------------------------------------------------

void CDataSaverPage::EnablePeriodic(BOOL enable) {
    for (const int id : {kPeriodId, kPeriodUnitId, kReckoningLabelId, kReckoningId}) {
        GetDlgItem(id)->EnableWindow(enable);
    }
}

void CDataSaverPage::EnableSettings(BOOL enable) {
    m_fileName.EnableWindow(enable);
    m_browse.EnableWindow(enable);
    m_storeMode.EnableWindow(enable);
    const bool periodic = SelectedData(m_storeMode) == CDataSaverRecorder::kPeriodicMode;
    EnablePeriodic(enable && periodic ? TRUE : FALSE);
}

void CDataSaverPage::OnStoreModeSelected() {
    EnablePeriodic(SelectedData(m_storeMode) == CDataSaverRecorder::kPeriodicMode ? TRUE : FALSE);
}

void CDataSaverPage::OnPeriodKillFocus() {
    ApplyPeriod();
}

void CDataSaverPage::ApplyPeriod() {
    // The refusal box takes the focus from the edit; that must not check it a second time.
    if (m_refusing) {
        return;
    }
    CString text;
    m_periodEdit.GetWindowText(text);
    const DWORD language = m_resources != nullptr ? m_resources->GetLanguageId() : 0;
    int value = 0;
    CString message;
    if (!CNumberInput::CheckNumber(CLocaleNumberFormat::FromLocale(language), text, 0, kMaxPeriod, LoadText(m_resources, kInvalidElementText),
                                      LoadText(m_resources, kOutOfRangeText), value, message)) {
        m_periodEdit.Undo();
        m_periodEdit.EmptyUndoBuffer();
        CLogger::Instance().Log(3000, "CDataSaverPage: %s", message.GetString());
        m_refusing = true;
        AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
        m_refusing = false;
        return;
    }
    m_period = value;
    CString shown;
    shown.Format("%d", value);
    m_periodEdit.SetWindowText(shown);
    m_periodEdit.SetSel(0, -1);
}

BOOL CDataSaverPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    if (HIWORD(wParam) != 0 || (id != IDOK && id != IDCANCEL)) {
        return CScrollPage::OnCommand(wParam, lParam);
    }
    CWnd* focus = GetFocus();
    const int focusId = focus != nullptr && focus->GetParent() == this ? focus->GetDlgCtrlID() : 0;
    if (id == IDOK) {
        if (focusId == kPeriodId) {
            ApplyPeriod();
        }
        return TRUE;
    }
    CEdit* edit = focusId == kPeriodId ? &m_periodEdit : focusId == kFileNameId ? &m_fileName : nullptr;
    if (edit == nullptr || !edit->CanUndo()) {
        return CScrollPage::OnCommand(wParam, lParam);
    }
    edit->Undo();
    edit->EmptyUndoBuffer();
    return TRUE;
}

bool CDataSaverPage::ChooseFile(const CString& folder, const CString& filter, CString& path) {
    CFileDialog dialog(FALSE, nullptr, nullptr, OFN_PATHMUSTEXIST | OFN_HIDEREADONLY, filter, this);
    dialog.SetInitialFolder(folder);
    if (dialog.DoModal() != IDOK) {
        return false;
    }
    path = dialog.GetPathName();
    return true;
}

void CDataSaverPage::OnBrowse() {
    CString path;
    if (!ChooseFile(m_folder, LoadText(m_resources, kFileFilterText), path)) {
        return;
    }
    m_fileName.SetWindowText(path);
    m_folder = FolderOf(path);
    if (!WriteDirectorySetting(kFolderSetting, m_folder)) {
        CLogger::Instance().Log(3000, "CDataSaverPage: folder %s not remembered.", m_folder.GetString());
    }
}

// ---- Recording ------------------------------------------------------------------------------

void CDataSaverPage::OnStartStop() {
    if (m_recording) {
        Stop();
        return;
    }
    Start();
}

void CDataSaverPage::Start() {
    CString name;
    m_fileName.GetWindowText(name);
    name.Trim();
    if (name.IsEmpty()) {
        AfxMessageBox("Dateiname ist leer.", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    int cause = 0;
    if (!CDataSaverRecorder::ProbeWritable(name, cause)) {
        CLogger::Instance().Log(3000, "CDataSaverPage: %s not writable (cause %d).", name.GetString(), cause);
        CString message;
        message.Format("Ung\xFCltige Dateiname: %s", name.GetString());
        AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_recorder.Begin(name, SelectedData(m_storeMode), m_period);
    m_recording = true;
    ShowCounters(false);
    m_status.SetWindowText("Angefangen.");
    EnableSettings(FALSE);
    m_startStop.SetWindowText(LoadText(m_resources, kStopText));
}

void CDataSaverPage::Stop() {
    const CDataSaverRecorder::Outcome outcome = m_recorder.Finish(CLocalTime::Now());
    switch (outcome.kind) {
    case CDataSaverRecorder::Outcome::kNoFile:
        m_status.SetWindowText("No more data income.");
        break;
    case CDataSaverRecorder::Outcome::kWriteFailed:
        ShowFileError(kWriteErrorText, outcome);
        break;
    default:
        m_status.SetWindowText("Erfolgreich abgeschlossen.");
        break;
    }
    EndRecording();
}

void CDataSaverPage::EndRecording() {
    m_recorder.Abort();
    m_recording = false;
    EnableSettings(TRUE);
    m_startStop.SetWindowText(LoadText(m_resources, kStartText));
}

void CDataSaverPage::ShowCounters(bool shown) {
    if (!shown) {
        m_rows.SetWindowText("");
        m_size.SetWindowText("");
        return;
    }
    CString rows;
    rows.Format("Reihe: %d", m_recorder.GetRows());
    m_rows.SetWindowText(rows);
    CString size;
    size.Format(
        "Gr\xF6\xDF"
        "e: %d Byte",
        m_recorder.GetBytes());
    m_size.SetWindowText(size);
}

CString CDataSaverPage::FileErrorText(UINT textId, const CDataSaverRecorder::Outcome& outcome) const {
    return FormatText(LoadText(m_resources, textId), outcome.path.GetString(), outcome.cause);
}

void CDataSaverPage::ShowFileError(UINT textId, const CDataSaverRecorder::Outcome& outcome) {
    m_status.SetWindowText(FileErrorText(textId, outcome));
}

LRESULT CDataSaverPage::OnNewData(WPARAM wParam, LPARAM lParam) {
    if (!m_recording || m_dataHandler == nullptr) {
        return 0;
    }
    const CDataSaverSample sample = CDataSaverSample::Take(*m_dataHandler, CProcessClock::ElapsedMs());
    const CDataSaverRecorder::Outcome outcome = m_recorder.OnLiveCycle(sample, CLocalTime::Now());
    switch (outcome.kind) {
    case CDataSaverRecorder::Outcome::kOpenFailed:
        ShowFileError(kOpenErrorText, outcome);
        EndRecording();
        return 0;
    case CDataSaverRecorder::Outcome::kWriteFailed:
        ShowFileError(kWriteErrorText, outcome);
        EndRecording();
        return 0;
    case CDataSaverRecorder::Outcome::kSaved: {
        ShowCounters(false);
        CString message;
        message.Format("Datei wurde gespeichert: %s.", outcome.path.GetString());
        m_status.SetWindowText(message);
        return 0;
    }
    case CDataSaverRecorder::Outcome::kRunning:
        break;
    default:
        return 0;
    }
    if (outcome.rowWritten) {
        ShowCounters(true);
    }
    CString running;
    running.Format("L\xE4uft... %c", m_recorder.NextSpinner());
    m_status.SetWindowText(running);
    return 0;
}

LRESULT CDataSaverPage::OnStatusChanged(WPARAM wParam, LPARAM lParam) {
    const int status = static_cast<int>(wParam);
    if (!m_recording || IsLinkUp(status)) {
        return 0;
    }
    m_status.SetWindowText("Pause (Nicht Verbunden)");
    const CDataSaverRecorder::Outcome outcome = m_recorder.Pause();
    if (outcome.kind == CDataSaverRecorder::Outcome::kWriteFailed) {
        ShowFileError(kWriteErrorText, outcome);
        EndRecording();
    }
    return 0;
}

void CDataSaverPage::OnDestroy() {
    if (m_recording && m_recorder.HasFile()) {
        const CDataSaverRecorder::Outcome outcome = m_recorder.Finish(CLocalTime::Now());
        if (outcome.kind == CDataSaverRecorder::Outcome::kWriteFailed) {
            AfxMessageBox(FileErrorText(kWriteErrorText, outcome), MB_OK | MB_ICONERROR);
        }
    }
    m_recording = false;
    CScrollPage::OnDestroy();
}
