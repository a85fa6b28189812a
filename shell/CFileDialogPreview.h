// The choice of a firmware update file: the enlarged open dialog with a description pane
// that shows the version history of the file the user selects.
#pragma once

#include "classlib/win/CFont.h"
#include "shell/CFileDialogExt2.h"

class CDataHandler;
class CResourceManager;

class CFileDialogPreview : public CFileDialogExt2 {
public:
    static constexpr UINT kTemplateId = 2017;
    static constexpr int kLabelId = 1269;
    static constexpr int kDescriptionId = 1268;
    static constexpr UINT kIdsDescription = 15352;

    CFileDialogPreview(BOOL openFileDialog,
                       LPCSTR defaultExtension,
                       LPCSTR fileName,
                       DWORD flags,
                       LPCSTR filter,
                       CWnd* parent = nullptr);

    void SetDataHandler(CDataHandler* handler) { m_dataHandler = handler; }

    void SetResourceManager(CResourceManager* manager) { m_resources = manager; }

protected:
    BOOL OnInitDialog() override;
    void OnFileNameChange() override;
    BOOL OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void SetUpLabel();
    CString DescribeSelection();
    void StretchPane();
    void StretchToRight(CWnd& control, int clientWidth);

    CDataHandler* m_dataHandler = nullptr;
    CResourceManager* m_resources = nullptr;
    CFont m_labelFont;
    CWnd m_label;
    CWnd m_description;
};
