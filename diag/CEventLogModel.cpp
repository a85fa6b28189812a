#include "diag/CEventLogModel.h"

#include "classlib/core/FormatText.h"
#include "diag/UnitBytes.h"
#include "link/CLogger.h"

#include <algorithm>

namespace {

constexpr int kKindPlain = 0;
constexpr int kKindConditions = 1;

// Bytes after the length byte that a record of each kind needs: the id and its fields.
constexpr int kPlainRecordBytes = 11;
constexpr int kConditionsRecordBytes = 21;

constexpr int kLogBadRecord = 3500;

struct EventDefinition {
    BYTE id;
    int kind;
    UINT textId;
    int suffix;  // 0: the text is the name; -1: formatted with an empty suffix; n: with " #n"
};

// Row order is the default order of the grid.
constexpr EventDefinition kEvents[CEventLogModel::kRowCount] = {
    {27, kKindPlain, 15330, 0},      {26, kKindPlain, 15331, 0},      {29, kKindConditions, 15332, 0},
    {30, kKindConditions, 15333, 0}, {36, kKindConditions, 15334, 0}, {37, kKindConditions, 15335, 0},
    {38, kKindConditions, 15336, 0}, {39, kKindConditions, 15337, 0}, {33, kKindConditions, 15338, 0},
    {34, kKindConditions, 15339, 0}, {35, kKindConditions, 15340, 0}, {40, kKindConditions, 15341, 0},
    {41, kKindConditions, 15342, 0}, {31, kKindConditions, 15343, 0}, {32, kKindConditions, 15344, 0},
    {28, kKindConditions, 15345, 0}, {1, kKindPlain, 15346, 1},       {2, kKindPlain, 15346, 2},
    {3, kKindPlain, 15346, 3},       {4, kKindPlain, 15346, 4},       {5, kKindPlain, 15346, 5},
    {6, kKindPlain, 15346, 6},       {7, kKindPlain, 15346, 7},       {8, kKindPlain, 15346, 8},
    {9, kKindPlain, 15347, 1},       {10, kKindPlain, 15347, 2},      {11, kKindPlain, 15347, 3},
    {12, kKindPlain, 15347, 4},      {13, kKindPlain, 15347, 5},      {14, kKindPlain, 15347, 6},
    {15, kKindPlain, 15347, 7},      {16, kKindPlain, 15347, 8},      {17, kKindPlain, 15348, 1},
    {18, kKindPlain, 15348, 2},      {19, kKindPlain, 15348, 3},      {20, kKindPlain, 15348, 4},
    {21, kKindPlain, 15348, 5},      {22, kKindPlain, 15348, 6},      {23, kKindPlain, 15348, 7},
    {24, kKindPlain, 15348, 8},      {25, kKindPlain, 15348, -1},
};

// Hash map of ids to rows: the bucket of an id is (id >> 4) modulo the bucket count.
constexpr int kBucketCount = 10;

EventLogTime ReadTime(const BYTE* bytes) {
    EventLogTime time;
    time.hours = LittleEndianWord(bytes);
    time.minutes = bytes[2];
    time.seconds = bytes[3];
    return time;
}

EventLogConditions ReadConditions(const BYTE* bytes) {
    EventLogConditions conditions;
    conditions.rpm = LittleEndianWord(bytes);
    conditions.injectionMs = LittleEndianWord(bytes + 2) * 0.001;
    conditions.temperature = bytes[4];
    return conditions;
}

bool SameTime(const EventLogTime& a, const EventLogTime& b) {
    return a.hours == b.hours && a.minutes == b.minutes && a.seconds == b.seconds;
}

bool SameConditions(const EventLogConditions& a, const EventLogConditions& b) {
    return a.rpm == b.rpm && a.injectionMs == b.injectionMs && a.temperature == b.temperature;
}

// 64 bits: hours reach 65535, and a long has 32 bits on Windows.
long long TimeKey(const EventLogTime& time) {
    return (static_cast<long long>(time.hours) * 256 + time.minutes) * 256 + time.seconds;
}

template <typename T>
int CompareValues(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

CString FormatName(const CString& text, int suffix) {
    if (suffix == 0) {
        return text;
    }
    CString suffixText;
    if (suffix > 0) {
        suffixText.Format(" #%d", suffix);
    }
    return FormatText(text, static_cast<LPCSTR>(suffixText));
}

}  // namespace

CEventLogModel::CEventLogModel() : m_buckets(kBucketCount) {
    m_rows.resize(kRowCount);
    for (int i = 0; i < kRowCount; ++i) {
        m_rows[i].id = kEvents[i].id;
        m_rows[i].kind = kEvents[i].kind;
        m_buckets[(kEvents[i].id >> 4) % kBucketCount].push_back(i);
    }
}

void CEventLogModel::LoadNames(const TextLoader& load) {
    for (int i = 0; i < kRowCount; ++i) {
        m_rows[i].name = FormatName(load(kEvents[i].textId), kEvents[i].suffix);
    }
}

int CEventLogModel::FindRow(BYTE id) const {
    for (const int row : m_buckets[(id >> 4) % kBucketCount]) {
        if (m_rows[row].id == id) {
            return row;
        }
    }
    return -1;
}

bool CEventLogModel::StoreRecord(EventLogRow& row, const BYTE* record) {
    const EventLogRow before = row;
    row.first = ReadTime(record + 1);
    if (row.kind == kKindConditions) {
        row.firstAt = ReadConditions(record + 5);
        row.counter = LittleEndianWord(record + 10);
        row.last = ReadTime(record + 12);
        row.lastAt = ReadConditions(record + 16);
    } else {
        row.counter = LittleEndianWord(record + 5);
        row.last = ReadTime(record + 7);
    }
    return before.counter != row.counter || !SameTime(before.first, row.first) ||
           !SameTime(before.last, row.last) || !SameConditions(before.firstAt, row.firstAt) ||
           !SameConditions(before.lastAt, row.lastAt);
}

bool CEventLogModel::Decode(const BYTE* log) {
    for (EventLogRow& row : m_rows) {
        row.seen = false;
    }
    bool changed = false;
    int offset = 0;
    while (offset < kLogBytes && log[offset] != 0) {
        const int length = log[offset];
        // A record that would pass the end of the element ends the chain.
        if (offset + 1 + length > kLogBytes) {
            CLogger::Instance().Log(
                kLogBadRecord, "CEventLogModel::Decode(): record at %d passes the end of the log.", offset);
            break;
        }
        const BYTE* record = log + offset + 1;
        const int index = FindRow(record[0]);
        offset += 1 + length;
        if (index < 0) {
            continue;
        }
        EventLogRow& row = m_rows[index];
        const int needed = row.kind == kKindConditions ? kConditionsRecordBytes : kPlainRecordBytes;
        if (length < needed) {
            CLogger::Instance().Log(kLogBadRecord,
                                    "CEventLogModel::Decode(): record of event %d too short (%d bytes).",
                                    row.id, length);
            continue;
        }
        row.seen = true;
        // A first sighting is shown as not present until the next cycle confirms it.
        if (row.counter < 1) {
            changed = true;
        } else {
            changed = changed || !row.extant;
            row.extant = true;
        }
        changed = StoreRecord(row, record) || changed;
    }
    for (EventLogRow& row : m_rows) {
        if (!row.seen && row.extant) {
            row.extant = false;
            changed = true;
        }
    }
    return changed;
}

void CEventLogModel::Clear() {
    for (EventLogRow& row : m_rows) {
        row.counter = 0;
        row.extant = false;
    }
}

int CEventLogModel::GetState() const {
    const bool present =
        std::any_of(m_rows.begin(), m_rows.end(), [](const EventLogRow& r) { return r.extant; });
    if (present) {
        return kEventLogPresent;
    }
    const bool recorded =
        std::any_of(m_rows.begin(), m_rows.end(), [](const EventLogRow& r) { return r.counter > 0; });
    return recorded ? kEventLogRecorded : kEventLogEmpty;
}

int CEventLogModel::CompareRows(int first, int second, int column) const {
    const EventLogRow& a = m_rows[first];
    const EventLogRow& b = m_rows[second];
    switch (column) {
    case 2:
        return a.name.Compare(b.name);
    case 3:
        return CompareValues(a.extant, b.extant);
    case 4:
        return CompareValues(a.counter, b.counter);
    case 5:
        return CompareValues(TimeKey(a.first), TimeKey(b.first));
    case 6:
        return CompareValues(TimeKey(a.last), TimeKey(b.last));
    default:
        return CompareValues(first, second);
    }
}

std::vector<ShownEvent> CEventLogModel::ListShown(int sortKey) const {
    std::vector<ShownEvent> shown;
    for (int i = 0; i < kRowCount; ++i) {
        if (m_rows[i].counter > 0) {
            shown.push_back({i, static_cast<int>(shown.size()) + 1});
        }
    }
    const int column = sortKey < 0 ? -sortKey : sortKey;
    const int direction = sortKey < 0 ? -1 : 1;
    // Equal keys keep table order, so that the list does not jump between cycles.
    std::stable_sort(shown.begin(), shown.end(), [&](const ShownEvent& a, const ShownEvent& b) {
        return direction * CompareRows(a.row, b.row, column) < 0;
    });
    return shown;
}

CString CEventLogModel::FormatTime(const EventLogTime& time) {
    CString text;
    text.Format("%04d:%02d:%02d", time.hours, time.minutes, time.seconds);
    return text;
}

CString CEventLogModel::FormatTip(const CString& tipFormat, const EventLogRow& row, int column) {
    if (row.kind != kKindConditions || (column != 4 && column != 5)) {
        return CString();
    }
    const EventLogTime& time = column == 4 ? row.first : row.last;
    const EventLogConditions& at = column == 4 ? row.firstAt : row.lastAt;
    return FormatText(tipFormat, static_cast<LPCSTR>(row.name), time.hours, time.minutes, time.seconds,
                      at.rpm, at.injectionMs, at.temperature);
}

EventLogTime CEventLogModel::ReadRunningTime(const BYTE* bytes) {
    return ReadTime(bytes);
}
