#include "manager/CManagerDlg.h"

#include "classlib/core/CProcessClock.h"
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/CClientDC.h"
#include "classlib/win/CDataExchange.h"
#include "classlib/win/CMenu.h"
#include "classlib/win/CPaintDC.h"
#include "classlib/win/CScopedSelect.h"
#include "firmware/CAddKeyDlg.h"
#include "link/CLogger.h"
#include "link/CUpdateFileFormat.h"
#include "manager/CCreateZippedDlg.h"
#include "manager/CManagerAboutDlg.h"
#include "manager/CSplashStarter.h"
#include "manager/EllipsizePath.h"
#include "manager/LoadFailureText.h"
#include "manager/ManagerNames.h"
#include "manager/ManagerSettings.h"
#include "manager/res/ManagerResourceIds.h"

#include <cstring>

const UINT CManagerDlg::s_findInstanceMessage = RegisterWindowMessageA(ManagerNames::kSingleInstanceText);

BEGIN_MESSAGE_MAP(CManagerDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_CLOSE()
    ON_WM_COPYDATA()
    ON_NOTIFY(TVN_SELCHANGEDA, IDC_FILE_TREE, OnTreeSelChanged)
    ON_CBN_SELCHANGE(IDC_KEY_LIST, OnKeySelChange)
    ON_EN_KILLFOCUS(IDC_DESCRIPTION, OnDescriptionKillFocus)
    ON_BN_CLICKED(IDC_SAVE, OnSave)
    ON_BN_CLICKED(IDC_OPEN, OnOpen)
    ON_BN_CLICKED(IDC_ADD_KEY, OnAddKey)
    ON_BN_CLICKED(IDC_DELETE_KEY, OnDeleteKey)
    ON_MESSAGE(WM_TREE_FILE_ACTION, OnTreeFileAction)
    ON_REGISTERED_MESSAGE(s_findInstanceMessage, OnFindInstance)
END_MESSAGE_MAP()

namespace {

constexpr LONG kSplashMinimumMs = 500;
constexpr int kTooltipDelayMs = 0x7FFF;
constexpr int kTooltipInitialMs = 10;

bool HasExtension(const CString& path, LPCSTR extension) {
    return path.GetLength() >= 4 && path.Right(4).CompareNoCase(extension) == 0;
}

}  // namespace

CManagerDlg::CManagerDlg(CWnd* parent) : CDialog(IDD_MANAGER, parent) {
    m_icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MANAGER));
}

void CManagerDlg::SetSplash(CSplashStarter* splash, LONG startTimeMs) {
    m_splash = splash;
    m_startTimeMs = startTimeMs;
}

void CManagerDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_PROTOCOL_LABEL, m_protocolLabel);
    DDX_Control(exchange, IDC_FIRMWARE_LABEL, m_firmwareLabel);
    DDX_Control(exchange, IDC_FILE_TYPE_LABEL, m_typeLabel);
    DDX_Control(exchange, IDC_FILE_NAME_LABEL, m_nameLabel);
    DDX_Control(exchange, IDC_BOOTLOADER_LABEL, m_bootloaderLabel);
    DDX_Control(exchange, IDC_KEY_SUMMARY, m_keySummary);
    DDX_Control(exchange, IDC_PROTOCOL_VERSION, m_protocolValue);
    DDX_Control(exchange, IDC_FIRMWARE_VERSION, m_firmwareValue);
    DDX_Control(exchange, IDC_FILE_TYPE, m_typeValue);
    DDX_Control(exchange, IDC_FILE_NAME, m_nameValue);
    DDX_Control(exchange, IDC_DESCRIPTION, m_description);
    DDX_Control(exchange, IDC_KEY_LIST, m_keyBox);
    DDX_Control(exchange, IDC_SAVE, m_saveButton);
    DDX_Control(exchange, IDC_OPEN, m_openButton);
    DDX_Control(exchange, IDC_ADD_KEY, m_addKeyButton);
    DDX_Control(exchange, IDC_DELETE_KEY, m_deleteKeyButton);
    DDX_Control(exchange, IDC_BOOTLOADER_VERSION, m_bootloaderValue);
    DDX_Control(exchange, IDC_FILE_TREE, m_tree);
    DDX_FileTreeValue(exchange, m_tree, m_treePath);
}

