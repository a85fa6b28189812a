// Configuration files: round trip, header faults, version conversion and record skipping.
#include "link/CConfigFile.h"

#include "FileBytes.h"

#include <array>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

constexpr BYTE kMajor = 1;
constexpr BYTE kMinor = 4;
constexpr int kAccessLive = 1;
constexpr int kAccessIdentity = 4;
constexpr int kAccessFileOnly = -1;

// A small element table of the same kinds as the program's: a few settings (one of them the
// 1024-byte map), the four table banks, the two file-only record kinds, live values elsewhere.
std::array<ConfigElement, kElementCount> MakeElements() {
    std::array<ConfigElement, kElementCount> elements{};
    for (int id = 0; id < kElementCount; ++id) {
        elements[id] = {12000 + id, 1, kAccessLive};
    }
    elements[0] = {3, 1, kAccessSetting};
    elements[5] = {8, 2, kAccessSetting};
    elements[8] = {36, 1024, kAccessSetting};
    elements[9] = {1061, 1, kAccessSetting};
    elements[122] = {31, 1, kAccessSetting};
    elements[75] = {-1, 12, kAccessFileOnly};
    elements[107] = {-1, 1026, kAccessFileOnly};
    const int tableOffsets[] = {2328, 3385, 4442, 5499};
    for (int bank = 0; bank < 4; ++bank) {
        elements[80 + 2 * bank] = {tableOffsets[bank], 1024, kAccessIdentity};
    }
    return elements;
}

const std::array<ConfigElement, kElementCount> kElements = MakeElements();

std::vector<BYTE> PatternImage(BYTE seed) {
    std::vector<BYTE> image(kImageBytes);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<BYTE>(i * 7 + seed);
    }
    return image;
}

// A file around hand-made records, with a correct length and CRC-32.
std::vector<BYTE> FileWithRecords(const std::vector<BYTE>& records,
                                  BYTE minor = kMinor,
                                  BYTE major = kMajor) {
    const char magic[] = "ZYLMor_Config_File";
    std::vector<BYTE> file(magic, magic + 18);
    file.push_back(0x51);
    file.resize(23);
    file.push_back(minor);
    file.push_back(major);
    file.insert(file.end(), records.begin(), records.end());
    file.resize(file.size() + 4);
    StoreDwordAt(file, 19, static_cast<DWORD>(file.size()));
    FixCrc(file);
    return file;
}

struct Loaded {
    std::vector<BYTE> image = std::vector<BYTE>(kImageBytes, 0);
    std::vector<ConfigMeasurement> measurements;
    ConfigTableMap tables;

    ConfigTarget Target() {
        ConfigTarget target;
        target.image = image.data();
        target.measurements = &measurements;
        target.tables = &tables;
        return target;
    }
};

}  // namespace

TEST(CConfigFile, LoadsBackWhatItSaved) {
    const std::vector<BYTE> image = PatternImage(3);
    const std::vector<ConfigMeasurement> measurements = {{2500, 3200, 12}, {-1, 0, -7}, {6000, 15000, 150}};
    ConfigSource source;
    source.image = image.data();
    source.programMajor = kMajor;
    source.programMinor = kMinor;
    source.measurements = &measurements;
    source.tablesFromImage = true;
    CConfigFile config(kElements.data());
    std::vector<BYTE> file;
    const int length = config.Serialize(source, file);
    ASSERT_EQ(length, static_cast<int>(file.size()));
    Loaded loaded;
    ConfigTarget target = loaded.Target();
    ASSERT_EQ(config.Parse(file.data(), file.size(), kMajor, kMinor, target), CConfigFile::kSameVersion);
    for (const int id : {0, 5, 8, 9, 122}) {
        SCOPED_TRACE(id);
        const ConfigElement& e = kElements[id];
        EXPECT_EQ(std::memcmp(loaded.image.data() + e.offset, image.data() + e.offset, e.length), 0);
    }
    EXPECT_EQ(loaded.image[12001], 0);  // live values are not saved
    ASSERT_EQ(loaded.measurements.size(), 3u);
    EXPECT_EQ(loaded.measurements[1].rpm, -1);
    EXPECT_EQ(loaded.measurements[2].injectionUs, 15000);
    EXPECT_EQ(loaded.measurements[2].value, 150);
    ASSERT_EQ(loaded.tables.size(), 4u);
    EXPECT_EQ(loaded.tables[84], std::vector<BYTE>(image.begin() + 4442, image.begin() + 4442 + 1024));
}

