// Filling the OBD text tables from MAP text tables and looking texts up.
#include "shell/CObdTextTables.h"

#include "shell/MemoryLineReader.h"

#include <boost/regex.hpp>

namespace {

// Entries are allocated in blocks of this many.
constexpr INT_PTR kMapBlockSize = 10;

}  // namespace

// "|" inside the brackets also admits a literal "|" as first character; the tables never hold one.
const char* const CObdTextTables::kDtcKeyPattern = "[P|B|C|U][0-3]\\d{3}";
const char* const CObdTextTables::kObdKeyPattern = "[\\da-fA-F]{2}";

CObdTextTables::CObdTextTables()
    : m_dtcTexts(kMapBlockSize), m_obdStandardTexts(kMapBlockSize), m_obdPidTexts(kMapBlockSize) {}

void CObdTextTables::LoadMapText(const char* data,
                                 size_t size,
                                 const char* keyPattern,
                                 CMapStringToString& target) {
    target.RemoveAll();
    const boost::regex pattern(keyPattern);
    MemoryLineReader reader(data, size);
    CString key;
    CString text;
    while (reader.ReadLine(key, text)) {
        if (text.IsEmpty()) {
            continue;
        }
        if (boost::regex_match(key.GetString(), pattern)) {
            target.SetAt(key, text);
        }
    }
}

void CObdTextTables::LoadDtcTexts(const char* data, size_t size) {
    LoadMapText(data, size, kDtcKeyPattern, m_dtcTexts);
}

void CObdTextTables::LoadObdStandardTexts(const char* data, size_t size) {
    LoadMapText(data, size, kObdKeyPattern, m_obdStandardTexts);
}

void CObdTextTables::LoadObdPidTexts(const char* data, size_t size) {
    LoadMapText(data, size, kObdKeyPattern, m_obdPidTexts);
}

void CObdTextTables::RemoveAll() {
    m_dtcTexts.RemoveAll();
    m_obdStandardTexts.RemoveAll();
    m_obdPidTexts.RemoveAll();
}
