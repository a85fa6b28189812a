#include "forms/CSeparatorLine.h"

#include "classlib/win/CPaintDC.h"
#include "classlib/win/CRect.h"

BEGIN_MESSAGE_MAP(CSeparatorLine, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CSeparatorLine::CSeparatorLine()
    : m_shadowColor(::GetSysColor(COLOR_BTNSHADOW)), m_highlightColor(::GetSysColor(COLOR_BTNHIGHLIGHT)) {
    SetColors(m_shadowColor, m_highlightColor);
}

void CSeparatorLine::SetColors(COLORREF shadow, COLORREF highlight) {
    m_shadowColor = shadow;
    m_highlightColor = highlight;
    m_shadowPen.DeleteObject();
    m_shadowPen.CreatePen(PS_SOLID, 1, shadow);
    m_highlightPen.DeleteObject();
    m_highlightPen.CreatePen(PS_SOLID, 1, highlight);
}

void CSeparatorLine::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const HGDIOBJ previous = dc.SelectObject(&m_shadowPen);
    if (m_orientation == kHorizontal) {
        const int y = client.top + (client.Height() - 2) / 2;
        dc.MoveTo(client.left, y);
        dc.LineTo(client.right + 1, y);
        dc.SelectObject(&m_highlightPen);
        dc.MoveTo(client.left, y + 1);
        dc.LineTo(client.right + 1, y + 1);
    } else if (m_orientation == kVertical) {
        const int x = client.left + (client.Width() - 2) / 2;
        dc.MoveTo(x, client.top);
        dc.LineTo(x, client.bottom + 1);
        dc.SelectObject(&m_highlightPen);
        dc.MoveTo(x + 1, client.top);
        dc.LineTo(x + 1, client.bottom + 1);
    }
    dc.SelectObject(previous);
}
