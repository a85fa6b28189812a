// Formatting OBD mode-01 values for the freeze frame.
#include "diag/FormatPidValue.h"

#include "diag/CObdAdaptationTexts.h"

namespace {

struct DataBytes {
    int a;
    int b;
    int c;
    int d;
};

// One PID range whose value is a single number.
struct NumberRow {
    int first;
    int last;
    double (*value)(const DataBytes& bytes);
    int decimals;
    const char* unit;  // with its leading blank
};

double Word(int high, int low) {
    return high * 256.0 + low;
}

const NumberRow kNumberRows[] = {
    {0x05, 0x05, [](const DataBytes& x) { return x.a - 40.0; }, 0,
     " \xB0"
     "C"},
    {0x0F, 0x0F, [](const DataBytes& x) { return x.a - 40.0; }, 0,
     " \xB0"
     "C"},
    {0x46, 0x46, [](const DataBytes& x) { return x.a - 40.0; }, 0,
     " \xB0"
     "C"},
    {0x06, 0x09, [](const DataBytes& x) { return (x.a - 128) * 0.78125; }, 2, " %"},
    {0x2D, 0x2D, [](const DataBytes& x) { return (x.a - 128) * 0.78125; }, 2, " %"},
    {0x0A, 0x0A, [](const DataBytes& x) { return 3.0 * x.a; }, 0, " kPa"},
    {0x0B, 0x0B, [](const DataBytes& x) { return 1.0 * x.a; }, 0, " kPa"},
    {0x33, 0x33, [](const DataBytes& x) { return 1.0 * x.a; }, 0, " kPa"},
    {0x0C, 0x0C, [](const DataBytes& x) { return Word(x.a, x.b) / 4; }, 0, " 1/min"},
    {0x0D, 0x0D, [](const DataBytes& x) { return 1.0 * x.a; }, 0, " km/h"},
    {0x0E, 0x0E, [](const DataBytes& x) { return x.a / 2.0 - 64; }, 1, " \xB0"},
    {0x10, 0x10, [](const DataBytes& x) { return Word(x.a, x.b) * 0.01; }, 2, " g/s"},
    {0x21, 0x21, [](const DataBytes& x) { return Word(x.a, x.b); }, 0, " km"},
    {0x31, 0x31, [](const DataBytes& x) { return Word(x.a, x.b); }, 0, " km"},
    {0x22, 0x22, [](const DataBytes& x) { return Word(x.a, x.b) * 0.079; }, 2, " kPa"},
    {0x23, 0x23, [](const DataBytes& x) { return Word(x.a, x.b) * 10; }, 0, " kPa"},
    {0x30, 0x30, [](const DataBytes& x) { return 1.0 * x.a; }, 0, ""},
    {0x32, 0x32, [](const DataBytes& x) { return Word(x.a, x.b) / 4 - 8192; }, 0, " Pa"},
    {0x3C, 0x3F, [](const DataBytes& x) { return Word(x.a, x.b) / 10 - 40; }, 0,
     " \xB0"
     "C"},
    {0x42, 0x42, [](const DataBytes& x) { return Word(x.a, x.b) * 0.001; }, 2, " V"},
    {0x43, 0x43, [](const DataBytes& x) { return Word(x.a, x.b) * 100 / 255; }, 0, " %"},
    {0x44, 0x44, [](const DataBytes& x) { return Word(x.a, x.b) * 2 / 65535; }, 2, ""},
};

bool IsIn(int pid, int first, int last) {
    return pid >= first && pid <= last;
}

bool IsRefused(int pid) {
    return pid < 0x03 || pid > 0x4E || pid == 0x1C || pid == 0x20 || pid == 0x40 || pid == 0x41;
}

// How many of the bytes A to D the PID's value is made of.
std::size_t NeededBytes(int pid) {
    if (IsIn(pid, 0x24, 0x2B) || IsIn(pid, 0x34, 0x3B)) {
        return 4;
    }
    const bool twoBytes = pid == 0x03 || pid == 0x0C || pid == 0x10 || IsIn(pid, 0x14, 0x1B) || pid == 0x1F ||
                          IsIn(pid, 0x21, 0x23) || IsIn(pid, 0x31, 0x32) || IsIn(pid, 0x3C, 0x3F) ||
                          IsIn(pid, 0x42, 0x44) || IsIn(pid, 0x4D, 0x4E);
    return twoBytes ? 2 : 1;
}

CString SecondaryAirText(int a) {
    if (a == 0) {
        return "Unused";
    }
    if ((a & 0x01) != 0) {
        return "Upstream of catalytic converter";
    }
    if ((a & 0x02) != 0) {
        return "Downstream of catalytic converter";
    }
    if ((a & 0x04) != 0) {
        return "From the outside atmosphere or off";
    }
    CString text;
    text.Format("Unknown (0x%02X)", a);
    return text;
}

// The oxygen sensors present as "bank/sensor", four sensors to a bank.
CString SensorList(int a) {
    CString text;
    for (int bit = 0; bit < 8; ++bit) {
        if ((a >> bit & 1) == 0) {
            continue;
        }
        if (!text.IsEmpty()) {
            text += ", ";
        }
        text.AppendFormat("%d/%d", bit / 4 + 1, bit % 4 + 1);
    }
    return text;
}

bool FormatText(int pid, const DataBytes& x, CString& text) {
    switch (pid) {
    case 0x03:
        text = CObdAdaptationTexts::FuelSystemTextOnOneLine(x.a) + ", " +
               CObdAdaptationTexts::FuelSystemTextOnOneLine(x.b);
        return true;
    case 0x12:
        text = SecondaryAirText(x.a);
        return true;
    case 0x13:
    case 0x1D:
        text = SensorList(x.a);
        return true;
    case 0x1E:
        text = (x.a & 1) != 0 ? "PTO: active" : "PTO: inactive";
        return true;
    case 0x1F: {
        const int seconds = x.a * 256 + x.b;
        text.Format("%02d:%02d:%02d", seconds / 3600, seconds % 3600 / 60, seconds % 60);
        return true;
    }
    case 0x4D:
    case 0x4E: {
        const int minutes = x.a * 256 + x.b;
        text.Format("%02d:%02d:00", minutes / 60, minutes % 60);
        return true;
    }
    default:
        return false;
    }
}

bool FormatPair(int pid, const DataBytes& x, CString& text) {
    if (IsIn(pid, 0x14, 0x1B)) {
        text.Format("%.2f V / %.2f %%", x.a * 0.005, (x.b - 128) * 0.78125);
        return true;
    }
    if (IsIn(pid, 0x24, 0x2B)) {
        text.Format("%.2f / %.2f V", Word(x.a, x.b) * 2 / 65535, Word(x.c, x.d) * 8 / 65535);
        return true;
    }
    if (IsIn(pid, 0x34, 0x3B)) {
        text.Format("%.2f / %.2f mA", Word(x.a, x.b) * 2 / 65535, Word(x.c, x.d) * 256 / 65535 - 128);
        return true;
    }
    return false;
}

}  // namespace

bool FormatPidValue(int pid, const BYTE* data, std::size_t length, CString& text) {
    if (IsRefused(pid) || data == nullptr || length < NeededBytes(pid)) {
        return false;
    }
    const auto byteAt = [data, length](std::size_t i) { return i < length ? static_cast<int>(data[i]) : 0; };
    const DataBytes x = {byteAt(0), byteAt(1), byteAt(2), byteAt(3)};
    if (FormatText(pid, x, text) || FormatPair(pid, x, text)) {
        return true;
    }
    for (const NumberRow& row : kNumberRows) {
        if (IsIn(pid, row.first, row.last)) {
            text.Format("%.*f%s", row.decimals, row.value(x), row.unit);
            return true;
        }
    }
    text.Format("%.1f %%", x.a * 100.0 / 255);
    return true;
}
