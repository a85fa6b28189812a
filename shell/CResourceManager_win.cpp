// The resource and language manager: language modules, string lookup, the language setting
// in the registry and the C runtime locale.
#include "shell/CResourceManager.h"

#include "classlib/core/CNumberLocale.h"
#include "classlib/win/CRegistryKey.h"
#include "link/CLogger.h"
#include "link/RecentSettings.h"
#include "res/ResourceIds.h"
#include "shell/FormatConversions.h"

#include <windows.h>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <vector>

namespace {

constexpr int kLogResources = 3000;
const char kMissingText[] = "???";
const char kLanguageFolder[] = "Language";
const char kModulePattern[] = "*.lng";
const char kCatalogueFile[] = "firmware.xml";
const char kSettingsSection[] = "Settings";
const char kLanguageValue[] = "Language";
// Texts are read into a buffer of this many characters, so longer ones are cut to one less.
constexpr int kStringChars = 1024;
// A module's id is read into this many characters: at most 7 of them stay.
constexpr int kIdChars = 8;
constexpr int kNameChars = 512;
constexpr int kLocaleInfoChars = 127;
// The registry value is read into this many bytes; one more keeps a terminator after a
// value that fills them without its own.
constexpr DWORD kSettingBytes = 8;

// A file search, closed with its owner.
class CFileSearch {
public:
    explicit CFileSearch(LPCSTR pattern) : m_handle(FindFirstFileA(pattern, &m_data)) {}

    ~CFileSearch() {
        if (m_handle != INVALID_HANDLE_VALUE) {
            FindClose(m_handle);
        }
    }

    CFileSearch(const CFileSearch&) = delete;
    CFileSearch& operator=(const CFileSearch&) = delete;

    bool Found() const { return m_handle != INVALID_HANDLE_VALUE; }

    bool Next() { return FindNextFileA(m_handle, &m_data) != FALSE; }

    const WIN32_FIND_DATAA& Data() const { return m_data; }

private:
    WIN32_FIND_DATAA m_data = {};
    HANDLE m_handle;
};

CString LoadModuleText(HMODULE module, UINT id, int chars) {
    std::vector<char> buffer(static_cast<size_t>(chars), '\0');
    const int length = module != nullptr ? LoadStringA(module, id, buffer.data(), chars) : 0;
    return length > 0 ? CString(buffer.data(), length) : CString();
}

CString LocaleInfo(LCID locale, LCTYPE type) {
    char buffer[kLocaleInfoChars] = {};
    if (GetLocaleInfoA(locale, type, buffer, kLocaleInfoChars) == 0) {
        return CString();
    }
    return CString(buffer);
}

// "Language_Country.CodePage", for example "English_United States.1252".
CString LocaleName(LCID locale) {
    CString name = LocaleInfo(locale, LOCALE_SENGLANGUAGE);
    const CString country = LocaleInfo(locale, LOCALE_SENGCOUNTRY);
    if (!country.IsEmpty()) {
        name += "_" + country;
    }
    CString codePage = LocaleInfo(locale, LOCALE_IDEFAULTANSICODEPAGE);
    if (codePage.IsEmpty()) {
        codePage = LocaleInfo(locale, LOCALE_IDEFAULTCODEPAGE);
    }
    if (!codePage.IsEmpty()) {
        name += "." + codePage;
    }
    return name;
}

// The program's full file name; empty when it cannot be read.
CString ProgramPath() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        CLogger::Instance().Log(kLogResources, "CResourceManager: GetModuleFileName: %lu",
                                static_cast<unsigned long>(GetLastError()));
        return CString();
    }
    return CString(path, static_cast<int>(length));
}

// The folder of a file name with its last backslash; empty when there is none.
CString FolderOf(const CString& path) {
    return path.Left(path.ReverseFind('\\') + 1);
}

// A transparent image, so that a language without icon keeps the later icons at their indexes.
bool AddBlankImage(HIMAGELIST images) {
    int cx = 0;
    int cy = 0;
    if (!ImageList_GetIconSize(images, &cx, &cy)) {
        return false;
    }
    const size_t rowBytes = static_cast<size_t>((cx + 15) / 16 * 2);
    std::vector<BYTE> transparentMask(rowBytes * static_cast<size_t>(cy), 0xFF);
    std::vector<BYTE> noColour(rowBytes * static_cast<size_t>(cy), 0x00);
    HICON blank = CreateIcon(nullptr, cx, cy, 1, 1, transparentMask.data(), noColour.data());
    if (blank == nullptr) {
        return false;
    }
    const bool added = ImageList_AddIcon(images, blank) >= 0;
    DestroyIcon(blank);
    return added;
}

}  // namespace

LanguageRecord::~LanguageRecord() {
    if (icon != nullptr) {
        DestroyIcon(icon);
    }
    if (module != nullptr && ownsModule) {
        FreeLibrary(module);
    }
}

CResourceManager::CResourceManager() {
    m_languageMap.InitHashTable(17);
    LoadLanguages();
}

