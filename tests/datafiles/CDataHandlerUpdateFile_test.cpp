// Firmware update files checked by the data handler against the unit in update mode: the
// message of each verdict, the image handed on, and the preview's texts and descriptions.
#include "tests/datafiles/DataFilesFixture.h"
#include "tests/files/FileBytes.h"
#include "tests/files/ReferenceFiles.h"

namespace {

// Protocol, firmware and bootloader words of an update file (zipped: two bytes further).
std::vector<BYTE> WithWords(const std::vector<BYTE>& reference,
                            std::size_t protocolOffset,
                            WORD protocol,
                            WORD firmware,
                            WORD bootloader) {
    std::vector<BYTE> file = reference;
    StoreWordAt(file, protocolOffset, protocol);
    StoreWordAt(file, protocolOffset + 4, firmware);
    StoreWordAt(file, protocolOffset + 6, bootloader);
    FixCrc(file);
    return file;
}

}  // namespace

class CDataHandlerUpdateFile : public DataFilesFixture {
protected:
    CDataHandlerUpdateFile() { handler->SetUpdateModeInfo(0x1111, 0x0205, 0x2222); }

    std::string WriteFile(const std::vector<BYTE>& bytes) {
        const std::string path = folder.Path("firmware.zfu");
        CTempFolder::WriteBytes(path, bytes);
        return path;
    }
};

TEST_F(CDataHandlerUpdateFile, EachVerdictShowsItsMessageAgainstTheUnitVersion) {
    const std::vector<BYTE> update = Bytes(kReferenceUpdate);
    const std::vector<BYTE> zipped = Bytes(kReferenceZipped);
    std::vector<BYTE> waived = WithWords(update, 26, 0x011E, 0x0204, 0x0205);
    waived[35] |= 0x80;
    FixCrc(waived);

    struct Case {
        const char* name;
        std::vector<BYTE> file;
        std::string message;  // empty: accepted
    };

    const Case cases[] = {
        {"protocol 1.29", WithWords(update, 26, 0x011D, 0x0205, 0x0205),
         "You can not use this program after update of MCU because of appearing communication "
         "incompatibility.\nPlease install a newer version. (pr: 1.30 <-> 1.29)"},
        {"zipped protocol 1.40", WithWords(zipped, 28, 0x0128, 0x0205, 0x0205),
         "You can not use this program after update of MCU because of appearing communication "
         "incompatibility.\nPlease install a newer version. (pr: 1.30 <-> 1.40)"},
        {"firmware 2.04", WithWords(update, 26, 0x011E, 0x0204, 0x0205),
         "This update is not designed for this MCU. (bsw: 2.05 <-> sw: 2.04)"},
        {"bootloader 2.06", WithWords(zipped, 28, 0x0127, 0x0205, 0x0206),
         "This update is not designed for this MCU. (bl: 2.05 <-> 2.06)"},
        {"firmware check waived", waived, ""},
        {"protocol 1.39, firmware and bootloader 2.05", WithWords(update, 26, 0x0127, 0x0205, 0x0205), ""},
        {"damaged CRC-32", std::vector<BYTE>(update.begin(), update.end() - 1), "Invalid file format."},
        {"neither kind", std::vector<BYTE>(40, 'x'), "Invalid file format."},
        {"empty", std::vector<BYTE>(), "Invalid file format."},
        {"0x100001 bytes", std::vector<BYTE>(0x100001, 0), "Invalid file format."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Forget();
        CByteArray image;
        const BOOL accepted = handler->CheckFirmwareUpdateFile(WriteFile(c.file).c_str(), image);
        if (c.message.empty()) {
            EXPECT_TRUE(accepted);
            EXPECT_TRUE(user.messages.empty());
            EXPECT_EQ(40, image.GetSize());
            continue;
        }
        EXPECT_FALSE(accepted);
        ASSERT_EQ(1u, user.messages.size());
        EXPECT_EQ(c.message, user.messages[0].text);
        EXPECT_EQ(IUserPrompter::Box::Error, user.messages[0].box);
    }
}

TEST_F(CDataHandlerUpdateFile, AcceptedZippedFileHandsOnImageAndDescriptions) {
    CByteArray image;
    ASSERT_TRUE(handler->CheckFirmwareUpdateFile(WriteFile(Bytes(kReferenceZipped)).c_str(), image));
    ASSERT_EQ(40, image.GetSize());
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(i + 1, image[i]);
    }
    ASSERT_EQ(1u, resources.catalogue.size());
    const AddedDescriptions& added = resources.catalogue[0];
    EXPECT_EQ(3, added.major);
    EXPECT_EQ(5, added.minor);
    EXPECT_EQ(0x4E, added.build);
    EXPECT_EQ(2, added.branch);
    const std::map<std::string, std::string> expected{
        {"de", "Neue Firmware"}, {"en", "New firmware"}, {"fr", "Nouveau"}};
    EXPECT_EQ(expected, added.texts);
}

TEST_F(CDataHandlerUpdateFile, MissingFileShowsTheOpeningError) {
    const std::string path = folder.Path("absent.zfu");
    CByteArray image;
    EXPECT_FALSE(handler->CheckFirmwareUpdateFile(path.c_str(), image));
    ASSERT_EQ(1u, user.messages.size());
    EXPECT_EQ(0u, user.messages[0].text.find("Error opening file: " + path + ".\nError code: "));
}

TEST_F(CDataHandlerUpdateFile, PreviewGivesTheTextsAndIsSilentOnFailure) {
    struct Case {
        const char* name;
        std::vector<BYTE> file;
        bool read;
        std::size_t descriptions;
    };

    const std::vector<BYTE> update = Bytes(kReferenceUpdate);
    const Case cases[] = {
        {"update file", update, true, 0},
        {"zipped file", Bytes(kReferenceZipped), true, 1},
        // Too old for the unit, but the preview does not judge the versions.
        {"firmware 2.04", WithWords(update, 26, 0x011E, 0x0204, 0x0205), true, 0},
        {"damaged", std::vector<BYTE>(update.begin(), update.end() - 1), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resources.catalogue.clear();
        CString version;
        CString build;
        CString branch;
        EXPECT_EQ(c.read ? TRUE : FALSE,
                  handler->ReadUpdateFileInfo(WriteFile(c.file).c_str(), version, build, branch));
        EXPECT_TRUE(user.messages.empty());
        EXPECT_EQ(c.descriptions, resources.catalogue.size());
        if (c.read && c.descriptions == 1) {
            EXPECT_STREQ("3.05", version);
            EXPECT_STREQ("0078", build);
            EXPECT_STREQ("2", branch);
        }
    }
}
