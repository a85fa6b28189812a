#include "forms/CPasteGridCtrl.h"

#include "classlib/core/FormatText.h"
#include "classlib/win/AfxMessageBox.h"
#include "grid/GridClipText.h"
#include "link/IResourceManager.h"
#include "link/NumberChecks.h"

#include <windows.h>

#include <cstdlib>

namespace {

constexpr UINT kInvalidPasteText = 15162;
constexpr UINT kOutOfRangeText = 15037;
constexpr long kLowest = 0;
constexpr long kHighest = 100;

}  // namespace

CString CPasteGridCtrl::Text(UINT id, LPCSTR english) const {
    IResourceManager* resources = GetResourceManager();
    const CString text = resources != nullptr ? resources->GetString(id) : CString();
    return text.IsEmpty() ? CString(english) : text;
}

// Split exactly as the grid's own paste splits, so that the values checked are the values
// pasted.
CString CPasteGridCtrl::CheckPastedText(const CString& text) const {
    IResourceManager* resources = GetResourceManager();
    const DWORD languageId = resources != nullptr ? resources->GetLanguageId() : LOCALE_USER_DEFAULT;
    for (const GridClipLine& line : SplitGridClipText(text)) {
        for (const CString& value : line) {
            if (!IsValidNumberText(languageId, value)) {
                return FormatText(Text(kInvalidPasteText, "Attempt to paste an invalid element: %s."),
                                  value.GetString());
            }
            const long number = std::strtol(value, nullptr, 10);
            if (number < kLowest || number > kHighest) {
                return FormatText(Text(kOutOfRangeText, "Element out of range: %d."),
                                  static_cast<int>(number));
            }
        }
    }
    return CString();
}

BOOL CPasteGridCtrl::PasteText(int row, int col, const CString& text, BOOL selectPasted) {
    const CString problem = CheckPastedText(text);
    if (!problem.IsEmpty()) {
        AfxMessageBox(problem, MB_OK);
        return FALSE;
    }
    // The page takes the pasted cells together afterwards.
    m_pasteTellsPage = true;
    const BOOL pasted = CGridCtrl::PasteText(row, col, text, selectPasted);
    m_pasteTellsPage = false;
    SetFocusRowCol(row, col);
    if (m_pasteHandler) {
        m_pasteHandler();
    }
    return pasted;
}
