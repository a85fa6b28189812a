// The texts of freeze-frame values: each kind of PID with bytes whose result is known by
// hand, and the PIDs and short data that are refused.
#include "diag/FormatPidValue.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Row {
    const char* name;
    int pid;
    std::vector<BYTE> data;
    const char* expected;
};

const Row kRows[] = {
    {"engine speed", 0x0C, {0x1A, 0xF8}, "1726 1/min"},
    {"engine speed rounds", 0x0C, {0x04, 0xFF}, "320 1/min"},
    {"coolant below zero",
     0x05,
     {0x04},
     "-36 \xB0"
     "C"},
    {"intake air",
     0x0F,
     {0x28},
     "0 \xB0"
     "C"},
    {"ambient air",
     0x46,
     {0x50},
     "40 \xB0"
     "C"},
    {"fuel systems", 0x03, {0x02, 0x08}, "Closed loop, Open loop (system failure)"},
    {"fuel systems unused", 0x03, {0x00, 0x03}, "Unused, Unused"},
    {"load", 0x04, {0xFF}, "100.0 %"},
    {"other percents", 0x4C, {0x33}, "20.0 %"},
    {"short trim lean", 0x06, {0x00}, "-100.00 %"},
    {"long trim zero", 0x09, {0x80}, "0.00 %"},
    {"EGR error", 0x2D, {0x81}, "0.78 %"},
    {"fuel pressure", 0x0A, {0x21}, "99 kPa"},
    {"manifold pressure", 0x0B, {0x65}, "101 kPa"},
    {"barometric pressure", 0x33, {0x62}, "98 kPa"},
    {"speed", 0x0D, {0x78}, "120 km/h"},
    {"timing advance", 0x0E, {0x00}, "-64.0 \xB0"},
    {"air flow", 0x10, {0x01, 0x2C}, "3.00 g/s"},
    {"secondary air unused", 0x12, {0x00}, "Unused"},
    {"secondary air first bit wins", 0x12, {0x06}, "Downstream of catalytic converter"},
    {"secondary air upstream", 0x12, {0x01}, "Upstream of catalytic converter"},
    {"secondary air outside", 0x12, {0x04}, "From the outside atmosphere or off"},
    {"secondary air unknown", 0x12, {0x08}, "Unknown (0x08)"},
    {"sensors present", 0x13, {0x13}, "1/1, 1/2, 2/1"},
    {"sensors present, other layout", 0x1D, {0x80}, "2/4"},
    {"no sensors", 0x13, {0x00}, ""},
    {"sensor voltage and trim", 0x14, {0xC8, 0x80}, "1.00 V / 0.00 %"},
    {"last sensor", 0x1B, {0x00, 0x00}, "0.00 V / -100.00 %"},
    {"PTO active", 0x1E, {0x01}, "PTO: active"},
    {"PTO inactive", 0x1E, {0xFE}, "PTO: inactive"},
    {"run time", 0x1F, {0x0E, 0x11}, "01:00:01"},
    {"distance with MIL", 0x21, {0x01, 0x00}, "256 km"},
    {"distance since clearing", 0x31, {0x00, 0x07}, "7 km"},
    {"rail pressure", 0x22, {0x00, 0x64}, "7.90 kPa"},
    {"rail gauge pressure", 0x23, {0x00, 0x0A}, "100 kPa"},
    {"wide-band voltage", 0x24, {0xFF, 0xFF, 0x80, 0x00}, "2.00 / 4.00 V"},
    {"warm-ups", 0x30, {0x05}, "5"},
    {"vapour pressure", 0x32, {0x80, 0x00}, "0 Pa"},
    {"wide-band current", 0x34, {0x00, 0x00, 0x80, 0x00}, "0.00 / 0.00 mA"},
    {"last wide-band current", 0x3B, {0x80, 0x00, 0x00, 0x00}, "1.00 / -128.00 mA"},
    {"catalyst temperature",
     0x3C,
     {0x0F, 0xA0},
     "360 \xB0"
     "C"},
    {"module voltage", 0x42, {0x30, 0x70}, "12.40 V"},
    {"absolute load", 0x43, {0x00, 0xFF}, "100 %"},
    {"equivalence ratio", 0x44, {0x80, 0x00}, "1.00"},
    {"time with MIL", 0x4D, {0x01, 0x00}, "04:16:00"},
    {"time since clearing", 0x4E, {0x00, 0x3B}, "00:59:00"},
};

TEST(FormatPidValue, ShowsEachKindOfValueWithItsUnit) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        CString text = "old";
        ASSERT_TRUE(FormatPidValue(row.pid, row.data.data(), row.data.size(), text));
        EXPECT_EQ(std::string(text), row.expected);
    }
}

TEST(FormatPidValue, RefusesPidsWithoutATextAndDataTooShort) {
    const BYTE full[] = {0x12, 0x34, 0x56, 0x78};

    struct Refusal {
        const char* name;
        int pid;
        std::size_t length;
    };

    const Refusal refusals[] = {
        {"supported PIDs", 0x00, 4},
        {"monitor status", 0x01, 4},
        {"freeze-frame code", 0x02, 4},
        {"OBD standard", 0x1C, 4},
        {"support 21-40", 0x20, 4},
        {"support 41-60", 0x40, 4},
        {"monitor this cycle", 0x41, 4},
        {"beyond the table", 0x4F, 4},
        {"negative", -1, 4},
        {"two bytes, one given", 0x0C, 1},
        {"fuel systems, one given", 0x03, 1},
        {"four bytes, three given", 0x24, 3},
        {"current, three given", 0x34, 3},
        {"one byte, none given", 0x05, 0},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        CString text = "old";
        EXPECT_FALSE(FormatPidValue(refusal.pid, full, refusal.length, text));
        EXPECT_EQ(std::string(text), "old");
    }
    CString text = "old";
    EXPECT_FALSE(FormatPidValue(0x05, nullptr, 4, text));
}

}  // namespace
