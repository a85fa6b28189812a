#include "config/CMapPageFrame.h"

#include "classlib/win/CWnd.h"
#include "forms/ScaledLength.h"

CMapPageFrame::CMapPageFrame(CWnd& page, double scaleX, double scaleY) : m_page(page), m_scaleX(scaleX) {
    RECT client = {};
    page.GetClientRect(&client);
    m_height = client.bottom - client.top;
    m_margin = ScaledLength(4, scaleX);
    m_labelHeight = ScaledLength(16, scaleY);
    m_rightWidth = ScaledLength(170, scaleX);
    m_rightX = client.right - client.left - m_rightWidth - m_margin;
}

void CMapPageFrame::PlaceUnitLabels(int timeLabelId, int speedLabelId) const {
    const int labelWidth = ScaledLength(40, m_scaleX);
    const int gridRight = m_rightX - m_margin;
    m_page.GetDlgItem(timeLabelId)->MoveWindow(m_margin, m_margin, labelWidth, m_labelHeight, FALSE);
    m_page.GetDlgItem(speedLabelId)
        ->MoveWindow(gridRight - labelWidth, m_margin, labelWidth, m_labelHeight, FALSE);
}
