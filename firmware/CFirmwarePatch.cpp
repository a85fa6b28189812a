// Patch model and the reading and writing of patch files.
#include "firmware/CFirmwarePatch.h"

#include "link/CDescriptionEntries.h"
#include "link/CFileFrame.h"
#include "link/CPackedPayload.h"
#include "link/CWholeFile.h"

#include <algorithm>

namespace {

// Layout of a patch file; the rest is the common frame.
constexpr std::size_t kLengthOffset = 21;
constexpr std::size_t kFormatOffset = 25;
constexpr std::size_t kVersionOffset = 27;
constexpr std::size_t kBuildOffset = 29;
constexpr std::size_t kYearOffset = 31;
constexpr std::size_t kMonthOffset = 33;
constexpr std::size_t kDayOffset = 34;
constexpr std::size_t kUnpackedSizeOffset = 35;
constexpr std::size_t kPackedOffset = kUnpackedSizeOffset + CPackedPayload::kStatedSizeBytes;
constexpr std::size_t kHeaderAndCrcBytes = kPackedOffset + CFileFrame::kCrcBytes;
constexpr std::size_t kRecordHeadBytes = 3;  // id, flag, length

const CFileFrame& PatchFrame() {
    static const CFileFrame frame("ZYLMor_Firmware_Patch", kLengthOffset, kHeaderAndCrcBytes,
                                  CFileFrame::kMaxFirmwareFileBytes);
    return frame;
}

// Reads the record block of a payload; false when a record runs past the block.
bool ReadRecords(const std::vector<BYTE>& block, std::vector<PatchRecord>& records) {
    std::size_t offset = 0;
    while (offset < block.size()) {
        if (block.size() - offset < kRecordHeadBytes) {
            return false;
        }
        PatchRecord record;
        record.id = block[offset];
        record.flag = block[offset + 1];
        record.length = block[offset + 2];
        offset += kRecordHeadBytes;
        if (block.size() - offset < record.length) {
            return false;
        }
        record.data.assign(block.begin() + offset, block.begin() + offset + record.length);
        offset += record.length;
        records.push_back(std::move(record));
    }
    return true;
}

}  // namespace

CFirmwarePatch::CFirmwarePatch()
    : m_format(kFormatWord), m_version(0), m_build(0), m_year(0), m_month(0), m_day(0), m_iterator(0) {}

CFirmwarePatch::~CFirmwarePatch() {
    Clear();
}

void CFirmwarePatch::Clear() {
    m_records.clear();
    m_ids.clear();
    m_descriptions.RemoveAll();
    m_iterator = 0;
}

void CFirmwarePatch::SetDate(WORD year, BYTE month, BYTE day) {
    m_year = year;
    m_month = month;
    m_day = day;
}

int CFirmwarePatch::Load(LPCSTR fileName, int& cause) {
    return CWholeFile::Load(fileName, PatchFrame(), cause,
                            [this](const BYTE* file, std::size_t size) { return LoadFromBytes(file, size); });
}

bool CFirmwarePatch::LoadFromBytes(const BYTE* file, std::size_t size) {
    if (!PatchFrame().IsIntact(file, size)) {
        return false;
    }
    m_format = CFileFrame::ReadWord(file + kFormatOffset);
    if (m_format != kFormatWord) {
        return false;
    }
    m_version = CFileFrame::ReadWord(file + kVersionOffset);
    m_build = CFileFrame::ReadWord(file + kBuildOffset);
    SetDate(CFileFrame::ReadWord(file + kYearOffset), file[kMonthOffset], file[kDayOffset]);
    std::vector<BYTE> block;
    CDescriptionEntries::Entries descriptions;
    if (!CPackedPayload::Read(file + kPackedOffset, size - kHeaderAndCrcBytes,
                              CFileFrame::ReadDword(file + kUnpackedSizeOffset), block, descriptions)) {
        return false;
    }
    return TakePayload(block, descriptions);
}

