// Printing the grid: a header line, the fixed rows and columns repeated on every page, the
// body split into bands of rows (and of columns when printing what the screen shows), and a
// footer with the page number and the date.
#include "classlib/core/CTime.h"
#include "classlib/win/AfxGetAppName.h"
#include "classlib/win/CDC.h"
#include "classlib/win/CPen.h"
#include "classlib/win/CPrintInfo.h"
#include "classlib/win/CScopedSelect.h"
#include "grid/CGridCellBase.h"
#include "grid/CGridCtrl.h"
#include "grid/GridPrintBands.h"

#include <windows.h>

#include <algorithm>
#include <commdlg.h>
#include <memory>

namespace {

// The probe has 53 characters (the alphabet twice with an extra "A"), divided by 52 as the
// printed layout has always been measured.
constexpr char kWidthProbe[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ";
constexpr int kWidthProbeDivisor = 52;

// A bold copy of a font, selected for one scope.
class CScopedBoldFont {
public:
    CScopedBoldFont(CDC* dc, CFont* font) {
        LOGFONTA logFont = {};
        if (font == nullptr || GetObjectA(font->GetSafeHandle(), sizeof(logFont), &logFont) == 0) {
            return;
        }
        logFont.lfWeight = FW_BOLD;
        if (m_font.CreateFontIndirect(&logFont)) {
            m_select = std::make_unique<CScopedSelect>(*dc, m_font);
        }
    }

private:
    CFont m_font;
    std::unique_ptr<CScopedSelect> m_select;
};

CString NearestParentTitle(const CWnd* wnd) {
    for (HWND parent = ::GetParent(wnd->GetSafeHwnd()); parent != nullptr; parent = ::GetParent(parent)) {
        char title[256] = {};
        if (GetWindowTextA(parent, title, sizeof(title)) > 0) {
            return CString(title);
        }
    }
    return CString();
}

}  // namespace

void CGridCtrl::SetPrintMargins(int header, int footer, int gap, int left, int right, int top, int bottom) {
    const auto keep = [](int value, int& field) {
        if (value >= 0) {
            field = value;
        }
    };
    keep(header, m_headerHeight);
    keep(footer, m_footerHeight);
    keep(gap, m_gapHeight);
    keep(left, m_leftMargin);
    keep(right, m_rightMargin);
    keep(top, m_topMargin);
    keep(bottom, m_bottomMargin);
}

void CGridCtrl::GetPrintMargins(int& header,
                                int& footer,
                                int& gap,
                                int& left,
                                int& right,
                                int& top,
                                int& bottom) const {
    header = m_headerHeight;
    footer = m_footerHeight;
    gap = m_gapHeight;
    left = m_leftMargin;
    right = m_rightMargin;
    top = m_topMargin;
    bottom = m_bottomMargin;
}

std::vector<int> CGridCtrl::BodyRowHeights() const {
    std::vector<int> heights;
    for (int row = GetFixedRowCount(); row < GetRowCount(); ++row) {
        heights.push_back(GetRowHeight(row));
    }
    return heights;
}

std::vector<int> CGridCtrl::BodyColumnWidths() const {
    std::vector<int> widths;
    for (int col = GetFixedColumnCount(); col < GetColumnCount(); ++col) {
        widths.push_back(GetColumnWidth(col));
    }
    return widths;
}

void CGridCtrl::Print(CDC* printerDC) {
    CDC owned;
    CDC* dc = printerDC;
    if (dc == nullptr) {
        PRINTDLGA dialog = {};
        dialog.lStructSize = sizeof(dialog);
        dialog.hwndOwner = m_hWnd;
        dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
        const BOOL chosen = PrintDlgA(&dialog);
        if (dialog.hDevMode != nullptr) {
            GlobalFree(dialog.hDevMode);
        }
        if (dialog.hDevNames != nullptr) {
            GlobalFree(dialog.hDevNames);
        }
        if (!chosen || dialog.hDC == nullptr || !owned.Attach(dialog.hDC)) {
            return;
        }
        dc = &owned;
    }
    dc->SetPrinting(TRUE);
    CString name = AfxGetAppName();
    if (name.IsEmpty()) {
        name = NearestParentTitle(this);
    }
    DOCINFOA document = {};
    document.cbSize = sizeof(document);
    document.lpszDocName = name;
    if (StartDocA(dc->GetSafeHdc(), &document) <= 0) {
        return;
    }
    CPrintInfo info;
    info.m_rectDraw = CRect(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
    OnBeginPrinting(dc, &info);
    bool printing = true;
    for (UINT page = info.GetMinPage(); page <= info.GetMaxPage() && printing; ++page) {
        StartPage(dc->GetSafeHdc());
        info.m_nCurPage = page;
        OnPrint(dc, &info);
        printing = EndPage(dc->GetSafeHdc()) > 0;
    }
    OnEndPrinting(dc, &info);
    if (printing) {
        EndDoc(dc->GetSafeHdc());
    } else {
        AbortDoc(dc->GetSafeHdc());
    }
}

void CGridCtrl::OnBeginPrinting(CDC* dc, CPrintInfo* info) {
    if (dc == nullptr || info == nullptr) {
        return;
    }
    HDC screen = ::GetDC(m_hWnd);
    if (screen == nullptr) {
        return;
    }
    const int screenPpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const int screenPpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(m_hWnd, screen);
    const int printerPpiX = dc->GetDeviceCaps(LOGPIXELSX);
    const int printerPpiY = dc->GetDeviceCaps(LOGPIXELSY);

    LOGFONTA logFont = {};
    logFont.lfHeight = -10;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfOutPrecision = OUT_CHARACTER_PRECIS;
    logFont.lfClipPrecision = CLIP_CHARACTER_PRECIS;
    lstrcpynA(logFont.lfFaceName, "Arial", LF_FACESIZE);
    m_printerFont = std::make_unique<CFont>();
    if (!m_printerFont->CreateFontIndirect(&logFont)) {
        m_printerFont.reset();
        return;
    }
    CScopedSelect font(*dc, *m_printerFont);
    m_charSize = dc->GetTextExtent(kWidthProbe, lstrlenA(kWidthProbe));
    m_charSize.cx /= kWidthProbeDivisor;
    const int marginWidth = (m_leftMargin + m_rightMargin) * m_charSize.cx;

    m_paperSize = CSize(dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
    if (m_wysiwygPrinting && printerPpiX > 0 && printerPpiY > 0) {
        m_logicalPageSize = CSize(m_paperSize.cx * screenPpiX / printerPpiX * 3 / 4,
                                  m_paperSize.cy * screenPpiY / printerPpiY * 3 / 4);
    } else {
        const int width = GetVirtualWidth() + marginWidth;
        m_logicalPageSize = CSize(width, MulDiv(width, m_paperSize.cy, std::max(1L, m_paperSize.cx)));
    }
    m_pageHeight = m_logicalPageSize.cy -
                   (m_headerHeight + m_footerHeight + 2 * m_gapHeight) * m_charSize.cy - GetFixedRowHeight();
    const int pagesDown = CountPrintBands(BodyRowHeights(), m_pageHeight);
    m_pageWidth = m_logicalPageSize.cx - GetFixedColumnWidth() - marginWidth;
    m_pagesAcross = m_wysiwygPrinting ? CountPrintBands(BodyColumnWidths(), m_pageWidth) : 1;
    m_pageCount = pagesDown * m_pagesAcross;
    info->SetMaxPage(static_cast<UINT>(m_pageCount));
    info->m_nCurPage = 1;
}

// Every path restores the DC, so the font and the mapping never outlive the page; every page
// gets its footer.
void CGridCtrl::OnPrint(CDC* dc, CPrintInfo* info) {
    if (dc == nullptr || info == nullptr || m_printerFont == nullptr) {
        return;
    }
    const int savedState = dc->SaveDC();
    dc->SelectObject(m_printerFont.get());
    dc->SetMapMode(MM_ANISOTROPIC);
    dc->SetWindowExt(m_logicalPageSize.cx, m_logicalPageSize.cy);
    dc->SetViewportExt(m_paperSize.cx, m_paperSize.cy);
    const int left = -m_leftMargin * m_charSize.cx;
    const int printWidth = m_logicalPageSize.cx - (m_leftMargin + m_rightMargin) * m_charSize.cx;
    dc->SetWindowOrg(left, 0);
    info->m_rectDraw = CRect(0, 0, printWidth, m_headerHeight * m_charSize.cy);
    PrintHeader(dc, info);

    dc->SetWindowOrg(left, -((m_headerHeight + m_gapHeight) * m_charSize.cy + GetFixedRowHeight()));
    const int page = static_cast<int>(info->m_nCurPage);
    const int across = std::max(1, m_pagesAcross);
    const int band = page / across + (page % across != 0 ? 1 : 0);
    const int acrossIndex = (page - 1) % across;
    m_printRow = GetFixedRowCount() + PrintBandStart(BodyRowHeights(), m_pageHeight, band - 1);
    m_printCol = GetFixedColumnCount() +
                 (m_wysiwygPrinting ? PrintBandStart(BodyColumnWidths(), m_pageWidth, acrossIndex) : 0);
    PrintFixedColumns(dc, info);
    PrintFixedRows(dc, info);
    PrintBody(dc);

    dc->SetWindowOrg(left, -(m_logicalPageSize.cy - m_footerHeight * m_charSize.cy));
    info->m_rectDraw = CRect(0, 0, printWidth, m_footerHeight * m_charSize.cy);
    PrintFooter(dc, info);
    dc->RestoreDC(savedState);
}

void CGridCtrl::OnEndPrinting(CDC* dc, CPrintInfo* info) {
    m_printerFont.reset();
}

void CGridCtrl::PrintLine(CDC* dc, int x1, int y1, int x2, int y2) {
    dc->MoveTo(x1, y1);
    dc->LineTo(x2, y2);
}

void CGridCtrl::PrintRowCells(int firstCol, int endCol, int row, CRect& rect, CDC* dc, BOOL& firstColumn) {
    const bool horizontal = m_gridLines == GRID_LINES_HORZ || m_gridLines == GRID_LINES_BOTH;
    const bool vertical = m_gridLines == GRID_LINES_VERT || m_gridLines == GRID_LINES_BOTH;
    const int limit = m_pageWidth + GetFixedColumnWidth();
    for (int col = firstCol; col <= endCol; ++col) {
        const int left = rect.right + 1;
        const int right = left + GetColumnWidth(col) - 1;
        // A column wider than the page still prints, clipped, when it starts the run.
        if (right > limit && !(col == m_printCol && left == GetFixedColumnWidth())) {
            return;
        }
        rect.left = left;
        rect.right = right;
        CGridCellBase* cell = GetCell(row, col);
        if (cell != nullptr && GetColumnWidth(col) > 0) {
            cell->PrintCell(dc, row, col, rect);
        }
        if (horizontal) {
            PrintLine(dc, rect.left - 1, rect.bottom, rect.right, rect.bottom);
            if (row == 0) {
                PrintLine(dc, rect.left - 1, rect.top - 1, rect.right, rect.top - 1);
            }
        }
        if (vertical) {
            PrintLine(dc, rect.right, rect.top - 1, rect.right, rect.bottom);
            if (firstColumn) {
                PrintLine(dc, rect.left - 1, rect.top - 1, rect.left - 1, rect.bottom);
                firstColumn = FALSE;
            }
        }
    }
}

void CGridCtrl::PrintFixedColumns(CDC* dc, CPrintInfo* info) {
    int bottom = -1;
    for (int row = m_printRow; row < GetRowCount(); ++row) {
        const int height = GetRowHeight(row);
        if (bottom + height > m_pageHeight && row != m_printRow) {
            break;
        }
        CRect rect(0, bottom + 1, -1, bottom + height);
        BOOL firstColumn = TRUE;
        PrintRowCells(0, GetFixedColumnCount() - 1, row, rect, dc, firstColumn);
        bottom += height;
    }
}

void CGridCtrl::PrintFixedRows(CDC* dc, CPrintInfo* info) {
    int bottom = -GetFixedRowHeight() - 1;
    for (int row = 0; row < GetFixedRowCount(); ++row) {
        const int height = GetRowHeight(row);
        CRect rect(0, bottom + 1, -1, bottom + height);
        BOOL firstColumn = TRUE;
        PrintRowCells(0, GetFixedColumnCount() - 1, row, rect, dc, firstColumn);
        PrintRowCells(m_printCol, GetColumnCount() - 1, row, rect, dc, firstColumn);
        bottom += height;
    }
}

// At least the band's first row prints, clipped when it is taller than the page.
void CGridCtrl::PrintBody(CDC* dc) {
    int bottom = -1;
    for (int row = m_printRow; row < GetRowCount(); ++row) {
        const int height = GetRowHeight(row);
        if (bottom + height > m_pageHeight && row != m_printRow) {
            break;
        }
        CRect rect(0, bottom + 1, GetFixedColumnWidth() - 1, bottom + height);
        BOOL firstColumn = GetFixedColumnCount() == 0 ? TRUE : FALSE;
        PrintRowCells(m_printCol, GetColumnCount() - 1, row, rect, dc, firstColumn);
        bottom += height;
    }
}

void CGridCtrl::PrintHeader(CDC* dc, CPrintInfo* info) {
    CRect rect = info->m_rectDraw;
    {
        CScopedBoldFont bold(dc, m_printerFont.get());
        dc->SetBkMode(TRANSPARENT);
        const UINT flags = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
        dc->DrawText(NearestParentTitle(this), rect, DT_CENTER | flags);
        dc->DrawText(CString(AfxGetAppName()), rect, DT_RIGHT | flags);
    }
    CPen pen;
    if (pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0))) {
        CScopedSelect select(*dc, pen);
        PrintLine(dc, rect.left, rect.bottom, rect.right, rect.bottom);
    }
}

void CGridCtrl::PrintFooter(CDC* dc, CPrintInfo* info) {
    CRect rect = info->m_rectDraw;
    CPen pen;
    if (pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0))) {
        CScopedSelect select(*dc, pen);
        PrintLine(dc, rect.left, rect.top, rect.right, rect.top);
    }
    CScopedBoldFont bold(dc, m_printerFont.get());
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(0, 0, 0));
    CString page;
    page.Format("Page %d of %d", static_cast<int>(info->m_nCurPage), m_pageCount);
    const UINT flags = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    dc->DrawText(page, rect, DT_LEFT | flags);
    dc->DrawText(CTime::GetCurrentTime().Format("%c"), rect, DT_RIGHT | flags);
}
