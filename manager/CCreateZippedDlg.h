// "ZFZ Datei Hervorbringen": makes a zipped update file (zfz) from an update file (zfu) in the
// same folder, with the update file's version words and image and no descriptions.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CEdit.h"
#include "classlib/win/CStatic.h"
#include "manager/CFirmwareUpdateFile.h"

class CCreateZippedDlg : public CDialog {
public:
    explicit CCreateZippedDlg(CWnd* parent = nullptr);

    // A file gives the folder and the update file to load; a folder only the folder to browse
    // in; a path that does not exist neither.
    void SetSource(const CString& path);

    // The zipped file written, after OK.
    CString GetZippedPath() const { return m_zippedPath; }

    const CString& GetFolder() const { return m_folder; }

    const CString& GetFileName() const { return m_fileName; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* exchange) override;
    void OnBrowse();

    DECLARE_MESSAGE_MAP()

private:
    void LoadSource(const CString& path);
    void EmptyFields();

    CEdit m_updateField;
    CEdit m_nameField;
    CStatic m_versionField;
    CString m_folder;
    CString m_fileName;
    CString m_zippedPath;
    CFirmwareUpdateFile m_file;
};
