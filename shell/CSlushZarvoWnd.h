// The configurator's busy box: "Exiting ... [\]" with the character in the brackets
// spinning every 333 ms, sized to its text in Verdana 8 pt at the main dialog's scales.
#pragma once

#include "classlib/win/CFont.h"
#include "shell/CSlushWnd.h"

class CSlushZarvoWnd : public CSlushWnd {
    DECLARE_DYNCREATE(CSlushZarvoWnd)

public:
    static constexpr UINT_PTR kSpinTimerId = 1;
    static constexpr UINT kSpinPeriodMs = 333;
    static constexpr const char* kSpinner = "\\|/-";

    CSlushZarvoWnd();

    BOOL Create() override;

    // The box around a text of the given size: 16 x sx wider and 12 x sy higher.
    static SIZE BoxSize(SIZE text, double scaleX, double scaleY);
    // The message with the spinner character of the position (0..3).
    static CString SpinnerText(const CString& message, int position);

protected:
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    int m_position = 0;
    UINT_PTR m_timer = 0;
    CFont m_font;
};