// Nothing reaches the model unless the whole payload is consistent. An id named twice keeps
// its later record once, and the ids end up ascending whatever order the file had.
bool CFirmwarePatch::TakePayload(const std::vector<BYTE>& block,
                                 const CDescriptionEntries::Entries& descriptions) {
    std::vector<PatchRecord> records;
    if (!ReadRecords(block, records)) {
        return false;
    }
    for (PatchRecord& record : records) {
        const BYTE id = record.id;
        if (m_records.find(id) == m_records.end()) {
            m_ids.push_back(id);
        }
        m_records[id] = std::move(record);
    }
    std::sort(m_ids.begin(), m_ids.end());
    CDescriptionEntries::Store(descriptions, m_descriptions);
    return true;
}

std::vector<BYTE> CFirmwarePatch::BuildRecordBlock() const {
    std::vector<BYTE> block;
    for (const BYTE id : m_ids) {
        const PatchRecord& record = m_records.at(id);
        block.push_back(record.id);
        block.push_back(record.flag);
        block.push_back(record.length);
        block.insert(block.end(), record.data.begin(), record.data.end());
    }
    return block;
}

bool CFirmwarePatch::SaveToBytes(std::vector<BYTE>& file) const {
    if (m_ids.empty()) {
        return false;
    }
    const CFileFrame& frame = PatchFrame();
    std::vector<BYTE> built = frame.Begin();
    CFileFrame::AppendWord(built, m_format);
    CFileFrame::AppendWord(built, m_version);
    CFileFrame::AppendWord(built, m_build);
    CFileFrame::AppendWord(built, m_year);
    built.push_back(m_month);
    built.push_back(m_day);
    if (!CPackedPayload::Append(BuildRecordBlock(), m_descriptions, built) ||
        !frame.FinishWithinSize(built)) {
        return false;
    }
    file.swap(built);
    return true;
}

int CFirmwarePatch::Save(LPCSTR fileName, int& cause) const {
    if (m_ids.empty()) {
        return 0;
    }
    return CWholeFile::Save(fileName, cause, [this](std::vector<BYTE>& file) { return SaveToBytes(file); });
}

bool CFirmwarePatch::SetRecord(BYTE id, BYTE flag, const CByteArray& data) {
    if (static_cast<std::size_t>(data.GetSize()) > kMaxRecordBytes) {
        return false;
    }
    PatchRecord record;
    record.id = id;
    record.flag = flag;
    record.length = static_cast<BYTE>(data.GetSize());
    record.data.assign(data.GetData(), data.GetData() + data.GetSize());
    const auto place = std::lower_bound(m_ids.begin(), m_ids.end(), id);
    if (place == m_ids.end() || *place != id) {
        m_ids.insert(place, id);
    }
    m_records[id] = std::move(record);
    return true;
}

bool CFirmwarePatch::GetRecord(BYTE id, BYTE& flag, CByteArray& data) const {
    const auto found = m_records.find(id);
    if (found == m_records.end()) {
        return false;
    }
    flag = found->second.flag;
    data.RemoveAll();
    for (const BYTE b : found->second.data) {
        data.Add(b);
    }
    return true;
}

bool CFirmwarePatch::GetNextRecordId(BYTE& id) {
    if (m_iterator >= m_ids.size()) {
        return false;
    }
    id = m_ids[m_iterator++];
    return m_iterator < m_ids.size();
}

void CFirmwarePatch::SetDescription(LPCSTR key, LPCSTR text) {
    m_descriptions.SetAt(key, text);
}

bool CFirmwarePatch::RemoveDescription(LPCSTR key) {
    return m_descriptions.RemoveKey(key) != FALSE;
}

void CFirmwarePatch::GetDescriptions(CMapStringToString& descriptions) const {
    CDescriptionEntries::Copy(m_descriptions, descriptions);
}
