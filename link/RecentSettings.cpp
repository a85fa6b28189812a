// Registry key names of the remembered folders and files.
#include "link/RecentSettings.h"

#include <atomic>

namespace {

const char kRegistryRoot[] = "Software\\ZYLMOR\\Merivan";

std::atomic<AppVersionSource> g_versionSource{nullptr};

}  // namespace

void SetAppVersionSource(AppVersionSource source) {
    g_versionSource = source;
}

CString FormatSettingsKey(int major, int minor, LPCSTR section) {
    CString key;
    key.Format("%s\\v%d.%02d\\%s", kRegistryRoot, major, minor, section);
    return key;
}

bool GetSettingsKey(LPCSTR section, CString& key) {
    const AppVersionSource source = g_versionSource;
    if (source == nullptr) {
        return false;
    }
    int major = 0;
    int minor = 0;
    source(major, minor);
    key = FormatSettingsKey(major, minor, section);
    return true;
}
