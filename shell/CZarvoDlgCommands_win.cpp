// The main menu's commands (Finalize, Restore, Load, Save, Language, Exit, Firmware update
// and Firmware patch), the boxes and dialogs the data handler asks for, and the orderly
// shutdown.
#include "classlib/core/CSingleLock.h"
#include "classlib/core/FormatText.h"
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/CFileDialog.h"
#include "firmware/CFirmwarePatch.h"
#include "firmware/CFirmwarePatchDlg.h"
#include "firmware/CFirmwareUpdateDlg.h"
#include "link/CLogger.h"
#include "link/RecentSettings.h"
#include "shell/CExitDlg.h"
#include "shell/CFileDialogPreview.h"
#include "shell/CSlushLauncher.h"
#include "shell/CSlushZarvoWnd.h"
#include "shell/CZarvoDlg.h"
#include "shell/ExitAnswer.h"
#include "shell/PatchRecordChecks.h"

#include <shlobj.h>
#include <vector>

namespace {

constexpr UINT kIdsFinalizeQuestion = 15013;
constexpr UINT kIdsRestoreQuestion = 15014;
constexpr UINT kIdsExitQuestion = 15015;
constexpr UINT kIdsExitSaveHint = 15017;
constexpr UINT kIdsConfigFilter = 15118;
constexpr UINT kIdsErrorReading = 15121;
constexpr UINT kIdsInvalidFormat = 15122;
constexpr UINT kIdsUpdateFilter = 15201;
constexpr UINT kIdsUpdateQuestion = 15206;
constexpr UINT kIdsUpdateModeFailed = 15207;
constexpr UINT kIdsUpdateModeIncompatible = 15208;
constexpr UINT kIdsUpdateFailed = 15239;
constexpr UINT kIdsExiting = 15232;
constexpr UINT kIdsLoadWarning = 15241;
constexpr UINT kIdsPatchFilter = 15386;
constexpr UINT kIdsUnsupportedIds = 15505;

constexpr int kElementFinalize = 39;
constexpr int kElementRestore = 40;

constexpr const char* kPatchesFolder = "Patches";

// Without a remembered folder a file dialog would open in the current folder, which the
// language scan leaves in "Language".
bool DocumentsFolder(CString& folder) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path))) {
        CLogger::Instance().Log(2000, "CZarvoDlg: the documents folder is not known.");
        return false;
    }
    folder = path;
    return true;
}

}  // namespace

// ---- Boxes and dialogs --------------------------------------------------------------

int CZarvoDlg::Ask(UINT textId, UINT type) {
    return AfxMessageBox(m_resources.GetString(textId), type);
}

void CZarvoDlg::ShowError(const CString& text) {
    CLogger::Instance().Log(3000, "CZarvoDlg: message: %s", static_cast<LPCSTR>(text));
    AfxMessageBox(text, MB_OK | MB_ICONSTOP);
}

bool CZarvoDlg::ShowMessage(LPCSTR text, Box box) {
    switch (box) {
    case Box::Question:
        return AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) == IDYES;
    case Box::Warning:
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        return false;
    case Box::Error:
        AfxMessageBox(text, MB_OK | MB_ICONSTOP);
        return false;
    }
    return false;
}

int CZarvoDlg::AskTransferDirection(LPCSTR message) {
    m_transferDialog.SetMessage(message);
    m_transferDialog.SetLinkUp(IsLinkUp(m_dataHandler.GetStatus()));
    const INT_PTR answer = RunModal(m_transferDialog);
    if (answer == kTransferFromUnit || answer == kTransferToUnit) {
        return static_cast<int>(answer);
    }
    return kTransferCancel;
}

bool CZarvoDlg::ChooseConfigFileToSave(LPCSTR suggestedName, CString& path) {
    return ChooseFile(FALSE, kIdsConfigFilter, "zcf", suggestedName, OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT,
                      kSavesFolder, path);
}

bool CZarvoDlg::ChooseFile(BOOL open,
                           UINT filterId,
                           LPCSTR extension,
                           LPCSTR name,
                           DWORD flags,
                           LPCSTR folderSetting,
                           CString& path,
                           bool preview) {
    const CString filter = m_resources.GetString(filterId);
    const std::unique_ptr<CFileDialog> dialog = MakeFileDialog(open, extension, name, flags, filter, preview);
    CString folder;
    if (ReadDirectorySetting(folderSetting, folder) || DocumentsFolder(folder)) {
        dialog->SetInitialFolder(folder);
    }
    m_routing = 0;
    const INT_PTR answer = dialog->DoModal();
    m_routing = 1;
    if (answer != IDOK) {
        return false;
    }
    path = dialog->GetPathName();
    return true;
}

