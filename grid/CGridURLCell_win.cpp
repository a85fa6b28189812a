#include "grid/CGridURLCell.h"

#include "grid/CGridCtrl.h"
#include "grid/GridCellShapes.h"

#include <windows.h>

#include <shellapi.h>

IMPLEMENT_DYNCREATE(CGridURLCell, CGridCell)

namespace {

HCURSOR g_linkCursor = nullptr;

void OpenWithShell(LPCSTR link) {
    ShellExecuteA(nullptr, "open", link, nullptr, nullptr, SW_SHOW);
}

CGridURLCell::LinkOpener g_opener = OpenWithShell;

}  // namespace

CGridURLCell::CGridURLCell() : m_linkColour(GetSysColor(COLOR_HIGHLIGHT)) {
    LoadLinkCursor();
}

// The hand of the help program when it can be had; where that module cannot be loaded
// (64-bit systems, Wine) the system's own hand serves, so the pointer never vanishes.
void CGridURLCell::LoadLinkCursor() {
    if (g_linkCursor != nullptr) {
        return;
    }
    char folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        CString path(folder);
        path += "\\winhlp32.exe";
        HMODULE module = LoadLibraryA(path);
        if (module != nullptr) {
            HCURSOR hand = LoadCursorA(module, MAKEINTRESOURCEA(106));
            if (hand != nullptr) {
                g_linkCursor = CopyCursor(hand);
            }
            FreeLibrary(module);
        }
    }
    if (g_linkCursor == nullptr) {
        g_linkCursor = LoadCursor(nullptr, IDC_HAND);
    }
}

HCURSOR CGridURLCell::GetLinkCursor() {
    return g_linkCursor;
}

void CGridURLCell::SetLinkOpener(LinkOpener opener) {
    g_opener = opener != nullptr ? opener : OpenWithShell;
}

BOOL CGridURLCell::HasLink(LPCSTR text) {
    return GridTextHasLink(text) ? TRUE : FALSE;
}

BOOL CGridURLCell::OverLink(CPoint point, CString& link) {
    const int width = GetTextExtent(GetText()).cx;
    return GridLinkWordAt(GetText(), GetFormat(), width, m_rect.left, m_rect.right, point.x, link) ? TRUE
                                                                                                   : FALSE;
}

BOOL CGridURLCell::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground) {
    if (HasLink(GetText())) {
        SetTextColour(m_linkColour);
    }
    m_rect = rect;
    return CGridCell::Draw(dc, row, col, rect, eraseBackground);
}

BOOL CGridURLCell::OnSetCursor() {
    CGridCtrl* grid = GetGrid();
    if (grid != nullptr && grid->GetSafeHwnd() != nullptr) {
        const DWORD position = GetMessagePos();
        POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
        ScreenToClient(grid->GetSafeHwnd(), &point);
        CString link;
        if (OverLink(CPoint(point.x - m_rect.left, point.y - m_rect.top), link)) {
            SetCursor(g_linkCursor);
            return TRUE;
        }
    }
    return CGridCell::OnSetCursor();
}

void CGridURLCell::OnClick(CPoint pointCellRelative) {
    CString link;
    if (m_launchOnClick && OverLink(pointCellRelative, link)) {
        g_opener(link);
    }
}
