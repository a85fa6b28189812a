// ZFx Manager's start window: "Start" followed by zero to three dots, one more every 333 ms.
#pragma once

#include "classlib/win/CFont.h"
#include "manager/CSplashWnd.h"

class CSplashZFZWnd : public CSplashWnd {
    DECLARE_DYNCREATE(CSplashZFZWnd)

public:
    static constexpr UINT kDotIntervalMs = 333;

    CSplashZFZWnd();

    // Measures "Start ..." in Verdana 8 pt and makes the window 14 and 10 pixels larger.
    BOOL Create() override;

    int GetDotCount() const { return m_dots; }

    // The text shown now: "Start" and the current dots.
    CString GetText() const;

protected:
    int OnCreate(LPCREATESTRUCT create);
    void OnTimer(UINT_PTR id);
    void OnPaint();
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    CString BaseText() const;

    CFont m_font;
    int m_dots = 0;
    RECT m_textRect = {0, 0, 0, 0};
    UINT_PTR m_timer = 0;
};
