// A dialog from a template in the resources: modal through DoModal (which runs its
// own message loop with the owner disabled) or modeless through Create (pages, panels,
// tab hosts). The dialog's window runs the library's window procedure, so handler
// results go straight back to whoever sent the message.
#pragma once

#include "classlib/win/CDataExchange.h"
#include "classlib/win/CWnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog();
    // parent null: the main window owns a modal run.
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Runs the dialog modally and returns what EndDialog got, or -1 when the dialog
    // could not be created. The window exists only during the run.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless, as a child when its template says so.
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // Ends a modal run with result (the loop returns once the current message is
    // handled); hides a modeless dialog.
    void EndDialog(int result);

    // Moves data: TRUE from the controls to the members. FALSE when the exchange failed.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    void GotoDlgCtrl(CWnd* control);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void SetDefID(UINT id);
    DWORD GetDefID() const;
    void MapDialogRect(LPRECT rect) const;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // The base runs UpdateData(FALSE) and lets the system set the focus (TRUE).
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* exchange);

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    UINT m_templateId = 0;
    CWnd* m_pParentWnd = nullptr;  // not owned

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    BOOL CreateFromTemplate(HWND parent);
    HWND ModalOwner() const;
    void RunModalLoop();
    // A modal dialog opens centred over its owner (without one, over the work area), kept
    // on the work area, unless its template centres it on the screen; OnInitDialog may
    // place it elsewhere.
    void CentreOverOwner();

    bool m_inModalLoop = false;
    INT_PTR m_modalResult = -1;
};
