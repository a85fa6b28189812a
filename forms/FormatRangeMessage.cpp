#include "forms/FormatRangeMessage.h"

#include "classlib/core/FormatText.h"

CString FormatRangeMessage(const CString& pattern,
                           const CString& value,
                           const CString& low,
                           const CString& high) {
    const CString shape = FormatText(pattern, "%s", '(', "%s", "%s", ')');
    return FormatText(shape, value.GetString(), low.GetString(), high.GetString());
}
