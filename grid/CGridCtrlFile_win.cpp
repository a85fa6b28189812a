// Saving the grid's texts as separated text and loading them back.
#include "classlib/core/CExceptionGuard.h"
#include "classlib/core/CFileException.h"
#include "classlib/core/CStdioFile.h"
#include "classlib/win/AfxMessageBox.h"
#include "grid/CGridCtrl.h"
#include "grid/GridFileLine.h"

#include <windows.h>

namespace {

constexpr char kSaveFailedText[] = "Unable to save grid list";
constexpr char kLoadFailedText[] = "Unable to load grid data";

}  // namespace

BOOL CGridCtrl::SaveToFile(LPCSTR fileName, char separator) {
    CStdioFile file;
    CFileException error;
    if (!file.Open(fileName, CFile::modeCreate | CFile::modeWrite | CFile::typeText, &error)) {
        error.ReportError();
        return FALSE;
    }
    const char separatorText[2] = {separator, '\0'};
    try {
        for (int row = 0; row < GetRowCount(); ++row) {
            CString line;
            for (int col = 0; col < GetColumnCount(); ++col) {
                if (col > 0) {
                    line += separatorText;
                }
                line += GetCellText(row, col);
            }
            line += "\n";
            file.WriteString(line);
        }
        file.Close();
    } catch (CException* caught) {
        CExceptionGuard guard(caught);
        AfxMessageBox(kSaveFailedText);
        return FALSE;
    }
    return TRUE;
}

// Whole lines are read, however long, so that a long line never becomes several rows.
BOOL CGridCtrl::LoadFromFile(LPCSTR fileName, char separator) {
    if (m_virtualMode) {
        return FALSE;
    }
    CStdioFile file;
    CFileException error;
    if (!file.Open(fileName, CFile::modeRead | CFile::typeText, &error)) {
        error.ReportError();
        return FALSE;
    }
    DeleteAllItems();
    try {
        CString line;
        bool header = true;
        while (file.ReadString(line)) {
            const std::vector<CString> fields = SplitGridFileLine(line, separator);
            if (header) {
                for (const CString& field : fields) {
                    InsertColumn(field);
                }
                header = false;
                continue;
            }
            const int row = InsertRow(fields.empty() ? "" : static_cast<LPCSTR>(fields[0]));
            for (size_t i = 1; i < fields.size(); ++i) {
                SetCellText(row, static_cast<int>(i), fields[i]);
            }
        }
    } catch (CException* caught) {
        CExceptionGuard guard(caught);
        AfxMessageBox(kLoadFailedText);
        return FALSE;
    }
    FitAllColumns(m_fitStyle);
    return TRUE;
}
