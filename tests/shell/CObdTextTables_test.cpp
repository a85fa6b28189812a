// The OBD text tables: the loader's key patterns and skips, and the project's MAP texts.
#include "shell/CObdTextTables.h"

#include "ShellTestSupport.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace {

std::set<std::string> KeysOf(const CMapStringToString& map) {
    std::set<std::string> keys;
    POSITION position = map.GetStartPosition();
    while (position != nullptr) {
        CString key;
        CString text;
        map.GetNextAssoc(position, key, text);
        keys.insert(key.GetString());
    }
    return keys;
}

std::string TextOf(const CMapStringToString& map, const char* key) {
    CString text;
    if (!map.Lookup(key, text)) {
        return "<missing>";
    }
    return text.GetString();
}

bool StartsWith(const std::string& bytes, const std::string& prefix) {
    return bytes.compare(0, prefix.size(), prefix) == 0;
}

void LoadDtc(CObdTextTables& tables, const std::string& bytes) {
    tables.LoadDtcTexts(bytes.data(), bytes.size());
}

void LoadPid(CObdTextTables& tables, const std::string& bytes) {
    tables.LoadObdPidTexts(bytes.data(), bytes.size());
}

}  // namespace

TEST(CObdTextTables, EntersOnlyKeysThatMatchThePatternAsAWhole) {
    CObdTextTables tables;
    LoadDtc(tables,
            "// codes\r\n"
            "P0100\r\n"     // no text
            "P0101 \t\r\n"  // blanks only
            "p0102 lower case\r\n"
            "P0400 Four\r\n"
            "P4000 digit out of range\r\n"
            "X0100 letter\r\n"
            "P01000 too long\r\n"
            "P010 too short\r\n"
            "B1234 Body\r\n"
            "C0300 Chassis\r\n"
            "U3999 Network\r\n"
            "P0400 Four again");  // the later line replaces the earlier one
    EXPECT_EQ((std::set<std::string>{"P0400", "B1234", "C0300", "U3999"}), KeysOf(tables.DtcTexts()));
    CString text;
    ASSERT_TRUE(tables.LookupDtcText("P0400", text));
    EXPECT_STREQ("Four again", text);
    EXPECT_FALSE(tables.LookupDtcText("P0100", text));
    EXPECT_FALSE(tables.LookupDtcText("p0102", text));
    EXPECT_FALSE(tables.LookupDtcText("P0102", text));
}

TEST(CObdTextTables, KeepsTheKeysCaseAndLooksUpCaseSensitively) {
    CObdTextTables tables;
    LoadPid(tables, "0a\tlower\r\n0B\tupper\r\n0G\tnot hex\r\n123\tthree digits\r\n");
    EXPECT_EQ((std::set<std::string>{"0a", "0B"}), KeysOf(tables.ObdPidTexts()));
    CString text;
    EXPECT_TRUE(tables.LookupObdPidText("0a", text));
    EXPECT_FALSE(tables.LookupObdPidText("0A", text));
    EXPECT_FALSE(tables.LookupObdPidText("0b", text));
}

TEST(CObdTextTables, ALoadReplacesTheWholeTable) {
    CObdTextTables tables;
    LoadPid(tables, "0C\tEngine RPM\r\n");
    LoadPid(tables, "0D\tVehicle speed\r\n");
    EXPECT_EQ((std::set<std::string>{"0D"}), KeysOf(tables.ObdPidTexts()));

    tables.LoadObdPidTexts(nullptr, 100);
    EXPECT_TRUE(tables.ObdPidTexts().IsEmpty());

    LoadPid(tables, "0C\tEngine RPM\r\n");
    tables.LoadObdStandardTexts("01\tOBD II (California ARB)", 24);
    tables.RemoveAll();
    EXPECT_TRUE(tables.ObdPidTexts().IsEmpty());
    EXPECT_TRUE(tables.ObdStandardTexts().IsEmpty());
}

TEST(CObdTextTables, LoadsTheThirteenObdStandardsVerbatim) {
    const std::string bytes = ReadSourceFile("res/map/2003.txt");
    ASSERT_FALSE(bytes.empty());
    CObdTextTables tables;
    tables.LoadObdStandardTexts(bytes.data(), bytes.size());

    struct Row {
        const char* key;
        const char* text;
    };

    const Row rows[] = {
        {"01", "OBD II (California ARB)"},
        {"02", "OBD (Federal EPA)"},
        {"03", "OBD and OBD II"},
        {"04", "OBD I"},
        {"05", "not intended to meet any requirements"},
        {"06", "EOBD (Europe)"},
        {"07", "EOBD and OBD II"},
        {"08", "EOBD and OBD"},
        {"09", "EOBD, OBD and OBD II"},
        {"0A", "JOBD (Japan)"},
        {"0B", "JOBD and OBD II"},
        {"0C", "JOBD and EOBD"},
        {"0D", "JOBD, EOBD and OBD II"},
    };
    EXPECT_EQ(13, tables.ObdStandardTexts().GetCount());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(row.text, TextOf(tables.ObdStandardTexts(), row.key));
    }
    EXPECT_TRUE(StartsWith(bytes, "// OBD Standards (mode 0x01 pid 0x1c)\r\n"));
}

