#include "shell/PatchRecordChecks.h"

namespace PatchRecordChecks {

bool IsRecordSupported(const std::vector<BYTE>& bitmap, BYTE id) {
    if (id == 0) {
        return false;
    }
    const unsigned index = static_cast<unsigned>(id) - 1;
    const unsigned byte = index / 8;
    if (byte >= bitmap.size()) {
        return false;
    }
    return (bitmap[byte] >> (7 - index % 8) & 1) != 0;
}

CString FormatUnsupportedIds(LPCSTR text, const std::vector<BYTE>& ids) {
    CString message(text);
    for (size_t i = 0; i < ids.size(); ++i) {
        CString id;
        id.Format(i == 0 ? "%02X" : ", %02X", ids[i]);
        message += id;
    }
    return message;
}

std::array<BYTE, 4> VersionRecord(WORD version, WORD build) {
    return {static_cast<BYTE>(version >> 8), static_cast<BYTE>(version & 0xFF), static_cast<BYTE>(build >> 8),
            static_cast<BYTE>(build & 0xFF)};
}

std::array<BYTE, 4> DateRecord(WORD year, BYTE month, BYTE day) {
    return {static_cast<BYTE>(year & 0xFF), static_cast<BYTE>(year >> 8), month, day};
}

}  // namespace PatchRecordChecks