BOOL CManagerDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CMenu* systemMenu = GetSystemMenu(FALSE);
    if (systemMenu != nullptr) {
        systemMenu->AppendMenu(MF_SEPARATOR);
        systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX,
                               "Inf&o \xFC"
                               "ber ZFx Viewer...");
    }
    SetIcon(m_icon, TRUE);
    SetIcon(m_icon, FALSE);

    if (m_tooltip.Create(this)) {
        m_tooltip.SetDelayTime(TTDT_AUTOPOP, kTooltipDelayMs);
        m_tooltip.SetDelayTime(TTDT_RESHOW, kTooltipDelayMs);
        m_tooltip.SetDelayTime(TTDT_INITIAL, kTooltipInitialMs);
        RECT margins = {1, 1, 1, 1};
        m_tooltip.SetMargin(&margins);
        m_tooltip.Activate(TRUE);
        m_tooltip.AddTool(&m_nameValue, LPSTR_TEXTCALLBACK);
    }

    m_loadedPath.Empty();
    ClearFileFields();
    m_tree.Initialize();

    CString path = m_startFile;
    if (path.IsEmpty() && !m_settingsKey.IsEmpty()) {
        ManagerSettings::ReadSetting(m_settingsKey, "LatestPath", path);
    }
    if (!path.IsEmpty()) {
        m_tree.SelectPath(path, true);
        if (!OpenSelectedFile(path)) {
            ShowUnloadedFile(path);
        }
    }
    EnterViewerMode();
    StopSplash();
    return TRUE;
}

void CManagerDlg::EnterViewerMode() {
    m_saveButton.ShowWindow(SW_HIDE);
    m_openButton.ShowWindow(SW_HIDE);
    m_addKeyButton.ShowWindow(SW_HIDE);
    m_deleteKeyButton.ShowWindow(SW_HIDE);
    RECT description;
    RECT save;
    m_description.GetWindowRect(&description);
    m_saveButton.GetWindowRect(&save);
    RECT both;
    UnionRect(&both, &description, &save);
    ScreenToClient(&both);
    m_description.MoveWindow(&both);
    SetWindowText("ZFx Viewer");
}

void CManagerDlg::StopSplash() {
    if (m_splash == nullptr) {
        return;
    }
    const LONG elapsed = CProcessClock::ElapsedMs() - m_startTimeMs;
    if (elapsed < kSplashMinimumMs) {
        Sleep(static_cast<DWORD>(kSplashMinimumMs - elapsed));
    }
    m_splash->Stop(this);
    m_splash = nullptr;
}

BOOL CManagerDlg::PreTranslateMessage(MSG* msg) {
    if (m_tooltip.GetSafeHwnd() != nullptr) {
        m_tooltip.RelayEvent(msg);
    }
    return CDialog::PreTranslateMessage(msg);
}

BOOL CManagerDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header != nullptr && header->code == TTN_NEEDTEXTA && header->hwndFrom == m_tooltip.GetSafeHwnd()) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        info->lpszText = const_cast<LPSTR>(m_tooltipText.GetString());
        *result = 0;
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, result);
}

// --- Showing files --------------------------------------------------------------------------------

void CManagerDlg::ClearFileFields() {
    m_protocolLabel.EnableWindow(TRUE);
    m_bootloaderLabel.EnableWindow(TRUE);
    m_nameValue.SetWindowText("");
    m_typeValue.SetWindowText("");
    m_firmwareValue.SetWindowText("");
    m_protocolValue.SetWindowText("");
    m_bootloaderValue.SetWindowText("");
    m_keySummary.SetWindowText("");
    m_description.SetWindowText("");
    m_tooltipText.Empty();
    m_addKeyButton.EnableWindow(FALSE);
    m_keyBox.ResetContent();
    m_keyBox.EnableWindow(FALSE);
    m_deleteKeyButton.EnableWindow(FALSE);
    m_description.SetReadOnly(TRUE);
    m_openButton.EnableWindow(FALSE);
    m_saveButton.EnableWindow(FALSE);
}

