#include "grid/GridFileLine.h"

std::vector<CString> SplitGridFileLine(const CString& line, char separator) {
    std::vector<CString> fields;
    const int length = line.GetLength();
    int start = 0;
    while (start < length) {
        int end = start;
        while (end < length && line[end] != separator && line[end] != '\n') {
            ++end;
        }
        fields.push_back(line.Mid(start, end - start));
        start = end + 1;
    }
    return fields;
}
