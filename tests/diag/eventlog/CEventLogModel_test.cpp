// The event log model: decoding element 43's record chain, the state it broadcasts, the
// order of the listed events and the tips, on logs built byte by byte.
#include "diag/CEventLogModel.h"

#include "diag/TableSortKey.h"

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Log = std::array<BYTE, CEventLogModel::kLogBytes>;

// Rows in table order of some events used below.
constexpr int kSelfTestRow = 0;      // id 27, kind 0
constexpr int kLowPressureRow = 2;   // id 29, kind 1
constexpr int kHighPressureRow = 3;  // id 30, kind 1
constexpr int kNoPetrol3Row = 18;    // id 3, kind 0

struct Time {
    int hours;
    int minutes;
    int seconds;
};

// Appends records to a log; the rest of the log stays 0, which ends the chain.
class LogBuilder {
public:
    LogBuilder() { m_log.fill(0); }

    LogBuilder& Plain(BYTE id, Time first, int counter, Time last) {
        Start(11, id);
        PutTime(first);
        PutWord(counter);
        PutTime(last);
        return *this;
    }

    LogBuilder& WithConditions(BYTE id,
                               Time first,
                               int counter,
                               Time last,
                               int rpm = 800,
                               int injectionUs = 2500,
                               int temperature = 90) {
        Start(21, id);
        PutTime(first);
        PutConditions(rpm, injectionUs, temperature);
        PutWord(counter);
        PutTime(last);
        PutConditions(rpm + 1000, injectionUs + 500, temperature + 1);
        return *this;
    }

    // A record with its own length byte and raw bytes after it.
    LogBuilder& Raw(std::vector<BYTE> bytes) {
        for (BYTE b : bytes) {
            m_log[m_at++] = b;
        }
        return *this;
    }

    LogBuilder& At(int offset) {
        m_at = offset;
        return *this;
    }

    const BYTE* Bytes() const { return m_log.data(); }

private:
    void Start(BYTE length, BYTE id) {
        m_log[m_at++] = length;
        m_log[m_at++] = id;
    }

    void PutWord(int value) {
        m_log[m_at++] = static_cast<BYTE>(value);
        m_log[m_at++] = static_cast<BYTE>(value >> 8);
    }

    void PutTime(Time time) {
        PutWord(time.hours);
        m_log[m_at++] = static_cast<BYTE>(time.minutes);
        m_log[m_at++] = static_cast<BYTE>(time.seconds);
    }

    void PutConditions(int rpm, int injectionUs, int temperature) {
        PutWord(rpm);
        PutWord(injectionUs);
        m_log[m_at++] = static_cast<BYTE>(temperature);
    }

    Log m_log{};
    int m_at = 0;
};

CString Name(UINT id) {
    CString text;
    switch (id) {
    case 15346:
        return "No petrol injection signal%s";
    case 15348:
        return "Gas injection valve broken wire%s";
    default:
        text.Format("event %u", id);
        return text;
    }
}

std::vector<int> ShownRows(const CEventLogModel& model, int sortKey) {
    std::vector<int> rows;
    for (const ShownEvent& shown : model.ListShown(sortKey)) {
        rows.push_back(shown.row);
    }
    return rows;
}

TEST(CEventLogModel, ReadsTheFieldsOfBothKindsOfRecord) {
    CEventLogModel model;
    const LogBuilder log = LogBuilder()
                               .Plain(27, {1, 2, 3}, 4, {300, 59, 58})
                               .WithConditions(29, {7, 8, 9}, 0x0102, {1000, 1, 0}, 850, 3250, 95);
    EXPECT_TRUE(model.Decode(log.Bytes()));

    const EventLogRow& plain = model.GetRow(kSelfTestRow);
    EXPECT_EQ(plain.counter, 4);
    EXPECT_EQ(CEventLogModel::FormatTime(plain.first), "0001:02:03");
    EXPECT_EQ(CEventLogModel::FormatTime(plain.last), "0300:59:58");

    const EventLogRow& withConditions = model.GetRow(kLowPressureRow);
    EXPECT_EQ(withConditions.counter, 0x0102);
    EXPECT_EQ(CEventLogModel::FormatTime(withConditions.first), "0007:08:09");
    EXPECT_EQ(CEventLogModel::FormatTime(withConditions.last), "1000:01:00");
    EXPECT_EQ(withConditions.firstAt.rpm, 850);
    EXPECT_DOUBLE_EQ(withConditions.firstAt.injectionMs, 3.25);
    EXPECT_EQ(withConditions.firstAt.temperature, 95);
    EXPECT_EQ(withConditions.lastAt.rpm, 1850);
    EXPECT_DOUBLE_EQ(withConditions.lastAt.injectionMs, 3.75);
    EXPECT_EQ(withConditions.lastAt.temperature, 96);
}

