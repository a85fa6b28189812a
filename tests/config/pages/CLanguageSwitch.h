// A resource manager of its own for a page test that switches the language as the Language
// dialog does, with the German module that the build puts in the "Language" folder beside the
// test. It remembers its choice under a version of its own, so that no other test starts in the
// language it leaves, and it goes back to English (and its decimal point) at the end.
#pragma once

#include "link/RecentSettings.h"
#include "shell/CResourceManager.h"
#include "tests/config/pages/PageHost.h"
#include "tests/support/LanguageIndex.h"

#include <windows.h>

#include <memory>

class CLanguageSwitch {
public:
    CLanguageSwitch() {
        SetAppVersionSource(&Version);
        m_resources = std::make_unique<CResourceManager>();
    }

    ~CLanguageSwitch() {
        Select("English");
        SetAppVersionSource(&PageTestVersion);
    }

    CLanguageSwitch(const CLanguageSwitch&) = delete;
    CLanguageSwitch& operator=(const CLanguageSwitch&) = delete;

    CResourceManager& Resources() { return *m_resources; }

    // False when no language of that name lies beside the program.
    bool Select(const char* name) {
        const int index = LanguageIndex(*m_resources, name);
        return index >= 0 &&
               (index == m_resources->GetCurrentLanguageIndex() || m_resources->SelectLanguage(index));
    }

private:
    static void Version(int& major, int& minor) {
        major = 1;
        minor = 96;
    }

    std::unique_ptr<CResourceManager> m_resources;
};
