#include "grid/CGridCell.h"

#include "grid/CGridCtrl.h"
#include "grid/CInPlaceEdit.h"

#include <windows.h>

IMPLEMENT_DYNCREATE(CGridCell, CGridCellBase)

CGridCell::CGridCell() {
    Reset();
}

CGridCell::~CGridCell() = default;

void CGridCell::Reset() {
    CGridCellBase::Reset();
    m_text.Empty();
    m_image = -1;
    m_data = 0;
    m_grid = nullptr;
    m_editing = false;
    m_editWnd = nullptr;
    m_format = GRID_FORMAT_DEFAULT;
    m_margin = GRID_MARGIN_DEFAULT;
    m_textColour = GRID_COLOUR_DEFAULT;
    m_backColour = GRID_COLOUR_DEFAULT;
    m_font.reset();
}

void CGridCell::SetFont(const LOGFONTA* logFont) {
    if (logFont == nullptr) {
        m_font.reset();
        return;
    }
    if (m_font == nullptr) {
        m_font = std::make_unique<LOGFONTA>();
    }
    *m_font = *logFont;
}

DWORD CGridCell::GetFormat() const {
    if (m_format != GRID_FORMAT_DEFAULT) {
        return m_format;
    }
    const CGridCellBase* defaultCell = GetDefaultCell();
    return defaultCell == nullptr || defaultCell == this ? 0 : defaultCell->GetFormat();
}

UINT CGridCell::GetMargin() const {
    if (m_margin != GRID_MARGIN_DEFAULT) {
        return m_margin;
    }
    const CGridCellBase* defaultCell = GetDefaultCell();
    return defaultCell == nullptr || defaultCell == this ? 0 : defaultCell->GetMargin();
}

const LOGFONTA* CGridCell::GetFont() const {
    if (m_font != nullptr) {
        return m_font.get();
    }
    const CGridCellBase* defaultCell = GetDefaultCell();
    return defaultCell == nullptr || defaultCell == this ? nullptr : defaultCell->GetFont();
}

// Cells with a font of their own share the grid's font cache, so the object stays valid
// for as long as the grid lives, also while another cell draws.
CFont* CGridCell::GetFontObject() const {
    if (m_font != nullptr) {
        return m_grid == nullptr ? nullptr : m_grid->GetFontCache().GetFont(m_font.get());
    }
    const CGridCellBase* defaultCell = GetDefaultCell();
    return defaultCell == nullptr || defaultCell == this ? nullptr : defaultCell->GetFontObject();
}

CWnd* CGridCell::GetEditWindow() const {
    return m_editWnd;
}

BOOL CGridCell::Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT character) {
    if (m_editing && m_editWnd != nullptr) {
        m_editWnd->SendMessage(WM_CHAR, character);
        return TRUE;
    }
    const DWORD format = GetFormat();
    DWORD style = ES_LEFT;
    if ((format & DT_RIGHT) != 0) {
        style = ES_RIGHT;
    } else if ((format & DT_CENTER) != 0) {
        style = ES_CENTER;
    }
    CInPlaceEdit* editor = CInPlaceEdit::Open(m_grid, rect, style, id, row, col, GetText(), character);
    SetEditor(editor);
    return editor != nullptr ? TRUE : FALSE;
}

void CGridCell::EndEdit() {
    CInPlaceEdit* editor = dynamic_cast<CInPlaceEdit*>(m_editWnd);
    if (editor != nullptr) {
        editor->EndEdit();
    }
}

void CGridCell::OnEndEdit() {
    m_editing = false;
    m_editWnd = nullptr;
}
