#pragma once
// The three OBD text tables of the current language: trouble-code texts, OBD standard texts and
// OBD PID names. Each is filled from a MAP text table ("Map" resources 2002, 2003 and 2004 of the
// language's module) and looked up by exact, case-sensitive key. UI thread only.

#include "classlib/core/CMap.h"
#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

#include <cstddef>

class CObdTextTables {
public:
    static constexpr UINT kDtcMapId = 2002;
    static constexpr UINT kObdStandardMapId = 2003;
    static constexpr UINT kObdPidMapId = 2004;
    // Whole-key patterns; a line whose key does not match is dropped.
    static const char* const kDtcKeyPattern;
    static const char* const kObdKeyPattern;

    CObdTextTables();
    CObdTextTables(const CObdTextTables&) = delete;
    CObdTextTables& operator=(const CObdTextTables&) = delete;

    // Empty the table, then fill it from the MAP text (data may be null: the table stays empty).
    void LoadDtcTexts(const char* data, size_t size);
    void LoadObdStandardTexts(const char* data, size_t size);
    void LoadObdPidTexts(const char* data, size_t size);

    // Fills all three tables from the "Map" resources of a loaded module (a module handle; null,
    // or a module without such a resource, leaves the table empty). Windows only.
    void LoadFromModule(void* module);

    void RemoveAll();

    // True and the text when the key is in the table.
    bool LookupDtcText(LPCSTR key, CString& text) const { return m_dtcTexts.Lookup(key, text) != FALSE; }

    bool LookupObdStandardText(LPCSTR key, CString& text) const {
        return m_obdStandardTexts.Lookup(key, text) != FALSE;
    }

    bool LookupObdPidText(LPCSTR key, CString& text) const {
        return m_obdPidTexts.Lookup(key, text) != FALSE;
    }

    const CMapStringToString& DtcTexts() const { return m_dtcTexts; }

    const CMapStringToString& ObdStandardTexts() const { return m_obdStandardTexts; }

    const CMapStringToString& ObdPidTexts() const { return m_obdPidTexts; }

    // The common loader: empties target, then enters every entry with a text whose key matches
    // keyPattern as a whole; a later line with the same key replaces an earlier one. Throws
    // boost::regex_error when keyPattern is not a valid expression.
    static void LoadMapText(const char* data,
                            size_t size,
                            const char* keyPattern,
                            CMapStringToString& target);

private:
    CMapStringToString m_dtcTexts;
    CMapStringToString m_obdStandardTexts;
    CMapStringToString m_obdPidTexts;
};