TEST(CEventLogModel, AFirstSightingIsPresentOnlyFromTheNextCycleOn) {
    CEventLogModel model;
    const LogBuilder log = LogBuilder().Plain(27, {1, 0, 0}, 1, {1, 0, 0});
    EXPECT_TRUE(model.Decode(log.Bytes()));
    EXPECT_FALSE(model.GetRow(kSelfTestRow).extant);
    EXPECT_EQ(model.GetState(), kEventLogRecorded);

    EXPECT_TRUE(model.Decode(log.Bytes()));
    EXPECT_TRUE(model.GetRow(kSelfTestRow).extant);
    EXPECT_EQ(model.GetState(), kEventLogPresent);

    EXPECT_FALSE(model.Decode(log.Bytes())) << "an unchanged log changed the grid";
}

TEST(CEventLogModel, AnEmptyLogKeepsTheEventsButNoneIsPresent) {
    CEventLogModel model;
    const LogBuilder log = LogBuilder().Plain(27, {1, 0, 0}, 3, {2, 0, 0}).Plain(3, {4, 0, 0}, 5, {6, 0, 0});
    model.Decode(log.Bytes());
    model.Decode(log.Bytes());
    ASSERT_EQ(model.GetState(), kEventLogPresent);

    EXPECT_TRUE(model.Decode(LogBuilder().Bytes()));
    EXPECT_FALSE(model.GetRow(kSelfTestRow).extant);
    EXPECT_FALSE(model.GetRow(kNoPetrol3Row).extant);
    EXPECT_EQ(model.GetRow(kSelfTestRow).counter, 3);
    EXPECT_EQ(CEventLogModel::FormatTime(model.GetRow(kNoPetrol3Row).last), "0006:00:00");
    EXPECT_EQ(model.GetState(), kEventLogRecorded);

    model.Clear();
    EXPECT_EQ(model.GetState(), kEventLogEmpty);
    EXPECT_TRUE(model.ListShown(1).empty());
}

TEST(CEventLogModel, ANewCounterOfAPresentEventChangesTheGrid) {
    CEventLogModel model;
    model.Decode(LogBuilder().Plain(27, {1, 0, 0}, 3, {2, 0, 0}).Bytes());
    model.Decode(LogBuilder().Plain(27, {1, 0, 0}, 3, {2, 0, 0}).Bytes());
    EXPECT_TRUE(model.Decode(LogBuilder().Plain(27, {1, 0, 0}, 4, {2, 30, 0}).Bytes()));
    EXPECT_EQ(model.GetRow(kSelfTestRow).counter, 4);
}

TEST(CEventLogModel, TheLaterOfTwoRecordsOfOneEventWins) {
    CEventLogModel model;
    const LogBuilder log = LogBuilder().Plain(27, {1, 0, 0}, 3, {2, 0, 0}).Plain(27, {5, 0, 0}, 9, {6, 0, 0});
    model.Decode(log.Bytes());
    EXPECT_EQ(model.GetRow(kSelfTestRow).counter, 9);
    EXPECT_EQ(CEventLogModel::FormatTime(model.GetRow(kSelfTestRow).first), "0005:00:00");
}