CResourceManager::~CResourceManager() {
    m_current = nullptr;
    m_currentModule = nullptr;
    m_languageMap.RemoveAll();
    m_languages.clear();
    m_obdTexts.RemoveAll();
    const XmlErrorCode written = m_catalogue.Write(m_cataloguePath);
    if (written != XmlErrorCode::None) {
        CLogger::Instance().Log(kLogResources, "CResourceManager: writing %s failed (%d).",
                                static_cast<LPCSTR>(m_cataloguePath), static_cast<int>(written));
    }
}

void CResourceManager::LoadLanguages() {
    m_programModule = GetModuleHandleA(nullptr);
    m_currentModule = m_programModule;
    m_currentId = LoadModuleText(m_programModule, IDS_LANGUAGE_ID, kIdChars);
    ApplyLocale();
    CString choice;
    if (!ReadLanguageSetting(choice)) {
        choice = m_currentId;
    }
    const CString programPath = ProgramPath();
    AddProgramLanguage(programPath);
    AddLanguageModules(FolderOf(programPath));
    SortLanguages();
    LanguageRecord* chosen = nullptr;
    if (m_languageMap.Lookup(choice, chosen) && chosen != nullptr) {
        SelectRecord(chosen);
    }
    LoadTextTables();
    m_cataloguePath = FolderOf(programPath) + kCatalogueFile;
    m_catalogue.Open(m_cataloguePath);
    WriteLanguageSetting(m_currentId);
}

