#include "shell/CProgressDlgBase.h"

CProgressDlgBase::CProgressDlgBase(UINT templateId, const ControlIds& ids, CWnd* parent)
    : CDialog(templateId, parent), m_ids(ids) {}

void CProgressDlgBase::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CProgressDlgBase::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, m_ids.progressText, m_progressText);
    DDX_Control(exchange, m_ids.progress, m_progress);
    DDX_Control(exchange, m_ids.stateText, m_stateText);
    DDX_Control(exchange, m_ids.close, m_closeButton);
}

void CProgressDlgBase::OnOK() {}

void CProgressDlgBase::OnCancel() {}
