#include "config/FormatRangeMessage.h"

CString FormatRangeMessage(const CString& pattern,
                           const CString& value,
                           const CString& low,
                           const CString& high) {
    CString shape;
    CString message;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    shape.Format(pattern, "%s", '(', "%s", "%s", ')');
    message.Format(shape, value.GetString(), low.GetString(), high.GetString());
#pragma GCC diagnostic pop
    return message;
}
