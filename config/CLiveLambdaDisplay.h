// The live gas correction and lambda of the map pages: the correction percent beside its label,
// and the lambda deviation bar with the label "l:" (in the Symbol font) and the value beside it.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CFont.h"
#include "classlib/win/CStatic.h"
#include "forms/CDeviationIndicator.h"

class CDataExchange;
class CDataHandler;
class CFontCache;
class CWnd;

class CLiveLambdaDisplay {
public:
    static constexpr double kLambdaLow = 0.8;
    static constexpr double kLambdaHigh = 1.2;

    struct ControlIds {
        int correctionLabel;
        int correction;
        int bar;
        int lambdaLabel;
        int lambdaValue;
    };

    // bottom and top: the lambda values at the ends of the bar.
    CLiveLambdaDisplay(const ControlIds& ids, double bottom, double top);

    void DoDataExchange(CDataExchange* exchange);
    // Places the display in the column from x, width wide, from y down; returns the y below it.
    int Place(int x, int y, int width, double sx, double sy);
    // The value texts in bold Arial 7.5 and the label in Symbol 8 at the page's scales; the bar
    // in the page's own font.
    void SetFonts(CFontCache& fonts, CWnd* page, double sx, double sy, CFont& bar);
    void SetCorrectionLabel(const CString& text);
    // Lambda 1.0 on the bar, "0.00 " beside it, correction "0 %".
    void Reset();
    // The unit's live lambda (clamped to the bar) and gas correction.
    void Show(CDataHandler& handler);

private:
    ControlIds m_ids;
    double m_bottom;
    double m_top;
    CStatic m_correctionLabel;
    CStatic m_correction;
    CDeviationIndicator m_bar;
    CStatic m_lambdaLabel;
    CStatic m_lambdaValue;
};