TEST(CConfigFile, WritesTheHeaderAndRecordsInElementOrder) {
    std::vector<BYTE> image(kImageBytes, 0);
    image[3] = 0xA0;
    image[8] = 0x01;
    image[9] = 0x02;
    ConfigSource source;
    source.image = image.data();
    source.randomBits = 0x0C;
    source.programMajor = 2;
    source.programMinor = 7;
    const std::vector<ConfigMeasurement> measurements = {{1, 2, 3}};
    source.measurements = &measurements;
    CConfigFile config(kElements.data());
    std::vector<BYTE> file;
    config.Serialize(source, file);
    std::vector<BYTE> head = {'Z', 'Y', 'L', 'M', 'o', 'r', '_', 'C', 'o', 'n', 'f', 'i', 'g', '_', 'F', 'i',
                              'l', 'e', 0xC1, 0x00, 0x00, 0x00, 0x00, 0x07, 0x02,
                              // element 0, then element 5, each with id and length first
                              0x00, 0x00, 0x01, 0x00, 0xA0, 0x05, 0x00, 0x02, 0x00, 0x01, 0x02};
    StoreDwordAt(head, 19, static_cast<DWORD>(file.size()));
    ASSERT_GT(file.size(), head.size());
    EXPECT_EQ(std::vector<BYTE>(file.begin(), file.begin() + head.size()), head);
    // Settings 0, 5, 8, 9 come first, then the measurement at 75 and setting 122 last.
    const std::size_t measurementAt = head.size() + (4 + 1024) + (4 + 1);
    const std::vector<BYTE> measurement = {75, 0, 12, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 122, 0, 1, 0};
    EXPECT_EQ(
        std::vector<BYTE>(file.begin() + measurementAt, file.begin() + measurementAt + measurement.size()),
        measurement);
    EXPECT_EQ(file.size(), measurementAt + measurement.size() + 1 + 4);
}

TEST(CConfigFile, ReportsAFormatVersionOtherThanOne) {
    std::vector<BYTE> image(kImageBytes, 0);
    ConfigSource source;
    source.image = image.data();
    source.formatVersion = 2;
    CConfigFile config(kElements.data());
    std::vector<BYTE> file;
    EXPECT_EQ(config.Serialize(source, file), -1);
    EXPECT_EQ(file[18] & 0x0F, 2);
}

TEST(CConfigFile, GivesEachHeaderFaultItsCodeAndChangesNothing) {
    struct Case {
        const char* name;
        std::size_t offset;  // byte to change; the CRC is fixed again unless the CRC is the fault
        BYTE value;
        int code;
    };

    const std::vector<BYTE> records = {9, 0, 1, 0, 0x77};
    const std::size_t crcAt = FileWithRecords(records).size() - 1;
    const Case cases[] = {{"intact", 0, 'Z', CConfigFile::kSameVersion},
                          {"magic", 17, 'f', CConfigFile::kBadMagic},
                          {"format version", 18, 0x52, CConfigFile::kBadFormatVersion},
                          {"length field", 19, 0x10, CConfigFile::kBadLength},
                          {"crc", crcAt, 0x00, CConfigFile::kBadCrc},
                          {"other major", 24, kMajor + 1, CConfigFile::kOtherMajor},
                          {"newer minor", 23, kMinor + 1, CConfigFile::kNewerMinor},
                          {"older minor", 23, kMinor - 1, CConfigFile::kOlderMinor}};
    CConfigFile config(kElements.data());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> file = FileWithRecords(records);
        file[c.offset] = c.value;
        if (c.offset != crcAt) {
            FixCrc(file);
        }
        Loaded loaded;
        ConfigTarget target = loaded.Target();
        EXPECT_EQ(config.Parse(file.data(), file.size(), kMajor, kMinor, target), c.code);
        EXPECT_EQ(loaded.image[1061], c.code >= 0 ? 0x77 : 0x00);
    }
}

