// Update and zipped update files, against files built by an independent zlib and CRC-32.
#include "manager/CFirmwareUpdateFile.h"

#include "CTempFolder.h"
#include "FileBytes.h"
#include "ReferenceFiles.h"
#include "link/CUpdateFileFormat.h"

#include <string>

#include <gtest/gtest.h>

namespace {

const BYTE kImage[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E,
                       0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C,
                       0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28};

std::string Description(const CFirmwareUpdateFile& file, LPCSTR key) {
    CMapStringToString descriptions;
    file.GetDescriptions(descriptions);
    CString text;
    return descriptions.Lookup(key, text) ? std::string(text) : std::string("<none>");
}

}  // namespace

TEST(CFirmwareUpdateFile, ReadsUpdateAndZippedFilesMadeByAnIndependentZlib) {
    struct Case {
        const char* name;
        std::vector<BYTE> file;
        bool zipped;
    };

    const Case cases[] = {{"update", Bytes(kReferenceUpdate), false},
                          {"zipped", Bytes(kReferenceZipped), true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFirmwareUpdateFile model;
        ASSERT_TRUE(c.zipped ? model.LoadZippedBytes(c.file.data(), c.file.size())
                             : model.LoadUpdateBytes(c.file.data(), c.file.size()));
        EXPECT_EQ(model.GetFormat(), 0x0100);
        EXPECT_EQ(model.GetProtocol(), 0x011E);
        EXPECT_EQ(model.GetBuild(), 0x084E);
        EXPECT_EQ(model.GetFirmware(), 0x0385);
        EXPECT_EQ(model.GetBootloader(), 0x0205);
        EXPECT_EQ(model.GetImage(), Bytes(kImage));
        EXPECT_EQ(Description(model, "fr"), c.zipped ? "Nouveau" : "<none>");
    }
}

TEST(CFirmwareUpdateFile, ZipsAnUpdateFileToTheBytesOfTheIndependentReference) {
    CTempFolder folder;
    const std::string source = folder.Path("a.zfu");
    const std::string target = folder.Path("a.zfz");
    CTempFolder::WriteBytes(source, Bytes(kReferenceUpdate));
    CFirmwareUpdateFile model;
    int cause = -1;
    ASSERT_EQ(model.LoadUpdateFile(source.c_str(), cause), 1);
    model.SetDescription("fr", "Nouveau");
    model.SetDescription("en", "New firmware");
    model.SetDescription("de", "Neue Firmware");
    ASSERT_EQ(model.SaveZippedFile(target.c_str(), cause), 1);
    EXPECT_EQ(cause, 0);
    EXPECT_EQ(CTempFolder::ReadBytes(target), Bytes(kReferenceZipped));
    CFirmwareUpdateFile reloaded;
    ASSERT_EQ(reloaded.LoadZippedFile(target.c_str(), cause), 1);
    std::vector<BYTE> first;
    std::vector<BYTE> second;
    model.SaveZippedBytes(first);
    reloaded.SaveZippedBytes(second);
    EXPECT_EQ(first, second);
}

TEST(CFirmwareUpdateFile, AppliesTheSmallestSizes) {
    struct Case {
        const char* name;
        std::vector<BYTE> file;
        bool zipped;
        bool accepted;
    };

    std::vector<BYTE> update39 = Bytes(kReferenceUpdate);
    update39.erase(update39.begin() + 35, update39.end() - 4);
    StoreDwordAt(update39, 22, 39);
    FixCrc(update39);
    std::vector<BYTE> update38 = update39;
    update38.erase(update38.begin() + 34);
    StoreDwordAt(update38, 22, 38);
    FixCrc(update38);
    std::vector<BYTE> zipped44(kReferenceZipped, kReferenceZipped + 40);
    zipped44.resize(44);
    StoreDwordAt(zipped44, 22, 44);
    FixCrc(zipped44);
    const Case cases[] = {{"update of 39 bytes", update39, false, true},
                          {"update of 38 bytes", update38, false, false},
                          {"zipped of 44 bytes", zipped44, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFirmwareUpdateFile model;
        const bool loaded = c.zipped ? model.LoadZippedBytes(c.file.data(), c.file.size())
                                     : model.LoadUpdateBytes(c.file.data(), c.file.size());
        EXPECT_EQ(loaded, c.accepted);
    }
}

TEST(CFirmwareUpdateFile, ARefusedLoadKeepsImageAndDescriptions) {
    const ByteDamage cases[] = {
        {"magic", 3, 'x', true},
        {"length field", 22, 0x01, true},
        {"crc", sizeof kReferenceZipped - 2, 0x00, false},
        {"format word", 27, 0x02, true},
        {"stated size", 36, 0x10, true},
        {"zlib stream", 44, 0xFF, true},
    };
    for (const ByteDamage& c : cases) {
        SCOPED_TRACE(c.name);
        CFirmwareUpdateFile model;
        ASSERT_TRUE(model.LoadZippedBytes(kReferenceZipped, sizeof kReferenceZipped));
        model.SetDescription("hu", "kept");
        const std::vector<BYTE> file = Damaged(Bytes(kReferenceZipped), c);
        EXPECT_FALSE(model.LoadZippedBytes(file.data(), file.size()));
        EXPECT_EQ(model.GetImage(), Bytes(kImage));
        EXPECT_EQ(Description(model, "hu"), "kept");
    }
}

TEST(CFirmwareUpdateFile, LoadingAnUpdateFileKeepsTheDescriptionsOfAZippedOne) {
    CFirmwareUpdateFile model;
    ASSERT_TRUE(model.LoadZippedBytes(kReferenceZipped, sizeof kReferenceZipped));
    ASSERT_TRUE(model.LoadUpdateBytes(kReferenceUpdate, sizeof kReferenceUpdate));
    EXPECT_EQ(Description(model, "de"), "Neue Firmware");
    model.SetDescription("xx", "gone after the next zipped load");
    ASSERT_TRUE(model.LoadZippedBytes(kReferenceZipped, sizeof kReferenceZipped));
    EXPECT_EQ(Description(model, "xx"), "<none>");
}

TEST(CFirmwareUpdateFile, SavesNothingWithoutAnImage) {
    CTempFolder folder;
    const std::string path = folder.Path("none.zfz");
    CFirmwareUpdateFile model;
    int cause = 55;
    EXPECT_EQ(model.SaveZippedFile(path.c_str(), cause), 0);
    EXPECT_EQ(cause, 55);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(CFirmwareUpdateFile, ShowsVersionWords) {
    EXPECT_STREQ(CUpdateFileFormat::FormatFirmwareBuild(0x0385, 0x084E), "3.05-0078 (2)");
    EXPECT_STREQ(CUpdateFileFormat::FormatVersion(0x010B), "1.11");
    EXPECT_STREQ(CUpdateFileFormat::FormatVersion(0x01A3), "1.35");
}
