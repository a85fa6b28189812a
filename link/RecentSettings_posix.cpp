// The portable build has no registry: nothing is remembered, and every read finds nothing.
#include "link/RecentSettings.h"

bool ReadDirectorySetting(LPCSTR, CString&) {
    return false;
}

bool WriteDirectorySetting(LPCSTR, LPCSTR) {
    return false;
}

bool ReadRecentFileSetting(LPCSTR, CString&) {
    return false;
}

bool WriteRecentFileSetting(LPCSTR, LPCSTR) {
    return false;
}

void PruneRecentFiles() {}