void CResourceManager::AddProgramLanguage(LPCSTR programPath) {
    auto record = std::make_unique<LanguageRecord>();
    record->id = m_currentId;
    record->name = LoadModuleText(m_programModule, IDS_LANGUAGE_NAME, kNameChars);
    record->secondName = LoadModuleText(m_programModule, IDS_LANGUAGE_SECOND_NAME, kNameChars);
    record->module = m_programModule;
    record->icon = static_cast<HICON>(
        LoadImageA(m_programModule, MAKEINTRESOURCEA(IDI_LANGUAGE), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    m_current = record.get();
    AddRecord(std::move(record));
}

// Makes the "Language" folder the current directory (it stays so) and adds its modules.
void CResourceManager::AddLanguageModules(LPCSTR programFolder) {
    const CString folder = CString(programFolder) + kLanguageFolder;
    if (!SetCurrentDirectoryA(folder)) {
        return;
    }
    CFileSearch search(kModulePattern);
    for (bool found = search.Found(); found; found = search.Next()) {
        const WIN32_FIND_DATAA& data = search.Data();
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            continue;
        }
        AddLanguageModule(folder + "\\" + data.cFileName);
    }
}

// Modules are loaded as data files: no code of a file beside the program ever runs, and its
// strings, icons and tables still load.
void CResourceManager::AddLanguageModule(LPCSTR path) {
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        CLogger::Instance().Log(kLogResources, "CResourceManager: LoadLibraryEx(%s): %lu", path,
                                static_cast<unsigned long>(GetLastError()));
        return;
    }
    auto record = std::make_unique<LanguageRecord>();
    record->module = module;
    record->ownsModule = true;
    record->id = LoadModuleText(module, IDS_LANGUAGE_ID, kIdChars);
    record->name = LoadModuleText(module, IDS_LANGUAGE_NAME, kNameChars);
    record->secondName = LoadModuleText(module, IDS_LANGUAGE_SECOND_NAME, kNameChars);
    record->icon = static_cast<HICON>(
        LoadImageA(module, MAKEINTRESOURCEA(IDI_LANGUAGE), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    AddRecord(std::move(record));
}

// The later record of an id wins the map; both stay in the list.
void CResourceManager::AddRecord(std::unique_ptr<LanguageRecord> record) {
    m_languageMap[record->id] = record.get();
    m_languages.push_back(std::move(record));
}

// By name, byte by byte; records of equal names keep the order in which they were found.
void CResourceManager::SortLanguages() {
    std::stable_sort(m_languages.begin(), m_languages.end(),
                     [](const std::unique_ptr<LanguageRecord>& a, const std::unique_ptr<LanguageRecord>& b) {
                         return std::strcmp(a->name, b->name) < 0;
                     });
}

void CResourceManager::SelectRecord(LanguageRecord* record) {
    m_current = record;
    m_currentId = record->id;
    m_currentModule = record->module;
    ApplyLocale();
}

void CResourceManager::LoadTextTables() {
    m_obdTexts.LoadFromModule(m_currentModule);
}

bool CResourceManager::LoadModuleString(HMODULE module, UINT id, CString& text) const {
    text = LoadModuleText(module, id, kStringChars);
    return !text.IsEmpty();
}

void CResourceManager::GetString(UINT id, CString& text) const {
    CString own;
    const bool hasOwn = LoadModuleString(m_programModule, id, own);
    if (m_currentModule != m_programModule && LoadModuleString(m_currentModule, id, text)) {
        // A translation that asks for other arguments than the program's text would make the
        // caller's printf read the wrong types: the program's text is used instead.
        if (!hasOwn || HaveSameConversions(text, own)) {
            return;
        }
        CLogger::Instance().Log(kLogResources,
                                "CResourceManager: string %u of language %s has other conversions.", id,
                                static_cast<LPCSTR>(m_currentId));
    }
    text = hasOwn ? own : CString(kMissingText);
}

CString CResourceManager::GetString(UINT id) {
    CString text;
    GetString(id, text);
    return text == kMissingText ? CString() : text;
}

HICON CResourceManager::LoadIcon(UINT id, int cx, int cy) const {
    return static_cast<HICON>(
        LoadImageA(m_currentModule, MAKEINTRESOURCEA(id), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
}

LCID CResourceManager::GetLanguageId() const {
    return static_cast<LCID>(std::strtoul(m_currentId, nullptr, 10));
}

int CResourceManager::GetLanguageList(CStringArray& names, HIMAGELIST images) const {
    names.RemoveAll();
    for (const std::unique_ptr<LanguageRecord>& record : m_languages) {
        names.Add(record->name);
        if (images == nullptr) {
            continue;
        }
        const bool added = record->icon != nullptr && ImageList_AddIcon(images, record->icon) >= 0;
        if (!added && !AddBlankImage(images)) {
            CLogger::Instance().Log(kLogResources, "CResourceManager: no image for language %s.",
                                    static_cast<LPCSTR>(record->id));
        }
    }
    return static_cast<int>(m_languages.size());
}

int CResourceManager::GetLanguageIds(CStringArray& names, CUIntArray& ids) const {
    for (const std::unique_ptr<LanguageRecord>& record : m_languages) {
        names.Add(record->name);
        ids.Add(static_cast<UINT>(std::strtoul(record->id, nullptr, 10)));
    }
    return static_cast<int>(m_languages.size());
}

int CResourceManager::GetCurrentLanguageIndex() const {
    for (size_t i = 0; i < m_languages.size(); ++i) {
        if (m_languages[i].get() == m_current) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool CResourceManager::SelectLanguage(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_languages.size()) {
        return false;
    }
    LanguageRecord* record = m_languages[static_cast<size_t>(index)].get();
    if (std::strcmp(record->id, m_currentId) == 0) {
        return false;
    }
    SelectRecord(record);
    LoadTextTables();
    WriteLanguageSetting(m_currentId);
    return true;
}

bool CResourceManager::ReadLanguageSetting(CString& id) const {
    CString path;
    if (!GetSettingsKey(kSettingsSection, path)) {
        return false;
    }
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        CRegistryKey key;
        if (key.Open(root, path, KEY_READ) != ERROR_SUCCESS) {
            continue;
        }
        char buffer[kSettingBytes + 1] = {};
        DWORD bytes = kSettingBytes;
        DWORD type = 0;
        if (RegQueryValueExA(key.Get(), kLanguageValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                             &bytes) == ERROR_SUCCESS) {
            id = buffer;
            return true;
        }
    }
    return false;
}

bool CResourceManager::WriteLanguageSetting(LPCSTR id) const {
    CString path;
    CRegistryKey key;
    if (!GetSettingsKey(kSettingsSection, path)) {
        return false;
    }
    const LONG opened = key.Create(HKEY_CURRENT_USER, path, KEY_WRITE);
    const LONG result = opened != ERROR_SUCCESS ? opened : key.SetText(kLanguageValue, id);
    if (result != ERROR_SUCCESS) {
        CLogger::Instance().Log(kLogResources, "CResourceManager: writing the language setting: %ld",
                                static_cast<long>(result));
        return false;
    }
    return true;
}

// The number format of CString follows the C runtime's, so that both agree on the separator.
void CResourceManager::ApplyLocale() {
    const CString name = LocaleName(GetLanguageId());
    if (std::setlocale(LC_ALL, name) == nullptr) {
        CLogger::Instance().Log(kLogResources, "CResourceManager: setlocale(%s) failed.",
                                static_cast<LPCSTR>(name));
    }
    const std::lconv* conventions = std::localeconv();
    const char separator = conventions != nullptr && conventions->decimal_point != nullptr &&
                                   conventions->decimal_point[0] != '\0'
                               ? conventions->decimal_point[0]
                               : '.';
    CNumberLocale::SetDecimalSeparator(separator);
}

void CResourceManager::AddFirmwareDescriptions(int major,
                                               int minor,
                                               int build,
                                               int branch,
                                               const CMapStringToString& descriptions) {
    m_catalogue.AddFirmwareDescriptions(major, minor, build, branch, descriptions);
}

int CResourceManager::FindFirmwarePosition(int& searchStart,
                                           int major,
                                           int minor,
                                           int build,
                                           int branch,
                                           LPCSTR language) const {
    return m_catalogue.FindFirmwarePosition(searchStart, major, minor, build, branch, language);
}

void CResourceManager::GetVersionHistory(LPCSTR version, LPCSTR build, LPCSTR branch, CString& text) const {
    m_catalogue.GetVersionHistory(version, build, branch,
                                  CFirmwareCatalogue::IsoLanguageName(GetLanguageId()), text);
}