TEST(CEventLogModel, SkipsUnknownShortAndOverlongRecords) {
    struct Case {
        const char* name;
        LogBuilder log;
        bool selfTestSeen;
    };

    const Case cases[] = {
        {"unknown id before a known one", LogBuilder().Raw({3, 99, 1, 2}).Plain(27, {1, 0, 0}, 2, {1, 0, 0}),
         true},
        {"kind 1 record of kind 0 length",
         LogBuilder().Raw({11, 29, 1, 0, 0, 0, 5, 0, 1, 0, 0, 0}).Plain(27, {1, 0, 0}, 2, {1, 0, 0}), true},
        // Its fields by kind would reach 10 bytes past the element.
        {"short kind 1 record ending at the very end",
         LogBuilder().At(1012).Raw({11, 29, 1, 0, 0, 0, 5, 0, 1, 0, 0, 0}), false},
        {"length passing the end", LogBuilder().At(1020).Raw({11, 27, 1, 0}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CEventLogModel model;
        model.Decode(c.log.Bytes());
        EXPECT_EQ(model.GetRow(kLowPressureRow).counter, 0);
        EXPECT_EQ(model.GetRow(kSelfTestRow).counter > 0, c.selfTestSeen);
    }
}

TEST(CEventLogModel, OrdersTheListedEventsBySortKey) {
    CEventLogModel model;
    model.LoadNames(Name);
    // Table rows 0 (self test), 2 (low pressure), 3 (high pressure), 18 (no petrol #3).
    const LogBuilder log = LogBuilder()
                               .Plain(3, {5, 0, 0}, 7, {9, 0, 0})
                               .WithConditions(30, {1, 0, 0}, 2, {20, 0, 0})
                               .Plain(27, {3, 0, 0}, 9, {8, 0, 0})
                               .WithConditions(29, {2, 0, 0}, 1, {1, 0, 0});
    model.Decode(log.Bytes());
    // Present from the second cycle on, except the high pressure event, now missing.
    model.Decode(LogBuilder()
                     .Plain(3, {5, 0, 0}, 7, {9, 0, 0})
                     .Plain(27, {3, 0, 0}, 9, {8, 0, 0})
                     .WithConditions(29, {2, 0, 0}, 1, {1, 0, 0})
                     .Bytes());

    struct Case {
        int sortKey;
        std::vector<int> rows;
    };

    const Case cases[] = {
        {1, {kSelfTestRow, kLowPressureRow, kHighPressureRow, kNoPetrol3Row}},
        {-1, {kNoPetrol3Row, kHighPressureRow, kLowPressureRow, kSelfTestRow}},
        {2, {kNoPetrol3Row, kSelfTestRow, kLowPressureRow, kHighPressureRow}},  // byte-wise: "No" < "event"
        {3, {kHighPressureRow, kSelfTestRow, kLowPressureRow, kNoPetrol3Row}},
        {-3, {kSelfTestRow, kLowPressureRow, kNoPetrol3Row, kHighPressureRow}},
        {4, {kLowPressureRow, kHighPressureRow, kNoPetrol3Row, kSelfTestRow}},
        {-4, {kSelfTestRow, kNoPetrol3Row, kHighPressureRow, kLowPressureRow}},
        {5, {kHighPressureRow, kLowPressureRow, kSelfTestRow, kNoPetrol3Row}},
        {-6, {kHighPressureRow, kNoPetrol3Row, kSelfTestRow, kLowPressureRow}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sortKey);
        EXPECT_EQ(ShownRows(model, c.sortKey), c.rows);
    }
    // Position numbers follow table order whatever the sort.
    const std::vector<ShownEvent> reversed = model.ListShown(-1);
    EXPECT_EQ(reversed.front().position, 4);
    EXPECT_EQ(reversed.back().position, 1);
}

TEST(CEventLogModel, SortsByTimeOverTheWholeRangeOfEngineHours) {
    CEventLogModel model;
    model.LoadNames(Name);
    // Hours up to 65535 with minutes and seconds at their ends: a time key that does not fit
    // 31 bits would order the later times first.
    model.Decode(LogBuilder()
                     .Plain(3, {65535, 59, 59}, 1, {65535, 59, 59})
                     .Plain(27, {32767, 59, 59}, 1, {32767, 59, 59})
                     .WithConditions(29, {32768, 0, 0}, 1, {40000, 0, 1})
                     .WithConditions(30, {100, 0, 0}, 1, {65535, 0, 0})
                     .Bytes());
    EXPECT_EQ(ShownRows(model, 5),
              (std::vector<int>{kHighPressureRow, kSelfTestRow, kLowPressureRow, kNoPetrol3Row}));
    EXPECT_EQ(ShownRows(model, -6),
              (std::vector<int>{kNoPetrol3Row, kHighPressureRow, kLowPressureRow, kSelfTestRow}));
}

TEST(CEventLogModel, AHeaderClickedAgainReversesTheOrder) {
    EXPECT_EQ(NextSortKey(1, 3), 4);
    EXPECT_EQ(NextSortKey(4, 3), -4);
    EXPECT_EQ(NextSortKey(-4, 3), 4);
    EXPECT_EQ(NextSortKey(-4, 0), 1);
}

TEST(CEventLogModel, NamesNumberedEventsWithTheirSuffix) {
    CEventLogModel model;
    model.LoadNames(Name);
    EXPECT_EQ(model.GetRow(kNoPetrol3Row).name, "No petrol injection signal #3");
    EXPECT_EQ(model.GetRow(CEventLogModel::kRowCount - 1).name, "Gas injection valve broken wire");
    EXPECT_EQ(model.GetRow(kSelfTestRow).name, "event 15330");
}

TEST(CEventLogModel, TipsExplainTheTimeCellsOfEventsWithConditions) {
    CEventLogModel model;
    model.LoadNames(Name);
    model.Decode(LogBuilder()
                     .WithConditions(29, {1, 2, 3}, 2, {4, 5, 6}, 750, 2250, 88)
                     .Plain(27, {1, 0, 0}, 1, {1, 0, 0})
                     .Bytes());
    const CString format = "%s|%04d:%02d:%02d|%4d|%.2f|%d";
    EXPECT_EQ(CEventLogModel::FormatTip(format, model.GetRow(kLowPressureRow), 4),
              "event 15332|0001:02:03| 750|2.25|88");
    EXPECT_EQ(CEventLogModel::FormatTip(format, model.GetRow(kLowPressureRow), 5),
              "event 15332|0004:05:06|1750|2.75|89");
    for (int column : {0, 1, 2, 3}) {
        EXPECT_EQ(CEventLogModel::FormatTip(format, model.GetRow(kLowPressureRow), column), "");
    }
    EXPECT_EQ(CEventLogModel::FormatTip(format, model.GetRow(kSelfTestRow), 4), "");
}

}  // namespace
