// Coloured and blinking static text: the colours are answered to the reflected WM_CTLCOLOR,
// and the blink timer flips between the two pairs of colours.
#include "forms/CStaticExtended.h"

#include "classlib/win/CDC.h"

IMPLEMENT_DYNAMIC(CStaticExtended, CStatic)

BEGIN_MESSAGE_MAP(CStaticExtended, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CStaticExtended::CStaticExtended()
    : m_bkColor(::GetSysColor(COLOR_BTNFACE)),
      m_textColor(::GetSysColor(COLOR_BTNTEXT)),
      m_blinkTextColor(::GetSysColor(COLOR_CAPTIONTEXT)),
      m_blinkBkColor(::GetSysColor(COLOR_ACTIVECAPTION)) {
    m_bkBrush.CreateSolidBrush(m_bkColor);
    m_blinkBrush.CreateSolidBrush(m_blinkBkColor);
}

void CStaticExtended::SetBkColor(COLORREF color) {
    m_bkColor = color;
    m_bkBrush.DeleteObject();
    m_bkBrush.CreateSolidBrush(color);
    RedrawNow();
}

void CStaticExtended::SetTextColor(COLORREF color) {
    m_textColor = color;
    RedrawNow();
}

void CStaticExtended::SetBkMode(int mode) {
    m_bkMode = mode;
    RedrawNow();
}

void CStaticExtended::SetBlinkColors(COLORREF textColor, COLORREF backgroundColor) {
    m_blinkTextColor = textColor;
    m_blinkBkColor = backgroundColor;
    m_blinkBrush.DeleteObject();
    m_blinkBrush.CreateSolidBrush(backgroundColor);
}

void CStaticExtended::SetBlinkInterval(UINT periodMs) {
    m_blink.SetPeriod(periodMs);
}

BOOL CStaticExtended::Blink(BOOL on) {
    return m_blink.Blink(*this, on);
}

HBRUSH CStaticExtended::CtlColor(CDC* dc, UINT controlType) {
    dc->SetBkMode(m_bkMode);
    if (m_blink.IsHighlighted()) {
        dc->SetBkColor(m_blinkBkColor);
        dc->SetTextColor(m_blinkTextColor);
        return m_blinkBrush;
    }
    dc->SetBkColor(m_bkColor);
    dc->SetTextColor(m_textColor);
    return m_bkBrush;
}

void CStaticExtended::OnTimer(UINT_PTR id) {
    m_blink.Flip(*this);
    CStatic::OnTimer(id);
}

void CStaticExtended::OnDestroy() {
    CStatic::OnDestroy();
    m_blink.Stop(*this);
}

void CStaticExtended::RedrawNow() {
    if (!IsWindow()) {
        return;
    }
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
