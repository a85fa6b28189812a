// A resource manager of its own for a page test that switches the language as the Language
// dialog does, with the German module of the build tree in the "Language" folder beside the
// test. It remembers its choice under a version of its own, so that no other test starts in the
// language it leaves, and it goes back to English (and its decimal point) at the end.
#pragma once

#include "link/RecentSettings.h"
#include "shell/CResourceManager.h"
#include "tests/config/pages/PageHost.h"
#include "tests/support/TestTrees.h"

#include <windows.h>

#include <memory>
#include <string>

class CLanguageSwitch {
public:
    CLanguageSwitch() {
        PlaceGermanModule();
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
        CStringArray names;
        const int count = m_resources->GetLanguageList(names, nullptr);
        for (int i = 0; i < count; ++i) {
            if (names[i] == name) {
                return i == m_resources->GetCurrentLanguageIndex() || m_resources->SelectLanguage(i);
            }
        }
        return false;
    }

private:
    static void PlaceGermanModule() {
        std::string built = std::string("Z:") + BuildTree() + "/Language/deutsch.lng";
        for (char& c : built) {
            c = c == '/' ? '\\' : c;
        }
        char program[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, program, sizeof(program));
        std::string folder(program);
        folder = folder.substr(0, folder.rfind('\\') + 1) + "Language";
        CreateDirectoryA(folder.c_str(), nullptr);
        CopyFileA(built.c_str(), (folder + "\\deutsch.lng").c_str(), FALSE);
    }

    static void Version(int& major, int& minor) {
        major = 1;
        minor = 96;
    }

    std::unique_ptr<CResourceManager> m_resources;
};
