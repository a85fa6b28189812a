// The text of data saver files: names, blocks, header and rows, byte for byte.
#include "diag/CDataSaverFormat.h"

#include "link/CDataHandler.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

CLocalTime At(int hour, int minute, int second, int ms) {
    CLocalTime t;
    t.wYear = 2024;
    t.wMonth = 5;
    t.wDay = 1;
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    t.wMilliseconds = static_cast<WORD>(ms);
    return t;
}

CDataSaverSample RunningOnGas() {
    CDataSaverSample s;
    s.fuelMode = 0xFF;
    s.engineFlags = 0x02;
    s.speed = 2150;
    s.petrolTimes = {3500, 3700, 0, 0, 0, 0, 0, 0};
    s.gasTimes = {4200, 4400, 0, 0, 0, 0, 0, 0};
    s.lambdaControl = 0xFF;
    s.engineTemperature = -5;
    s.gasPressure = 2250;
    s.manifoldPressure = 900;
    s.lambda = 500;
    s.lambdaVoltage = 450;
    s.gasTemperature = 30;
    s.gasCorrection = -3;
    s.obd = {5, 0xFE, 0, 0, 10, 0xFD, 0x0F, 0x08, 0x02};
    return s;
}

std::string Field(const std::string& row, int index) {
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = row.find('\t', start) + 1;
    }
    const std::size_t end = row.find_first_of("\t\n", start);
    return row.substr(start, end - start);
}

int CountFields(const std::string& line) {
    int count = 1;
    for (const char c : line) {
        count += c == '\t' ? 1 : 0;
    }
    return count;
}

TEST(DataSaverFormat, StampsTheStartTimeBeforeTheExtension) {
    const struct {
        const char* name;
        const char* stamped;
    } cases[] = {
        {"C:\\data\\log", "C:\\data\\log(2024-05-01_08.15.02.123)"},
        {"C:\\data\\log.txt", "C:\\data\\log(2024-05-01_08.15.02.123).txt"},
        {"C:\\data.old\\log", "C:\\data.old\\log(2024-05-01_08.15.02.123)"},
        {"C:\\data\\log.1.csv", "C:\\data\\log.1(2024-05-01_08.15.02.123).csv"},
        {"log.", "log(2024-05-01_08.15.02.123)."},
    };

    for (const auto& c : cases) {
        EXPECT_STREQ(CDataSaverFormat::StampedFileName(c.name, At(8, 15, 2, 123)), c.stamped);
    }
}

TEST(DataSaverFormat, FramesAFileWithStartAndStopBlocks) {
    const std::string dashes(30, '-');
    EXPECT_EQ(std::string(CDataSaverFormat::StartBlock(At(8, 15, 2, 5))),
              dashes + "\nSTART: 2024-05-01 08:15:02.005\n" + dashes + "\n\n");
    EXPECT_EQ(std::string(CDataSaverFormat::StopBlock(At(23, 0, 59, 999))),
              "\n" + dashes + "\nSTOPP: 2024-05-01 23:00:59.999\n" + dashes + "\n\n\n");
}

TEST(DataSaverFormat, HeaderNamesAllFortyTwoColumns) {
    const std::string header(CDataSaverFormat::HeaderLine());
    ASSERT_EQ(header.back(), '\n');
    EXPECT_EQ(CountFields(header), 42);
    EXPECT_EQ(Field(header, 0), "Datum");
    EXPECT_EQ(Field(header, 6), "Benzin Einspritz Zeit Ventil 1 (ms)");
    EXPECT_EQ(Field(header, 13), "Benzin Einspritz Zeit Ventil 8 (ms)");
    EXPECT_EQ(Field(header, 17),
              "Motor Temperatur (\xB0"
              "C)");
    EXPECT_EQ(Field(header, 24), "OBD Zustand");
    EXPECT_EQ(Field(header, 31), "Gas Einspritz Zeit Ventil 1 (ms)");
    EXPECT_EQ(Field(header, 41), "Summe (%)");
    EXPECT_EQ(header.find("\t\n"), std::string::npos) << "trailing tab";
}

TEST(DataSaverFormat, WritesARowInTheHeadersOrder) {
    const std::string row(CDataSaverFormat::Row(RunningOnGas(), At(8, 15, 2, 123)));
    EXPECT_EQ(row,
              "2024-05-01\t08:15:02.123\tGAS\t100% Offen\tNormal\t2150\t"
              "3.50\t3.70\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00\t3.60\t4.30\tJA\t-5\t1.25\t-0.10\t0.80\t0.45\t"
              "30\t-3\tconnected\tClosed loop\tOpen loop (system failure)\t5\t-2\t0\t0\t"
              "4.20\t4.40\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00\t10\t-3\t7\n");
    EXPECT_EQ(CountFields(row), CountFields(std::string(CDataSaverFormat::HeaderLine())));
}

