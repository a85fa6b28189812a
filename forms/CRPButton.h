// A button of any kind (push, check box, radio button) drawn as a push button that stays
// pressed while checked. It can blink between its normal look and a highlight colour and
// show its caption with a second, offset print while it is active.
#pragma once

#include "classlib/win/CBrush.h"
#include "forms/CBlinkTimer.h"
#include "forms/CFocuslessButton.h"

#include <windows.h>

class CRPButton : public CFocuslessButton {
    DECLARE_DYNAMIC(CRPButton)

public:
    static constexpr UINT_PTR kBlinkTimerId = CBlinkTimer::kTimerId;
    static constexpr UINT kDefaultBlinkPeriodMs = CBlinkTimer::kDefaultPeriodMs;

    CRPButton();

    // Takes effect at the next start of blinking.
    void SetBlinkInterval(UINT periodMs) { m_blink.SetPeriod(periodMs); }

    // on: 1 when blinking started, 0 when it blinks already (or has no window). off: back to
    // the normal look; 1 when it was blinking.
    BOOL Blink(BOOL on);

    // The colour of the offset print while active.
    void SetTextColor(COLORREF color) { m_activeTextColor = color; }

    void SetHighlightColors(COLORREF textColor, COLORREF fillColor);

    // The caller repaints.
    void SetActive(BOOL active) { m_active = active; }

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

protected:
    void PreSubclassWindow() override;

    BOOL OnClickedOrDoubleClicked();
    LRESULT OnSetCheck(WPARAM check, LPARAM unused);
    LRESULT OnGetCheck(WPARAM unused, LPARAM unusedToo);
    void OnTimer(UINT_PTR id);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    static constexpr int kChecked = 255;

    void UncheckRestOfGroup();
    void DrawCaption(HDC dc, const RECT& item, const RECT& textArea, UINT itemState) const;

    int m_checkState = 0;
    COLORREF m_activeTextColor;
    COLORREF m_highlightTextColor;
    COLORREF m_highlightFillColor;
    BOOL m_active = FALSE;
    CBlinkTimer m_blink;
    CBrush m_highlightBrush;
    UINT m_buttonKind = 0;  // the style's low byte before the button was made owner-drawn
};