// A file that cannot be shown says why in the description field; a folder, or a path that
// names no file, leaves the fields empty.
void CManagerDlg::ShowUnloadedFile(const CString& path) {
    ClearFileFields();
    if (path.IsEmpty()) {
        return;
    }
    const DWORD attributes = GetFileAttributesA(path);
    const bool isFile = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    if (!isFile && m_loadCause == 0) {
        return;
    }
    ShowFileName(path);
    CString text = LoadFailureText(path, m_loadCause);
    text.Replace("\n", "\r\n");
    m_description.SetWindowText(text);
}

bool CManagerDlg::OpenSelectedFile(const CString& path) {
    m_loadedKind = kNoFile;
    int cause = 0;
    if (HasExtension(path, ".zfz")) {
        if (m_updateFile.HasImage()) {
            m_updateFile.Clear();
        }
        if (m_updateFile.LoadZippedFile(path, cause) != 0) {
            m_loadedKind = kZippedFile;
        }
    } else if (HasExtension(path, ".zfp")) {
        if (m_patchFile.HasRecords()) {
            m_patchFile.Clear();
        }
        if (m_patchFile.Load(path, cause) != 0) {
            m_loadedKind = kPatchFile;
        }
    }
    m_loadCause = cause;
    if (m_loadedKind == kNoFile) {
        return false;
    }
    m_loadedPath = path;
    ShowFileName(path);
    ShowFileInfo();
    m_openButton.EnableWindow(TRUE);
    return true;
}

void CManagerDlg::ShowFileName(const CString& path) {
    RECT field;
    m_nameValue.GetClientRect(&field);
    CClientDC dc(&m_nameValue);
    CScopedSelect font(dc, reinterpret_cast<HGDIOBJ>(GetFont()));
    const CString shown = EllipsizePath(path, field.right - field.left,
                                        [&dc](const CString& text) { return dc.GetTextExtent(text).cx; });
    m_nameValue.SetWindowText(shown);
    m_tooltipText = shown != path ? path : CString();
}

void CManagerDlg::ShowFileInfo() {
    CString text;
    if (m_loadedKind == kZippedFile) {
        const WORD format = m_updateFile.GetFormat();
        text.Format("ZYLMOR Firmware Update %d.%02d", format >> 8, format & 0xFF);
        m_typeValue.SetWindowText(text);
        m_firmwareValue.SetWindowText(
            CUpdateFileFormat::FormatFirmwareBuild(m_updateFile.GetFirmware(), m_updateFile.GetBuild()));
        m_protocolValue.SetWindowText(CUpdateFileFormat::FormatVersion(m_updateFile.GetProtocol()));
        m_protocolLabel.EnableWindow(TRUE);
        m_bootloaderValue.SetWindowText(CUpdateFileFormat::FormatVersion(m_updateFile.GetBootloader()));
        m_bootloaderLabel.EnableWindow(TRUE);
    } else if (m_loadedKind == kPatchFile) {
        const WORD format = m_patchFile.GetFormat();
        text.Format("ZYLMOR Firmware Patch %d.%02d", format >> 8, format & 0xFF);
        m_typeValue.SetWindowText(text);
        m_firmwareValue.SetWindowText(
            CUpdateFileFormat::FormatFirmwareBuild(m_patchFile.GetVersion(), m_patchFile.GetBuild()));
        m_protocolValue.SetWindowText("");
        m_protocolLabel.EnableWindow(FALSE);
        m_bootloaderValue.SetWindowText("");
        m_bootloaderLabel.EnableWindow(FALSE);
    }
    FillKeyList(CDescriptionKeyList::kSelectFirst);
}

void CManagerDlg::GetLoadedDescriptions(CMapStringToString& descriptions) const {
    if (m_loadedKind == kZippedFile) {
        m_updateFile.GetDescriptions(descriptions);
    } else if (m_loadedKind == kPatchFile) {
        m_patchFile.GetDescriptions(descriptions);
    } else {
        descriptions.RemoveAll();
    }
}