TEST(CObdTextTables, LoadsTheSeventyTwoPidNamesWithoutTheCommentedOnes) {
    const std::string bytes = ReadSourceFile("res/map/2004.txt");
    ASSERT_FALSE(bytes.empty());
    CObdTextTables tables;
    tables.LoadObdPidTexts(bytes.data(), bytes.size());

    std::set<std::string> expectedKeys;
    const int ranges[][2] = {{0x03, 0x1B}, {0x1D, 0x1F}, {0x21, 0x3F}, {0x42, 0x4E}};
    for (const auto& range : ranges) {
        for (int pid = range[0]; pid <= range[1]; ++pid) {
            CString key;
            key.Format("%02X", pid);
            expectedKeys.insert(key.GetString());
        }
    }
    ASSERT_EQ(72u, expectedKeys.size());
    EXPECT_EQ(expectedKeys, KeysOf(tables.ObdPidTexts()));

    struct Row {
        const char* key;
        const char* text;
    };

    const Row rows[] = {
        {"03", "Fuel system status"},
        {"04", "Engine load value"},
        {"05", "Engine coolant temperature"},
        {"06", "Short term fuel trim - Bank 1"},
        {"07", "Long term fuel trim - Bank 1"},
        {"0C", "Engine RPM"},
        {"0D", "Vehicle speed"},
        {"14", "Oxygen sensor (Bank 1, Sensor 1) voltage/short term fuel trim"},
        {"24", "Oxygen sensor (broadband) (Bank 1, Sensor 1) equivalence ratio/voltage"},
        {"34", "Oxygen sensor (broadband) (Bank 1, Sensor 1) equivalence ratio/current"},
        {"4E", "Time since trouble codes cleared"},
        {"1C", "<missing>"},
        {"41", "<missing>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(row.text, TextOf(tables.ObdPidTexts(), row.key));
    }
    EXPECT_NE(std::string::npos, bytes.find("\r\n//1C\tOBD standards this vehicle conforms to\r\n"));
    EXPECT_NE(std::string::npos, bytes.find("\r\n//41\tMonitor status this drive cycle\r\n"));
    EXPECT_TRUE(StartsWith(bytes, "// OBD-II Sensors\r\n"));
}

TEST(CObdTextTables, LoadsTheTroubleCodesFromP0100ToP0804) {
    const std::string bytes = ReadSourceFile("res/map/2002.txt");
    ASSERT_FALSE(bytes.empty());
    CObdTextTables tables;
    tables.LoadDtcTexts(bytes.data(), bytes.size());

    const std::set<std::string> keys = KeysOf(tables.DtcTexts());
    EXPECT_EQ(472u, keys.size());
    EXPECT_EQ("P0100", *keys.begin());
    EXPECT_EQ("P0804", *keys.rbegin());
    EXPECT_EQ("Mass or Volume Air Flow Circuit Malfunction", TextOf(tables.DtcTexts(), "P0100"));
    EXPECT_EQ("1-4 Upshift (Skip Shift) Lamp Control Circuit Malfunction",
              TextOf(tables.DtcTexts(), "P0804"));
    EXPECT_TRUE(StartsWith(bytes, "// OBD-II Diagnostic Trouble Codes (DTCs)\r\n"));
    for (const char* group : {"P0100-P0199", "P0200-P0299", "P0300-P0399", "P0400-P0499", "P0500-P0599",
                              "P0600-P0699", "P0700-P0899"}) {
        SCOPED_TRACE(group);
        EXPECT_NE(std::string::npos, bytes.find(std::string("\r\n// ") + group));
    }
    // Every line is blank, a comment or an entry, so that no code is lost to a typo.
    size_t entryLines = 0;
    size_t start = 0;
    for (size_t end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", start)) {
        const std::string line = bytes.substr(start, end - start);
        start = end + 2;
        if (line.empty() || line.compare(0, 3, "// ") == 0) {
            continue;
        }
        SCOPED_TRACE(line);
        ++entryLines;
        ASSERT_GT(line.size(), 6u);
        EXPECT_EQ(' ', line[5]);
        EXPECT_NE(' ', line[6]);
    }
    EXPECT_EQ(bytes.size(), start);
    EXPECT_EQ(keys.size(), entryLines);
}
