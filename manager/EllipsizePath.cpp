#include "manager/EllipsizePath.h"

namespace {

CString Candidate(const CString& path, int dropped) {
    const int kept = path.GetLength() - dropped;
    const int head = kept / 2;
    return path.Left(head) + "..." + path.Right(kept - head);
}

}  // namespace

CString EllipsizePath(const CString& path, int width, const TextMeasure& measure) {
    if (measure(path) <= width) {
        return path;
    }
    int low = 0;
    int high = path.GetLength() - 2;
    if (high < 0) {
        return path;
    }
    while (high - low > 1) {
        const int middle = (low + high) / 2;
        const CString candidate = Candidate(path, middle);
        const int candidateWidth = measure(candidate);
        if (candidateWidth == width) {
            return candidate;
        }
        if (candidateWidth > width) {
            low = middle;
        } else {
            high = middle;
        }
    }
    return Candidate(path, high);
}