void CManagerDlg::FillKeyList(CDescriptionKeyList::Mode mode) {
    const int chosen = m_keyBox.GetCurSel();
    const int chosenIndex = chosen >= 0 ? static_cast<int>(m_keyBox.GetItemData(chosen)) : -1;
    CMapStringToString descriptions;
    GetLoadedDescriptions(descriptions);
    m_keys.Refresh(descriptions, mode, chosenIndex);
    m_keyBox.ResetContent();
    for (int i = 0; i < m_keys.GetCount(); ++i) {
        const int entry = m_keyBox.AddString(m_keys.GetKey(i));
        m_keyBox.SetItemData(entry, static_cast<DWORD_PTR>(i));
    }
    if (m_keys.GetCount() == 0) {
        m_keyBox.EnableWindow(FALSE);
        m_description.SetWindowText("");
        m_keySummary.SetWindowText(m_keys.GetSummary(ViewerKeys::kNoKeysText));
        return;
    }
    m_keyBox.EnableWindow(TRUE);
    m_keyBox.SetCurSel(m_keys.GetSelection());
    ShowChosenDescription();
    m_keySummary.SetWindowText(m_keys.GetSummary(ViewerKeys::kNoKeysText));
}

void CManagerDlg::ShowChosenDescription() {
    const int chosen = m_keyBox.GetCurSel();
    if (chosen < 0) {
        return;
    }
    m_description.SetWindowText(m_keys.GetText(static_cast<int>(m_keyBox.GetItemData(chosen))));
}

void CManagerDlg::OnKeySelChange() {
    ShowChosenDescription();
}

void CManagerDlg::OnTreeSelChanged(NMHDR* header, LRESULT* result) {
    *result = 0;
    const CString path = m_tree.GetSelectedPath();
    if (path.IsEmpty() || !OpenSelectedFile(path)) {
        m_loadedPath.Empty();
        ShowUnloadedFile(path);
    }
}

LRESULT CManagerDlg::OnTreeFileAction(WPARAM wParam, LPARAM lParam) {
    const auto* path = reinterpret_cast<const CString*>(lParam);
    if (path == nullptr) {
        return 0;
    }
    if (wParam == CTreeFileCtrl::kOpenFile) {
        if (!OpenSelectedFile(*path)) {
            ShowUnloadedFile(*path);
        }
    } else if (wParam == CTreeFileCtrl::kMakeZipped) {
        MakeZippedFile(*path);
    }
    return 0;
}

void CManagerDlg::MakeZippedFile(const CString& source) {
    CCreateZippedDlg dialog(this);
    dialog.SetSource(source);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    m_tree.Refresh();
    m_tree.SelectPath(dialog.GetZippedPath(), false);
}

// --- Single instance ----------------------------------------------------------------------------

LRESULT CManagerDlg::OnFindInstance(WPARAM wParam, LPARAM lParam) {
    return s_findInstanceMessage;
}

// The text need not end within the data: only the bytes handed over are read.
BOOL CManagerDlg::OnCopyData(CWnd* wnd, COPYDATASTRUCT* data) {
    if (data == nullptr || data->dwData != ManagerNames::kCopyDataOpenFile || data->lpData == nullptr) {
        return FALSE;
    }
    const auto* text = static_cast<const char*>(data->lpData);
    const std::size_t length = strnlen(text, data->cbData);
    m_startFile = CString(text, static_cast<int>(length));
    if (!m_tree.IsWindowEnabled()) {
        return TRUE;
    }
    if (OpenSelectedFile(m_startFile)) {
        m_tree.SelectPath(m_startFile, true);
    } else {
        ShowUnloadedFile(m_startFile);
    }
    return TRUE;
}

// --- Closing, about and the icon ----------------------------------------------------------------

void CManagerDlg::OnOK() {}

void CManagerDlg::OnCancel() {
    CloseAfterAsking();
}

void CManagerDlg::OnClose() {
    CloseAfterAsking();
}

