#include "forms/CRPButton.h"

#include "classlib/core/CString.h"
#include "classlib/win/CDC.h"
#include "classlib/win/CRect.h"
#include "forms/CMemoryDC.h"
#include "forms/IsWindowOfClass.h"

namespace {

constexpr UINT kCheckBoxKind = BS_AUTOCHECKBOX;  // 3: toggles itself
constexpr UINT kRadioKind = BS_AUTORADIOBUTTON;  // 9: selects itself
constexpr int kMaxGroupWalk = 256;               // a group never holds more controls

// A DC of a draw-item record, lent for one drawing.
class CItemDC : public CDC {
public:
    explicit CItemDC(HDC hdc) { Attach(hdc); }

    ~CItemDC() override { Detach(); }
};

}  // namespace

IMPLEMENT_DYNAMIC(CRPButton, CFocuslessButton)

BEGIN_MESSAGE_MAP(CRPButton, CFocuslessButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClickedOrDoubleClicked)
    ON_CONTROL_REFLECT_EX(BN_DOUBLECLICKED, OnClickedOrDoubleClicked)
    ON_MESSAGE(BM_SETCHECK, OnSetCheck)
    ON_MESSAGE(BM_GETCHECK, OnGetCheck)
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

CRPButton::CRPButton()
    : m_activeTextColor(::GetSysColor(COLOR_BTNTEXT)),
      m_highlightTextColor(::GetSysColor(COLOR_CAPTIONTEXT)),
      m_highlightFillColor(::GetSysColor(COLOR_ACTIVECAPTION)) {
    m_highlightBrush.CreateSolidBrush(m_highlightFillColor);
}

void CRPButton::PreSubclassWindow() {
    m_buttonKind = GetStyle() & 0xFF;
    SendMessage(BM_SETSTYLE, BS_OWNERDRAW, TRUE);
    CFocuslessButton::PreSubclassWindow();
}

BOOL CRPButton::Blink(BOOL on) {
    return m_blink.Blink(*this, on);
}

void CRPButton::SetHighlightColors(COLORREF textColor, COLORREF fillColor) {
    m_highlightTextColor = textColor;
    m_highlightFillColor = fillColor;
    m_highlightBrush.DeleteObject();
    m_highlightBrush.CreateSolidBrush(fillColor);
}

BOOL CRPButton::OnClickedOrDoubleClicked() {
    if (m_buttonKind == kCheckBoxKind) {
        m_checkState = kChecked - m_checkState;
        Invalidate();
    } else if (m_buttonKind == kRadioKind && m_checkState == 0) {
        m_checkState = kChecked;
        UncheckRestOfGroup();
        Invalidate();
    }
    return OnClicked();
}

void CRPButton::UncheckRestOfGroup() {
    const HWND parent = ::GetParent(m_hWnd);
    if (parent == nullptr) {
        return;
    }
    // The walk skips hidden and disabled controls and may never come back to this one.
    HWND item = m_hWnd;
    HWND first = nullptr;
    for (int step = 0; step < kMaxGroupWalk; ++step) {
        item = ::GetNextDlgGroupItem(parent, item, FALSE);
        if (item == nullptr || item == m_hWnd || item == first) {
            return;
        }
        if (first == nullptr) {
            first = item;
        }
        if (IsWindowOfClass(item, "Button")) {
            ::SendMessageA(item, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
}

LRESULT CRPButton::OnSetCheck(WPARAM check, LPARAM unused) {
    const int state = check != 0 ? kChecked : 0;
    if (state != m_checkState) {
        m_checkState = state;
        Invalidate();
    }
    return 0;
}

LRESULT CRPButton::OnGetCheck(WPARAM unused, LPARAM unusedToo) {
    return m_checkState != 0 ? BST_CHECKED : BST_UNCHECKED;
}

void CRPButton::OnTimer(UINT_PTR id) {
    m_blink.Flip(*this);
    CFocuslessButton::OnTimer(id);
}

void CRPButton::OnDestroy() {
    CFocuslessButton::OnDestroy();
    m_blink.Stop(*this);
}

void CRPButton::DrawCaption(HDC dc, const RECT& item, const RECT& textArea, UINT itemState) const {
    CString text;
    GetWindowText(text);
    SIZE extent = {};
    ::GetTextExtentPoint32A(dc, text.GetString(), text.GetLength(), &extent);
    const DWORD style = GetStyle();
    int x = 0;
    if ((style & BS_LEFT) != 0) {
        x = textArea.left;
    } else if ((style & BS_RIGHT) != 0) {
        x = textArea.right - extent.cx;
    } else {
        x = (item.right - item.left - extent.cx) / 2;
    }
    int y = 0;
    if ((style & BS_TOP) != 0) {
        y = textArea.top;
    } else if ((style & BS_BOTTOM) != 0) {
        y = textArea.bottom - extent.cy - 1;
    } else {
        y = (item.bottom - item.top - extent.cy) / 2 - 1;
    }
    if ((itemState & ODS_SELECTED) != 0) {
        ++x;
        ++y;
    }
    const UINT disabled = (itemState & ODS_DISABLED) != 0 ? DSS_DISABLED : DSS_NORMAL;
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColor =
        m_blink.IsHighlighted() ? ::SetTextColor(dc, m_highlightTextColor) : ::GetTextColor(dc);
    const LPARAM caption = reinterpret_cast<LPARAM>(text.GetString());
    ::DrawStateA(dc, nullptr, nullptr, caption, text.GetLength(), x, y, extent.cx, extent.cy,
                 DST_PREFIXTEXT | disabled);
    if (m_active) {
        ::SetTextColor(dc, m_activeTextColor);
        ::DrawStateA(dc, nullptr, nullptr, caption, text.GetLength(), x - 1, y - 1, extent.cx, extent.cy,
                     DST_PREFIXTEXT | disabled);
    }
    ::SetTextColor(dc, previousColor);
    ::SetBkMode(dc, previousMode);
}

void CRPButton::DrawItem(LPDRAWITEMSTRUCT drawItem) {
    CItemDC target(drawItem->hDC);
    const CRect item(drawItem->rcItem.left, drawItem->rcItem.top, drawItem->rcItem.right,
                     drawItem->rcItem.bottom);
    CMemoryDC dc(&target, item);
    // A button created outside a dialog may have no font; the DC's own one stays then.
    const HFONT font = GetFont();
    const HGDIOBJ previousFont = font != nullptr ? dc.SelectObject(font) : nullptr;
    UINT frameState = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
    if (m_checkState != 0) {
        frameState |= DFCS_CHECKED;
    }
    if ((drawItem->itemState & ODS_SELECTED) != 0) {
        frameState |= DFCS_PUSHED;
    }
    if ((drawItem->itemState & ODS_DISABLED) != 0) {
        frameState |= DFCS_INACTIVE;
    }
    CRect face = item;
    dc.DrawFrameControl(&face, DFC_BUTTON, frameState);
    if (m_blink.IsHighlighted()) {
        dc.FillRect(&face, &m_highlightBrush);
    }
    const CRect focus(face.left + 1, face.top + 1, face.right - 1, face.bottom - 1);
    const CRect textArea(focus.left + 1, focus.top, focus.right - 1, focus.bottom);
    DrawCaption(dc.GetSafeHdc(), item, textArea, drawItem->itemState);
    if (GetFocus() == this) {
        dc.DrawFocusRect(&focus);
    }
    if (previousFont != nullptr) {
        dc.SelectObject(previousFont);
    }
}