std::unique_ptr<CFileDialog> CZarvoDlg::MakeFileDialog(BOOL open,
                                                       LPCSTR extension,
                                                       LPCSTR name,
                                                       DWORD flags,
                                                       LPCSTR filter,
                                                       bool preview) {
    if (!CFileDialogExt2::IsNeeded()) {
        return std::make_unique<CFileDialog>(open, extension, name, flags, filter, this);
    }
    if (!preview) {
        return std::make_unique<CFileDialogExt2>(open, extension, name, flags, filter, this);
    }
    auto dialog = std::make_unique<CFileDialogPreview>(open, extension, name, flags, filter, this);
    dialog->SetDataHandler(&m_dataHandler);
    dialog->SetResourceManager(&m_resources);
    return dialog;
}

// ---- Finalize, Restore, Load, Save, Language ----------------------------------------

void CZarvoDlg::OnFinalize() {
    if (Ask(kIdsFinalizeQuestion, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
        return;
    }
    m_dataHandler.WriteData(kElementFinalize, nullptr);
    // Nothing was queued with the link down: the busy dialog would wait for a job that
    // never runs.
    if (!IsLinkUp(m_dataHandler.GetStatus())) {
        return;
    }
    RunModal(m_busyDialog);
}

void CZarvoDlg::OnRestore() {
    if (Ask(kIdsRestoreQuestion, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
        return;
    }
    m_dataHandler.WriteData(kElementRestore, nullptr);
    m_dataHandler.RequestRestore();
}

void CZarvoDlg::OnLoad() {
    if (Ask(kIdsLoadWarning, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
        return;
    }
    CString path;
    if (!ChooseFile(TRUE, kIdsConfigFilter, "zcf", nullptr, OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                    kSavesFolder, path)) {
        return;
    }
    m_dataHandler.LoadConfigFile(path);
}

// A failed write leaves the dialog to choose another file, as long as the user goes on.
void CZarvoDlg::OnSave() {
    m_mapPage.StoreMeasurements();
    if (!m_dataHandler.HasConfiguration()) {
        m_dataHandler.SaveConfigFile(nullptr);
        return;
    }
    CString path;
    while (ChooseConfigFileToSave(m_dataHandler.GetFileName(), path)) {
        if (m_dataHandler.SaveConfigFile(path) != 0) {
            return;
        }
    }
}

void CZarvoDlg::OnLanguage() {
    if (RunModal(m_languageDialog) == IDOK) {
        m_dataHandler.BroadcastLanguageChanged();
    }
}

// ---- Exit and shutdown --------------------------------------------------------------

bool CZarvoDlg::ConfirmExit() {
    if (!m_dataHandler.HasConfiguration() || !m_dataHandler.IsModified()) {
        return true;
    }
    CExitDlg dialog(this);
    dialog.SetResourceManager(&m_resources);
    dialog.SetMessage(m_resources.GetString(kIdsExitQuestion) + m_resources.GetString(kIdsExitSaveHint));
    const INT_PTR answer = RunModal(dialog);
    if (answer == -1) {
        CLogger::Instance().Log(0,
                                "CZarvoDlg::ConfirmExit(): the exit question could not be shown; staying.");
    }
    return ExitAnswerLeaves(answer);
}

void CZarvoDlg::OnExit() {
    ExitProgram(IDOK);
}

void CZarvoDlg::OnClose() {
    ExitProgram(IDOK);
}

void CZarvoDlg::ExitProgram(int result) {
    if (!ConfirmExit()) {
        return;
    }
    DoAtFinal();
    EndRunningDialogs();
    EndDialog(result);
}

void CZarvoDlg::DoAtFinal() {
    if (m_busyWindow != nullptr) {
        m_busyWindow->Show(RUNTIME_CLASS(CSlushZarvoWnd), m_resources.GetString(kIdsExiting), m_scaleX,
                           m_scaleY);
    }
    {
        CSingleLock guard(&m_exitLock, TRUE);
        m_exiting = 1;
    }
    CLogger& log = CLogger::Instance();
    log.Log(3000, "CZarvoDlg::DoAtFinal(): sending TERM signal to WatchDog ...");
    m_watchDog.StopThread();
    log.Log(3000, "CZarvoDlg::DoAtFinal(): sending TERM signal to Communicator ...");
    if (m_communicator.StopThread() == 0) {
        log.Log(3000, "CZarvoDlg::DoAtFinal(): sending KILL signal to Communicator ...");
        m_communicator.KillThread();
    }
    log.Log(3000, "CZarvoDlg::DoAtFinal(): done.");
}

// ---- Firmware update ----------------------------------------------------------------

void CZarvoDlg::OnFirmwareUpdate() {
    if (!IsLinkUp(m_connectionStatus)) {
        OnTimer(0);
        return;
    }
    if (Ask(kIdsUpdateQuestion, MB_YESNO | MB_ICONQUESTION) == IDNO) {
        return;
    }
    m_dataHandler.RequestUpdateMode();
    m_updateTimer = SetTimer(kUpdateTimerId, kUpdateTimeoutMs);
}

// The timer is killed before any box: while a box is up it would fire again and stack boxes.
void CZarvoDlg::OnTimer(UINT_PTR id) {
    if (id != 0) {
        if (m_updateTimer == 0 || id != m_updateTimer) {
            return;
        }
        KillTimer(m_updateTimer);
        m_updateTimer = 0;
        SetNormalMode();
        ShowError(m_resources.GetString(kIdsUpdateModeFailed));
        return;
    }
    if (m_updateTimer != 0) {
        KillTimer(m_updateTimer);
        m_updateTimer = 0;
        if (m_connectionStatus == 6) {
            SetNormalMode();
            ShowError(m_resources.GetString(kIdsUpdateModeIncompatible));
            return;
        }
        if (m_connectionStatus != 5) {
            SetNormalMode();
            ShowError(m_resources.GetString(kIdsUpdateModeFailed));
            return;
        }
    }
    ContinueFirmwareUpdate();
}

void CZarvoDlg::ContinueFirmwareUpdate() {
    CString path;
    CByteArray image;
    if (ChooseFile(TRUE, kIdsUpdateFilter, nullptr, nullptr, OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                   kUpdatesFolder, path, true) &&
        m_dataHandler.CheckFirmwareUpdateFile(path, image)) {
        m_dataHandler.ForceNewUnitPrompt();
        if (m_dataHandler.StartFirmwareUpload(image) && RunModal(m_updateDialog) == IDCANCEL) {
            m_dataHandler.RequestLeaveUpdateMode();
        }
    }
    SetNormalMode();
}

void CZarvoDlg::SetNormalMode() {
    m_dataHandler.SetNormalMode();
}

LRESULT CZarvoDlg::OnUpdateProgress(WPARAM code, LPARAM perMille) {
    if (m_updateDialog.GetSafeHwnd() != nullptr) {
        m_updateDialog.OnUpdateProgress(static_cast<int>(code), static_cast<int>(perMille));
        return 0;
    }
    if (code == kUpdateReportWriteError || code == kUpdateReportBroken) {
        ShowError(m_resources.GetString(kIdsUpdateFailed));
    }
    return 0;
}

// ---- Firmware patch -----------------------------------------------------------------

void CZarvoDlg::OnFirmwarePatch() {
    CString path;
    if (!ChooseFile(TRUE, kIdsPatchFilter, "zfp", nullptr, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST,
                    kPatchesFolder, path)) {
        return;
    }
    CFirmwarePatch patch;
    int cause = 0;
    if (patch.Load(path, cause) == 0) {
        if (cause == 0) {
            ShowError(m_resources.GetString(kIdsInvalidFormat));
            return;
        }
        const CString format = m_resources.GetString(kIdsErrorReading);
        ShowError(FormatText(format, static_cast<LPCSTR>(path), cause));
        return;
    }
    const int separator = path.ReverseFind('\\');
    if (separator >= 0) {
        WriteDirectorySetting(kPatchesFolder, path.Left(separator));
    }
    if (!CheckPatchIds(patch)) {
        return;
    }
    // A record longer than a packet can carry is refused before anything reaches the unit.
    if (!PatchTransferMachine::FitsPackets(patch)) {
        ShowError(m_resources.GetString(kIdsInvalidFormat));
        return;
    }
    CFirmwarePatchDlg dialog(this);
    dialog.SetScale(m_scaleX, m_scaleY);
    dialog.SetDataHandler(&m_dataHandler);
    dialog.SetResourceManager(&m_resources);
    dialog.SetFontCache(&m_fonts);
    dialog.SetPatch(&patch);
    if (RunModal(dialog) != PatchTransferMachine::kResultDone) {
        return;
    }
    constexpr int kElementPatchVersion = 111;
    constexpr int kElementPatchDate = 112;
    const auto version = PatchRecordChecks::VersionRecord(patch.GetVersion(), patch.GetBuild());
    const auto date = PatchRecordChecks::DateRecord(patch.GetYear(), patch.GetMonth(), patch.GetDay());
    m_dataHandler.WriteDataLocal(kElementPatchVersion, version.data());
    m_dataHandler.WriteDataLocal(kElementPatchDate, date.data());
}

bool CZarvoDlg::CheckPatchIds(CFirmwarePatch& patch) {
    const int length = m_dataHandler.GetElementLength(PatchRecordChecks::kElementSupportedIds);
    std::vector<BYTE> bitmap(static_cast<size_t>(length > 0 ? length : 0), 0);
    if (!bitmap.empty()) {
        m_dataHandler.ReadData(PatchRecordChecks::kElementSupportedIds, bitmap.data());
    }
    std::vector<BYTE> unsupported;
    patch.ResetRecordIterator();
    bool more = patch.HasRecords();
    while (more) {
        BYTE id = 0;
        more = patch.GetNextRecordId(id);
        BYTE enable = 0;
        CByteArray data;
        if (patch.GetRecord(id, enable, data) && enable == 1 &&
            !PatchRecordChecks::IsRecordSupported(bitmap, id)) {
            unsupported.push_back(id);
        }
    }
    if (unsupported.empty()) {
        return true;
    }
    ShowError(
        PatchRecordChecks::FormatUnsupportedIds(m_resources.GetString(kIdsUnsupportedIds), unsupported));
    return false;
}
