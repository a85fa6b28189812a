#include "manager/CCreateZippedDlg.h"

#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/CDataExchange.h"
#include "classlib/win/CFileDialog.h"
#include "link/CUpdateFileFormat.h"
#include "manager/LoadFailureText.h"
#include "manager/ZippedFileNames.h"
#include "manager/res/ManagerResourceIds.h"

BEGIN_MESSAGE_MAP(CCreateZippedDlg, CDialog)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CCreateZippedDlg::CCreateZippedDlg(CWnd* parent) : CDialog(IDD_CREATE_ZIPPED, parent) {}

void CCreateZippedDlg::SetSource(const CString& path) {
    m_folder.Empty();
    m_fileName.Empty();
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        m_folder = path + "\\";
        return;
    }
    ZippedFileNames::SplitFilePath(path, m_folder, m_fileName);
}

void CCreateZippedDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_ZFU_PATH, m_updateField);
    DDX_Control(exchange, IDC_ZFZ_NAME, m_nameField);
    DDX_Control(exchange, IDC_ZFU_VERSION, m_versionField);
}

BOOL CCreateZippedDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    EmptyFields();
    if (!m_fileName.IsEmpty()) {
        LoadSource(m_folder + m_fileName);
    }
    return TRUE;
}

void CCreateZippedDlg::EmptyFields() {
    m_updateField.SetWindowText("");
    m_nameField.SetWindowText("");
    m_versionField.SetWindowText("");
}

void CCreateZippedDlg::LoadSource(const CString& path) {
    if (m_file.HasImage()) {
        m_file.Clear();
    }
    int cause = 0;
    if (m_file.LoadUpdateFile(path, cause) == 0) {
        AfxMessageBox(LoadFailureText(path, cause), MB_OK | MB_ICONERROR);
        m_file.Clear();
        EmptyFields();
        m_nameField.EnableWindow(FALSE);
        return;
    }
    ZippedFileNames::SplitFilePath(path, m_folder, m_fileName);
    m_updateField.SetWindowText(path);
    m_versionField.SetWindowText(
        CUpdateFileFormat::FormatFirmwareBuild(m_file.GetFirmware(), m_file.GetBuild()));
    const CString proposed = ZippedFileNames::ProposedName(path);
    m_nameField.SetWindowText(proposed);
    m_nameField.EnableWindow(TRUE);
    GotoDlgCtrl(&m_nameField);
    m_nameField.SetSel(proposed.GetLength(), proposed.GetLength());
}

void CCreateZippedDlg::OnBrowse() {
    CFileDialog dialog(TRUE, "zfu", nullptr, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST,
                       "ZYLMOR Firmware Updates (*.zfu)|*.zfu||", this);
    dialog.SetInitialFolder(m_folder);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    LoadSource(dialog.GetPathName());
}

void CCreateZippedDlg::OnOK() {
    if (!m_file.HasImage()) {
        AfxMessageBox("Choose an ZFU file.", MB_OK | MB_ICONWARNING);
        return;
    }
    CString typed;
    m_nameField.GetWindowText(typed);
    if (typed.IsEmpty()) {
        AfxMessageBox("No ZFZ file name given.", MB_OK | MB_ICONWARNING);
        return;
    }
    const CString name = ZippedFileNames::TargetName(typed);
    const CString target = m_folder + name;
    if (GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES) {
        CString question;
        question.Format(
            "ZFZ Datei '%s' schon existiert. \xDC"
            "berschreiben?",
            name.GetString());
        if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDNO) {
            return;
        }
    }
    int cause = 0;
    if (m_file.SaveZippedFile(target, cause) == 0) {
        CString message;
        message.Format("Fehler beim schreiben der Datei:\n%s\nFehler Kode: %d.", target.GetString(), cause);
        AfxMessageBox(message, MB_OK | MB_ICONERROR);
        return;
    }
    m_zippedPath = target;
    m_file.Clear();
    CDialog::OnOK();
}

void CCreateZippedDlg::OnCancel() {
    m_file.Clear();
    CDialog::OnCancel();
}
