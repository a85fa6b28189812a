// The model of one firmware patch and its file (zfp): header words, one record per patched
// element (keyed by its id byte) and per-language descriptions. Portable; both programs use it.
#pragma once

#include "classlib/core/CArray.h"
#include "classlib/core/CMap.h"
#include "classlib/core/WinTypes.h"
#include "link/CDescriptionEntries.h"

#include <cstddef>
#include <map>
#include <vector>

struct PatchRecord {
    BYTE id = 0;
    BYTE flag = 0;  // only records flagged 1 are programmed
    BYTE length = 0;
    std::vector<BYTE> data;
};

class CFirmwarePatch {
public:
    static constexpr WORD kFormatWord = 0x0100;
    static constexpr std::size_t kMaxRecordBytes = 255;

    CFirmwarePatch();
    virtual ~CFirmwarePatch();
    CFirmwarePatch(const CFirmwarePatch&) = delete;
    CFirmwarePatch& operator=(const CFirmwarePatch&) = delete;

    // Frees every record and description; the header words keep their values.
    void Clear();

    // 1 when the file was read and adds its records and descriptions to the model, else 0.
    // `cause` is 0 unless opening or reading failed, then the file exception's cause.
    int Load(LPCSTR fileName, int& cause);
    // 1 when written. A model without records is not written and `cause` is left alone;
    // otherwise `cause` is 0 unless creating or writing failed. A failed write leaves any
    // file that was there as it was.
    int Save(LPCSTR fileName, int& cause) const;

    // The checks and reading of Load on the bytes of a whole file.
    bool LoadFromBytes(const BYTE* file, std::size_t size);
    // The bytes Save writes; false for a model without records, for a file that would exceed
    // the size limit, or when packing fails.
    bool SaveToBytes(std::vector<BYTE>& file) const;

    WORD GetFormat() const { return m_format; }

    WORD GetVersion() const { return m_version; }

    WORD GetBuild() const { return m_build; }

    WORD GetYear() const { return m_year; }

    BYTE GetMonth() const { return m_month; }

    BYTE GetDay() const { return m_day; }

    void SetVersion(WORD version) { m_version = version; }

    void SetBuild(WORD build) { m_build = build; }

    void SetDate(WORD year, BYTE month, BYTE day);

    // Adds or replaces the record of `id`; ids stay ascending. False (nothing changes) for
    // more than 255 bytes, which a record cannot hold.
    bool SetRecord(BYTE id, BYTE flag, const CByteArray& data);
    bool GetRecord(BYTE id, BYTE& flag, CByteArray& data) const;

    bool HasRecords() const { return !m_ids.empty(); }

    int GetRecordCount() const { return static_cast<int>(m_ids.size()); }

    // Iteration over the ids: GetNextRecordId gives an id and answers whether another
    // follows, so the last id comes with false; process the id before testing the result.
    void ResetRecordIterator() { m_iterator = 0; }

    bool GetNextRecordId(BYTE& id);

    void SetDescription(LPCSTR key, LPCSTR text);
    bool RemoveDescription(LPCSTR key);
    void GetDescriptions(CMapStringToString& descriptions) const;

private:
    bool TakePayload(const std::vector<BYTE>& block, const CDescriptionEntries::Entries& descriptions);
    std::vector<BYTE> BuildRecordBlock() const;

    WORD m_format;
    WORD m_version;
    WORD m_build;
    WORD m_year;
    BYTE m_month;
    BYTE m_day;
    CMapStringToString m_descriptions;
    std::vector<BYTE> m_ids;  // ascending, one per record
    std::map<BYTE, PatchRecord> m_records;
    std::size_t m_iterator;
};