TEST(DataSaverFormat, RowFieldsFollowTheSample) {
    struct Case {
        const char* what;
        void (*change)(CDataSaverSample&);
        int field;
        const char* expected;
    };

    const Case cases[] = {
        {"petrol", [](CDataSaverSample& s) { s.fuelMode = 0; }, 2, "BENZIN"},
        {"changing", [](CDataSaverSample& s) { s.fuelMode = 85; }, 2, "Wechsel auf GAS"},
        {"cut-off wins over petrol", [](CDataSaverSample& s) { s.engineFlags = 0x07; }, 3,
         "Schubabschaltung"},
        {"cut-off wins over gas", [](CDataSaverSample& s) { s.engineFlags = 0x07; }, 4, "Schubabschaltung"},
        {"gas valve open", [](CDataSaverSample& s) { s.engineFlags = 0x04; }, 4, "100% Offen"},
        {"no petrol time", [](CDataSaverSample& s) { s.petrolTimes = {}; }, 14, "0.00"},
        {"lambda control off", [](CDataSaverSample& s) { s.lambdaControl = 0x7F; }, 16, "NEIN"},
        {"lambda above range", [](CDataSaverSample& s) { s.lambda = 1500; }, 20, "1.20"},
        {"lambda in range", [](CDataSaverSample& s) { s.lambda = 1010; }, 20, "1.01"},
        {"link i/o error", [](CDataSaverSample& s) { s.obd[6] = 0xF1; }, 24, "i/o error"},
        {"link not connected", [](CDataSaverSample& s) { s.obd[6] = 0x00; }, 24, "not connected "},
        {"unknown link code", [](CDataSaverSample& s) { s.obd[6] = 0x07; }, 24, "?"},
        {"bank unused with two bits", [](CDataSaverSample& s) { s.obd[8] = 0x06; }, 25, "Unused"},
        {"bank warming up", [](CDataSaverSample& s) { s.obd[8] = 0x01; }, 25,
         "Open loop (insufficient engine temperature)"},
        {"bank with an unknown bit", [](CDataSaverSample& s) { s.obd[7] = 0x40; }, 26, "Unknown (0x40)"},
        {"sum of negatives",
         [](CDataSaverSample& s) {
             s.obd[4] = 0x80;
             s.obd[5] = 0x80;
         },
         41, "-256"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CDataSaverSample sample = RunningOnGas();
        c.change(sample);
        EXPECT_EQ(Field(std::string(CDataSaverFormat::Row(sample, At(0, 0, 0, 0))), c.field), c.expected);
    }
}

TEST(DataSaverSample, DecodesTheLiveElementsOfTheWorkingImage) {
    CDataHandler handler;
    BYTE* image = handler.GetImage(kImageWorking);
    const auto put = [&](int element, std::initializer_list<BYTE> bytes) {
        std::memcpy(image + handler.GetElementOffset(element), bytes.begin(), bytes.size());
    };
    put(30, {0xFF, 0x05, 1, 2, 3});
    put(26, {0x66, 0x08});
    put(27, {0xAC, 0x0D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x02});
    put(28, {0x68, 0x10});
    put(54, {0xFF});
    put(31, {0xFB});
    put(29, {0xCA, 0x08});
    put(58, {0x84, 0x03});
    put(34, {0xF4, 0x01});
    put(33, {0xC2, 0x01});
    put(90, {0xE2});
    put(92, {0xFD});
    put(95, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});

    const CDataSaverSample s = CDataSaverSample::Take(handler, 4711);
    EXPECT_EQ(s.clockMs, 4711);
    EXPECT_EQ(s.fuelMode, 0xFF);
    EXPECT_EQ(s.engineFlags, 0x05);
    EXPECT_EQ(s.speed, 2150);
    EXPECT_EQ(s.petrolTimes[0], 3500);
    EXPECT_EQ(s.petrolTimes[7], 0x0201);
    EXPECT_EQ(s.gasTimes[0], 4200);
    EXPECT_EQ(s.lambdaControl, 0xFF);
    EXPECT_EQ(s.engineTemperature, -5);
    EXPECT_EQ(s.gasPressure, 2250);
    EXPECT_EQ(s.manifoldPressure, 900);
    EXPECT_EQ(s.lambda, 500);
    EXPECT_EQ(s.lambdaVoltage, 450);
    EXPECT_EQ(s.gasTemperature, -30);
    EXPECT_EQ(s.gasCorrection, -3);
    EXPECT_EQ(s.obd[0], 1);
    EXPECT_EQ(s.obd[15], 16);
}

}  // namespace
