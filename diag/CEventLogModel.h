// The unit's event log as the event log page shows it: 41 known events, decoded from the
// record chain of element 43 on every live cycle, with the three-valued state that the page
// broadcasts and the order in which the page lists the events. No window code here.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

#include <functional>
#include <vector>

struct EventLogTime {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
};

// The engine's condition when an event of kind 1 occurred.
struct EventLogConditions {
    int rpm = 0;
    double injectionMs = 0.0;
    int temperature = 0;  // degrees C
};

struct EventLogRow {
    CString name;
    BYTE id = 0;
    int kind = 0;  // 0 plain event, 1 with engine conditions
    int counter = 0;
    bool extant = false;
    EventLogTime first;
    EventLogTime last;
    EventLogConditions firstAt;  // kind 1 only
    EventLogConditions lastAt;   // kind 1 only
    bool seen = false;           // during one decoding pass
};

// An event the grid lists: its row in table order and its position number (1, 2, ...)
// among the listed events in table order.
struct ShownEvent {
    int row;
    int position;
};

// Event-log states of the 0x604 broadcast.
constexpr int kEventLogEmpty = 1;     // no event recorded
constexpr int kEventLogRecorded = 2;  // events recorded, none present
constexpr int kEventLogPresent = 3;   // an event is present

class CEventLogModel {
public:
    static constexpr int kRowCount = 41;
    static constexpr int kLogBytes = 1024;
    static constexpr int kColumnCount = 6;

    // Loads the text of a string-table id.
    using TextLoader = std::function<CString(UINT)>;

    CEventLogModel();

    // (Re)loads the 41 names in the current language.
    void LoadNames(const TextLoader& load);

    // One pass over element 43's kLogBytes bytes; true when what the grid shows changed.
    bool Decode(const BYTE* log);
    // Every event back to "never occurred".
    void Clear();

    int GetState() const;

    // The events with a counter above 0, ordered by the sort key (1..6 ascending by
    // number, name, extant, counter, first time, last time; negative descending).
    std::vector<ShownEvent> ListShown(int sortKey) const;

    const EventLogRow& GetRow(int row) const { return m_rows[row]; }

    // The tip of a listed event's cell: tipFormat filled with the name and the first (column
    // 4) or last (column 5) occurrence; empty for other columns and for events of kind 0.
    static CString FormatTip(const CString& tipFormat, const EventLogRow& row, int column);

    // "%04d:%02d:%02d", as the grid and the running-time box show times.
    static CString FormatTime(const EventLogTime& time);

    // Elements 67 and 77: hours (2 bytes, little-endian), minutes, seconds.
    static EventLogTime ReadRunningTime(const BYTE* bytes);

private:
    // Index of the row of an event id, or -1.
    int FindRow(BYTE id) const;
    // Stores one record's fields; true when a stored field changed.
    bool StoreRecord(EventLogRow& row, const BYTE* record);
    int CompareRows(int first, int second, int column) const;

    std::vector<EventLogRow> m_rows;
    // Id to row: (id >> 4) selects the bucket.
    std::vector<std::vector<int>> m_buckets;
};