void CManagerDlg::CloseAfterAsking() {
    if (AfxMessageBox("Programm schlie\xDF"
                      "en - sicher?",
                      MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    const CString selected = m_tree.GetSelectedPath();
    if (!selected.IsEmpty() && !m_settingsKey.IsEmpty() &&
        !ManagerSettings::WriteSetting(m_settingsKey, "LatestPath", selected)) {
        CLogger::Instance().Log(1000, "CManagerDlg: LatestPath could not be written.");
    }
    EndDialog(IDCANCEL);
}

void CManagerDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CManagerAboutDlg about(this);
        about.DoModal();
        return;
    }
    CDialog::OnSysCommand(id, lParam);
}

void CManagerDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT client;
    GetClientRect(&client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_icon);
}

HCURSOR CManagerDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_icon);
}

// --- Editing (not reachable in viewer mode) ---------------------------------------------------------

void CManagerDlg::OnAddKey() {
    CAddKeyDlg dialog(this);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    const CString key = dialog.GetKey();
    CMapStringToString descriptions;
    GetLoadedDescriptions(descriptions);
    CString existing;
    if (descriptions.Lookup(key, existing)) {
        AfxMessageBox(
            "Schl\xFC"
            "ssel schon existiert.",
            MB_OK | MB_ICONWARNING);
        return;
    }
    if (m_loadedKind == kZippedFile) {
        m_updateFile.SetDescription(key, "");
    } else if (m_loadedKind == kPatchFile) {
        m_patchFile.SetDescription(key, "");
    }
    FillKeyList(CDescriptionKeyList::kKeepSelected);
    m_deleteKeyButton.EnableWindow(TRUE);
    m_description.SetReadOnly(FALSE);
}

void CManagerDlg::OnDeleteKey() {
    const int chosen = m_keyBox.GetCurSel();
    if (chosen < 0) {
        return;
    }
    if (AfxMessageBox("L\xF6"
                      "schen - sicher?",
                      MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        return;
    }
    const CString key = m_keys.GetKey(static_cast<int>(m_keyBox.GetItemData(chosen)));
    if (m_loadedKind == kZippedFile) {
        m_updateFile.RemoveDescription(key);
    } else if (m_loadedKind == kPatchFile) {
        m_patchFile.RemoveDescription(key);
    }
    FillKeyList(CDescriptionKeyList::kSelectNeighbour);
    if (m_keyBox.GetCount() == 0) {
        m_deleteKeyButton.EnableWindow(FALSE);
        m_description.SetReadOnly(TRUE);
    }
}

void CManagerDlg::OnDescriptionKillFocus() {
    const int chosen = m_keyBox.GetCurSel();
    if ((m_description.GetStyle() & ES_READONLY) != 0 || chosen < 0) {
        return;
    }
    CString text;
    m_description.GetWindowText(text);
    const int index = static_cast<int>(m_keyBox.GetItemData(chosen));
    m_keys.SetText(index, text);
    if (m_loadedKind == kZippedFile) {
        m_updateFile.SetDescription(m_keys.GetKey(index), text);
    } else if (m_loadedKind == kPatchFile) {
        m_patchFile.SetDescription(m_keys.GetKey(index), text);
    }
}

void CManagerDlg::OnSave() {
    m_tree.EnableWindow(TRUE);
    m_addKeyButton.EnableWindow(FALSE);
    m_deleteKeyButton.EnableWindow(FALSE);
    m_description.SetReadOnly(TRUE);
    m_openButton.EnableWindow(TRUE);
    m_saveButton.EnableWindow(FALSE);
    GotoDlgCtrl(&m_openButton);
    int cause = 0;
    int saved = 0;
    if (m_loadedKind == kZippedFile) {
        saved = m_updateFile.SaveZippedFile(m_loadedPath, cause);
    } else if (m_loadedKind == kPatchFile) {
        saved = m_patchFile.Save(m_loadedPath, cause);
    }
    if (saved != 0) {
        AfxMessageBox("Saved successfully.", MB_OK | MB_ICONINFORMATION);
        return;
    }
    CString message;
    message.Format("Fehler beim schreiben der Datei:\n%s\nFehler Kode: %d.", m_loadedPath.GetString(), cause);
    AfxMessageBox(message, MB_OK | MB_ICONERROR);
}

// The open button has no action of its own.
void CManagerDlg::OnOpen() {}
