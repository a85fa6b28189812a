// Writing and reading configuration files.
#include "link/CConfigFile.h"

#include "link/CFileFrame.h"

#include <cstring>

namespace {

constexpr std::size_t kVersionOffset = 18;
constexpr std::size_t kLengthOffset = 19;
constexpr std::size_t kMinorOffset = 23;
constexpr std::size_t kMajorOffset = 24;
constexpr std::size_t kRecordsOffset = 25;
constexpr std::size_t kRecordHeadBytes = 4;  // element id, data length
constexpr std::size_t kMeasurementBytes = 12;
constexpr std::size_t kTableBytes = 1024;
constexpr std::size_t kTableIdBytes = 2;
// The four table banks, in the order they are written; each id is also the element that
// holds the table in the image.
constexpr WORD kTableIds[] = {80, 82, 84, 86};

const CFileFrame& ConfigFrame() {
    static const CFileFrame frame("ZYLMor_Config_File", kLengthOffset, CConfigFile::kEmptyFileBytes - 1,
                                  CConfigFile::kMaxFileBytes);
    return frame;
}

void AppendLong(std::vector<BYTE>& file, LONG value) {
    CFileFrame::AppendDword(file, static_cast<DWORD>(value));
}

LONG ReadLong(const BYTE* at) {
    return static_cast<LONG>(CFileFrame::ReadDword(at));
}

}  // namespace

CConfigFile::CConfigFile(const ConfigElement* elements) : m_elements(elements), m_droppedMeasurements(0) {}

void CConfigFile::AppendRecord(std::vector<BYTE>& file, int id, const BYTE* data, int length) const {
    CFileFrame::AppendWord(file, static_cast<WORD>(id));
    CFileFrame::AppendWord(file, static_cast<WORD>(length));
    file.insert(file.end(), data, data + length);
}

std::size_t CConfigFile::TableBytes(const ConfigSource& source) const {
    std::size_t count = 0;
    for (const WORD id : kTableIds) {
        if (source.tablesFromImage || (source.tables && source.tables->count(id) != 0)) {
            ++count;
        }
    }
    return count * (kRecordHeadBytes + kTableIdBytes + kTableBytes);
}

void CConfigFile::AppendTables(const ConfigSource& source, std::vector<BYTE>& file) const {
    for (const WORD id : kTableIds) {
        std::vector<BYTE> record;
        CFileFrame::AppendWord(record, id);
        if (source.tablesFromImage) {
            const BYTE* table = source.image + m_elements[id].offset;
            record.insert(record.end(), table, table + kTableBytes);
        } else if (source.tables && source.tables->count(id) != 0 &&
                   source.tables->at(id).size() == kTableBytes) {
            const std::vector<BYTE>& table = source.tables->at(id);
            record.insert(record.end(), table.begin(), table.end());
        } else {
            continue;
        }
        AppendRecord(file, kTableElement, record.data(), static_cast<int>(record.size()));
    }
}

// Records go in element order, one pass over the ids. The measurements are the only records
// without a bound of their own; they are cut so that the file stays loadable.
int CConfigFile::Serialize(const ConfigSource& source, std::vector<BYTE>& file) {
    const CFileFrame& frame = ConfigFrame();
    std::vector<BYTE> built = frame.Begin();
    built[kVersionOffset] = static_cast<BYTE>((source.randomBits << 4) | (source.formatVersion & 0x0F));
    built.push_back(source.programMinor);
    built.push_back(source.programMajor);
    std::size_t settingsBytes = 0;
    for (int id = 0; id < kElementCount; ++id) {
        if (m_elements[id].access == kAccessSetting) {
            settingsBytes += kRecordHeadBytes + m_elements[id].length;
        }
    }
    const std::size_t fixedBytes = kEmptyFileBytes + settingsBytes + TableBytes(source);
    const std::size_t room = fixedBytes < kMaxFileBytes ? kMaxFileBytes - fixedBytes : 0;
    const std::size_t maxMeasurements = room / (kRecordHeadBytes + kMeasurementBytes);
    const std::size_t measurementCount = source.measurements ? source.measurements->size() : 0;
    m_droppedMeasurements =
        measurementCount > maxMeasurements ? static_cast<int>(measurementCount - maxMeasurements) : 0;
    for (int id = 0; id < kElementCount; ++id) {
        const ConfigElement& element = m_elements[id];
        if (element.access == kAccessSetting) {
            AppendRecord(built, id, source.image + element.offset, element.length);
        } else if (id == kMeasurementElement) {
            for (std::size_t i = 0; i < measurementCount && i < maxMeasurements; ++i) {
                const ConfigMeasurement& measurement = (*source.measurements)[i];
                std::vector<BYTE> record;
                AppendLong(record, measurement.rpm);
                AppendLong(record, measurement.injectionUs);
                AppendLong(record, measurement.value);
                AppendRecord(built, id, record.data(), static_cast<int>(record.size()));
            }
        } else if (id == kTableElement) {
            AppendTables(source, built);
        }
    }
    frame.Finish(built);
    file.swap(built);
    return source.formatVersion == kFormatVersion ? static_cast<int>(file.size()) : -1;
}

int CConfigFile::Parse(const BYTE* file,
                       std::size_t length,
                       BYTE programMajor,
                       BYTE programMinor,
                       ConfigTarget& target) const {
    const CFileFrame& frame = ConfigFrame();
    if (!frame.HasMagic(file, length)) {
        return kBadMagic;
    }
    if (length <= kVersionOffset || (file[kVersionOffset] & 0x0F) != kFormatVersion) {
        return kBadFormatVersion;
    }
    if (!frame.FitsSize(length) || !frame.HasMatchingLength(file, length)) {
        return kBadLength;
    }
    if (!frame.HasMatchingCrc(file, length)) {
        return kBadCrc;
    }
    if (file[kMajorOffset] != programMajor) {
        return kOtherMajor;
    }
    if (file[kMinorOffset] > programMinor) {
        return kNewerMinor;
    }
    // A record whose data would run into the checksum ends the records.
    const std::size_t recordsEnd = length - CFileFrame::kCrcBytes;
    std::size_t offset = kRecordsOffset;
    while (recordsEnd - offset >= kRecordHeadBytes) {
        const int id = CFileFrame::ReadWord(file + offset);
        const int dataLength = CFileFrame::ReadWord(file + offset + 2);
        offset += kRecordHeadBytes;
        if (recordsEnd - offset < static_cast<std::size_t>(dataLength)) {
            break;
        }
        if (id < kElementCount && dataLength == m_elements[id].length) {
            TakeRecord(id, file + offset, dataLength, target);
        }
        offset += dataLength;
    }
    return file[kMinorOffset] < programMinor ? kOlderMinor : kSameVersion;
}

void CConfigFile::TakeRecord(int id, const BYTE* data, int length, ConfigTarget& target) const {
    const ConfigElement& element = m_elements[id];
    if (element.access == kAccessSetting) {
        if (element.offset >= 0 && element.offset + length <= kImageBytes) {
            std::memcpy(target.image + element.offset, data, length);
        }
        return;
    }
    if (id == kMeasurementElement && length == static_cast<int>(kMeasurementBytes) && target.measurements) {
        target.measurements->push_back({ReadLong(data), ReadLong(data + 4), ReadLong(data + 8)});
        return;
    }
    if (id == kTableElement && length > static_cast<int>(kTableIdBytes) && target.tables) {
        (*target.tables)[CFileFrame::ReadWord(data)].assign(data + kTableIdBytes, data + length);
    }
}
