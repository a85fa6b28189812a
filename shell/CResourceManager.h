// The one source of the configurator's visible texts, in the language the user chose: the
// program's own English table, or a resource-only language module from the "Language" folder
// beside the program, with the program's table standing in for texts a module lacks. It also
// keeps the choice in the registry, sets the C runtime locale and the number format to match,
// and owns the OBD text tables and the firmware catalogue. One instance, a member of the main
// dialog. UI thread only.
#pragma once

#include "classlib/core/CArray.h"
#include "classlib/core/CMap.h"
#include "classlib/core/CString.h"
#include "link/ITextResources.h"
#include "shell/CFirmwareCatalogue.h"
#include "shell/CObdTextTables.h"

#include <windows.h>

#include <commctrl.h>
#include <memory>
#include <vector>

// One available language. Frees its module (unless it is the program itself) and its icon.
struct LanguageRecord {
    LanguageRecord() = default;
    ~LanguageRecord();
    LanguageRecord(const LanguageRecord&) = delete;
    LanguageRecord& operator=(const LanguageRecord&) = delete;

    CString id;  // decimal Windows language id, at most 7 characters
    CString name;
    CString secondName;
    HMODULE module = nullptr;
    bool ownsModule = false;
    HICON icon = nullptr;  // icon 2000 at the default size; null when the module has none
};

class CResourceManager : public ITextResources {
public:
    // Finds the languages, selects the remembered one and opens the catalogue.
    CResourceManager();
    // Frees the modules and writes the catalogue.
    ~CResourceManager() override;
    CResourceManager(const CResourceManager&) = delete;
    CResourceManager& operator=(const CResourceManager&) = delete;

    // The text of a string-table id in the current language; "???" when neither the
    // language's module nor the program has it. Texts are cut to 1023 characters.
    void GetString(UINT id, CString& text) const override;
    // The same for the data handler, which has English texts of its own: empty instead of "???".
    CString GetString(UINT id) override;

    // Icon id of the current language's module at cx by cy pixels; null when it has none.
    // The caller destroys the icon.
    HICON LoadIcon(UINT id, int cx, int cy) const;

    // The current language id as a number, for locale queries.
    LCID GetLanguageId() const override;
    // Replaces names by the languages' names in display order and appends their icons to
    // images in the same order (a blank image for a language without icon, so that indexes
    // stay in step); images may be null. Returns the number of languages.
    int GetLanguageList(CStringArray& names, HIMAGELIST images) const;
    // Appends every language's name and id in display order; returns the number of languages.
    int GetLanguageIds(CStringArray& names, CUIntArray& ids) const;
    // Index of the current language in display order; -1 when it is not in the list.
    int GetCurrentLanguageIndex() const;
    // Switches to the language at index; false when the index is out of range or names the
    // current language, and then nothing changes.
    bool SelectLanguage(int index);

    // The registry value "Language" of the program's "Settings" key: the user's, else the
    // machine's. Both report success.
    bool ReadLanguageSetting(CString& id) const;
    bool WriteLanguageSetting(LPCSTR id) const;
    // Sets the C runtime locale and the number format for the current language.
    void ApplyLocale();

    // OBD text tables of the current language.
    bool LookupDtcText(LPCSTR key, CString& text) const override { return m_obdTexts.LookupDtcText(key, text); }

    bool LookupObdStandardText(LPCSTR key, CString& text) const override {
        return m_obdTexts.LookupObdStandardText(key, text);
    }

    bool LookupObdPidText(LPCSTR key, CString& text) const override { return m_obdTexts.LookupObdPidText(key, text); }

    // Firmware catalogue "firmware.xml" beside the program.
    void AddFirmwareDescriptions(int major,
                                 int minor,
                                 int build,
                                 int branch,
                                 const CMapStringToString& descriptions) override;
    int FindFirmwarePosition(int& searchStart, int major, int minor, int build, int branch, LPCSTR language)
        const;
    // The history of one firmware version in the current language.
    void GetVersionHistory(LPCSTR version, LPCSTR build, LPCSTR branch, CString& text) const override;

private:
    void LoadLanguages();
    void AddProgramLanguage(LPCSTR programPath);
    void AddLanguageModules(LPCSTR folder);
    void AddLanguageModule(LPCSTR path);
    void AddRecord(std::unique_ptr<LanguageRecord> record);
    void SortLanguages();
    void SelectRecord(LanguageRecord* record);
    void LoadTextTables();
    bool LoadModuleString(HMODULE module, UINT id, CString& text) const;

    CString m_currentId;
    HMODULE m_currentModule = nullptr;    // owned by a record
    LanguageRecord* m_current = nullptr;  // not owned
    HMODULE m_programModule = nullptr;
    // Records owned here, in display order. A module that repeats an id takes the id's place
    // in the map, but its predecessor stays listed and owned.
    std::vector<std::unique_ptr<LanguageRecord>> m_languages;
    CMap<CString, LPCSTR, LanguageRecord*, LanguageRecord*> m_languageMap;  // records not owned
    CObdTextTables m_obdTexts;
    CFirmwareCatalogue m_catalogue;
    CString m_cataloguePath;
};
