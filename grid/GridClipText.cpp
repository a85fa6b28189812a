#include "grid/GridClipText.h"

#include "classlib/core/CNumberLocale.h"

namespace {

// The CR of a CR LF line end belongs to no field.
GridClipLine SplitLine(CString line) {
    GridClipLine fields;
    line.TrimRight("\r");
    CString whole = line;
    if (whole.Trim().IsEmpty()) {
        return fields;
    }
    // Where the comma is the decimal separator it belongs to the number: "1,5" is one field.
    const char* separators = CNumberLocale::GetDecimalSeparator() == ',' ? "\t" : "\t,";
    int start = 0;
    while (start < line.GetLength()) {
        const int next = line.Mid(start).FindOneOf(separators);
        const int end = next < 0 ? line.GetLength() : start + next;
        CString field = line.Mid(start, end - start);
        fields.push_back(field.Trim());
        if (next < 0) {
            break;
        }
        start = end + 1;
    }
    return fields;
}

}  // namespace

std::vector<GridClipLine> SplitGridClipText(const CString& text) {
    std::vector<GridClipLine> lines;
    int start = 0;
    while (start <= text.GetLength()) {
        int end = text.Find('\n', start);
        if (end < 0) {
            end = text.GetLength();
        }
        lines.push_back(SplitLine(text.Mid(start, end - start)));
        start = end + 1;
    }
    return lines;
}

CString JoinGridClipText(const std::vector<GridClipLine>& lines) {
    CString text;
    for (size_t row = 0; row < lines.size(); ++row) {
        if (row > 0) {
            text += "\r\n";
        }
        for (size_t col = 0; col < lines[row].size(); ++col) {
            if (col > 0) {
                text += "\t";
            }
            text += lines[row][col];
        }
    }
    return text;
}
