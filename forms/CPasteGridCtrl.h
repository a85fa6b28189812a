// A table grid that checks pasted text as a whole before any cell changes: every value must
// be a whole number from 0 to 100. The first bad value is reported and nothing is pasted;
// after a good paste the page takes the new values into its table.
#pragma once

#include "forms/CLiveMarkerGridCtrl.h"

#include <functional>

class CPasteGridCtrl : public CLiveMarkerGridCtrl {
public:
    CPasteGridCtrl() = default;

    // Called right after a good paste; the page reads the selected cells into its table.
    void SetPasteHandler(std::function<void()> handler) { m_pasteHandler = std::move(handler); }

    BOOL PasteText(int row, int col, const CString& text, BOOL selectPasted = TRUE) override;

    // The first bad value's message, or empty when every value passes.
    CString CheckPastedText(const CString& text) const;

private:
    CString Text(UINT id, LPCSTR english) const;

    std::function<void()> m_pasteHandler;
};
