#include "grid/GridWidestLine.h"

#include "classlib/win/CDC.h"

#include <algorithm>

int GridWidestLine(CDC& dc, const CString& text) {
    int widest = 0;
    int start = 0;
    while (start <= text.GetLength()) {
        int end = text.Find('\n', start);
        if (end < 0) {
            end = text.GetLength();
        }
        const LPCSTR line = static_cast<LPCSTR>(text) + start;
        widest = std::max(widest, static_cast<int>(dc.GetTextExtent(line, end - start).cx));
        start = end + 1;
    }
    return widest;
}
