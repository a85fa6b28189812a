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

#include <functional>
#include <memory>

class CLanguageSwitch {
public:
    CLanguageSwitch() {
        SetAppVersionSource(&Version);
        m_resources = std::make_unique<CResourceManager>();
    }

    ~CLanguageSwitch() {
        if (m_giveBack) {
            m_giveBack();
        }
        Select("English");
        SetAppVersionSource(&PageTestVersion);
    }

    CLanguageSwitch(const CLanguageSwitch&) = delete;
    CLanguageSwitch& operator=(const CLanguageSwitch&) = delete;

    CResourceManager& Resources() { return *m_resources; }

    // Gives the page this resource manager until the switch goes, and then `own` again, so
    // that a page outliving the switch never keeps it.
    template <typename Page>
    void LendTo(Page& page, CResourceManager& own) {
        page.SetResourceManager(m_resources.get());
        m_giveBack = [&page, &own] { page.SetResourceManager(&own); };
    }

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
    std::function<void()> m_giveBack;
};