TEST(CConfigFile, LoadsAFileWithoutRecordsAndChangesNothing) {
    const std::vector<BYTE> file = FileWithRecords({});
    ASSERT_EQ(file.size(), CConfigFile::kEmptyFileBytes);
    CConfigFile config(kElements.data());
    Loaded loaded;
    ConfigTarget target = loaded.Target();
    EXPECT_EQ(config.Parse(file.data(), file.size(), kMajor, kMinor, target), CConfigFile::kSameVersion);
    EXPECT_EQ(loaded.image, std::vector<BYTE>(kImageBytes, 0));
}

TEST(CConfigFile, SkipsRecordsOfWrongLengthUnknownIdsAndRecordsIntoTheChecksum) {
    const std::vector<BYTE> records = {
        5,   0, 1,  0, 0xEE,                                      // element 5 has two bytes: skipped
        200, 0, 2,  0, 0xEE, 0xEE,                                // no such element: skipped
        3,   0, 1,  0, 0xEE,                                      // element 3 is a live value: skipped
        9,   0, 1,  0, 0x77,                                      // taken
        75,  0, 12, 0, 1,    0,    0, 0, 2, 0, 0, 0, 3, 0, 0, 0,  // a measurement: appended
        0,   0, 40, 0, 0xEE,  // runs into the checksum: the records end here
    };
    CConfigFile config(kElements.data());
    Loaded loaded;
    ConfigTarget target = loaded.Target();
    const std::vector<BYTE> file = FileWithRecords(records, kMinor - 1);
    EXPECT_EQ(config.Parse(file.data(), file.size(), kMajor, kMinor, target), CConfigFile::kOlderMinor);
    EXPECT_EQ(loaded.image[8], 0);
    EXPECT_EQ(loaded.image[12003], 0);
    EXPECT_EQ(loaded.image[1061], 0x77);
    EXPECT_EQ(loaded.image[3], 0);
    ASSERT_EQ(loaded.measurements.size(), 1u);
    EXPECT_EQ(loaded.measurements[0].value, 3);
}

TEST(CConfigFile, LeavesOutMeasurementsThatWouldMakeTheFileTooLarge) {
    const std::vector<BYTE> image = PatternImage(1);
    const std::vector<ConfigMeasurement> measurements(1000, ConfigMeasurement{3000, 4000, 5});
    ConfigSource source;
    source.image = image.data();
    source.measurements = &measurements;
    source.tablesFromImage = true;
    CConfigFile config(kElements.data());
    std::vector<BYTE> file;
    config.Serialize(source, file);
    EXPECT_LE(file.size(), CConfigFile::kMaxFileBytes);
    EXPECT_GT(config.GetDroppedMeasurements(), 0);
    Loaded loaded;
    ConfigTarget target = loaded.Target();
    ASSERT_EQ(config.Parse(file.data(), file.size(), 0, 0, target), CConfigFile::kSameVersion);
    EXPECT_EQ(loaded.measurements.size() + config.GetDroppedMeasurements(), measurements.size());
    EXPECT_EQ(loaded.tables.size(), 4u);
}

TEST(CConfigFile, KeepsTablesLoadedFromAFileWhenSavedWithoutAUnit) {
    const std::vector<BYTE> image = PatternImage(9);
    ConfigTableMap tables;
    tables[82] = std::vector<BYTE>(1024, 0x5A);
    ConfigSource source;
    source.image = image.data();
    source.tables = &tables;
    CConfigFile config(kElements.data());
    std::vector<BYTE> file;
    config.Serialize(source, file);
    Loaded loaded;
    ConfigTarget target = loaded.Target();
    ASSERT_EQ(config.Parse(file.data(), file.size(), 0, 0, target), CConfigFile::kSameVersion);
    ASSERT_EQ(loaded.tables.size(), 1u);
    EXPECT_EQ(loaded.tables[82], tables[82]);
}
