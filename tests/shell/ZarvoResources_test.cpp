// The configurator's own resources as the program file carries them: the English string
// table with its exact texts, the OBD text tables, the accelerators, icons and version.
#include "res/ResourceIds.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct StringRow {
    UINT id;
    const char* text;
};

// The texts that the program shows, as they must read.
const StringRow kStrings[] = {
    {15000, "&About"},
    {15002, "1033"},
    {15003, "English"},
    {15243, "English"},
    {15004, "Configure"},
    {15005, "Diagnosis"},
    {15006, " Language: "},
    {15007, "Load"},
    {15008, "Save"},
    {15009, "Exit"},
    {15010, "Finalize!"},
    {15011, "Restore!"},
    {15012, "Main menu"},
    {15013,
     "This will finalize your changes in MCU by writing data into the Flash ROM.\nIt takes a few seconds. Do "
     "you want to continue?"},
    {15014,
     "This will restore the latest finalized changes in MCU by reading data from the Flash ROM.\nDo you want "
     "to continue?"},
    {15015, "Are you sure you want to exit? Probably you missed do the following:\n"},
    {15017, "- save your configuration to a file\n"},
    {15031, "INITIALIZING ..."},
    {15032, "NOT CONNECTED"},
    {15033, "CONNECTED to COM%d"},
    {15034, "INCOMPATIBLE VERSION at COM%d"},
    {15035, "JAMMED CONNECTION at COM%d"},
    {15199, "CONNECTED to COM%d (update mode)"},
    {15200, "INCOMPATIBLE VERSION at COM%d (update mode)"},
    {15036, "Attempt to write an invalid element: %s."},
    {15037, "Element out of range: %d."},
    {15152, "Element out of range: %s <- %c%s; %s%c."},
    {15162, "Attempt to paste an invalid element: %s."},
    {15040, "Information"},
    {15041, "Static Data"},
    {15042, "Basic Table"},
    {15245, "Adaptive tables"},
    {15073, "Event Log"},
    {15511, "Trouble Codes"},
    {15108,
     "Event: \"%s\" \ntime: %04d:%02d:%02d\nParameters:\n- rev: %4d 1/min\n- injection time: %.2f ms\n- "
     "engine temperature: %d \xB0"
     "C"},
    {15109, "Change language"},
    {15110, "Exit"},
    {15111, "Cancel"},
    {15112, "Exiting ..."},
    {15113, "MCU -> Memory"},
    {15114, "Memory -> MCU"},
    {15115, "Refresh target"},
    {15235, "Cancel"},
    {15116,
     "It seems a new MCU has been connected.\nDo you want to load its configuration to overwrite edited data "
     "or store actual configuration in MCU?"},
    {15117, "OK. Do you want to save this configuration before overwriting from MCU?"},
    {15118, "ZYLMOR Config Files (*.zcf)|*.zcf|All files (*.*)|*.*||"},
    {15119, "Error opening file: %s.\nError code: %d."},
    {15120, "Error writing file: %s.\nError code: %d."},
    {15121, "Error reading file: %s.\nError code: %d."},
    {15122, "Invalid file format."},
    {15123, "Nothing to save. Please connect an MCU or load a configuration."},
    {15171, "Older file format converted."},
    {15234, "Untitled"},
    {15238, "The latest saved file for the connected MCU differs from its actual data.\n(\"%s\")"},
    {15130, "Identifier:"},
    {15131, "Version:"},
    {15132, "Last finalization:"},
    {15133, "with this PC:"},
    {15134, "unit"},
    {15135, "finalization"},
    {15136, "Remark:"},
    {15137, "There was no initiative to contact since this program has been installed."},
    {15138, "The latest contact has NOT been done by this program."},
    {15139, "The latest contact has been done by this program."},
    {15140, "Release:"},
    {15158, "running time"},
    {15159, "In gas mode:"},
    {15160, "In petrol mode:"},
    {15161, "Total:"},
    {15166, "Last contact:"},
    {15352, "Description:"},
    {15359, "When MIL on:"},
    {15420, "Date:"},
    {15421, "Patch"},
    {15198, "MCU Firmware Update"},
    {15387, "MCU Firmware Patch"},
    {15201, "ZYLMOR Firmware Updates (*.zfu; *.zfz)|*.zfu; *.zfz|All files (*.*)|*.*||"},
    {15386, "ZYLMOR Firmware Patches (*.zfp)|*.zfp|All files (*.*)|*.*||"},
    {15203, "This update is not designed for this MCU. (bsw: %d.%02d <-> sw: %d.%02d)"},
    {15204,
     "You can not use this program after update of MCU because of appearing communication "
     "incompatibility.\nPlease install a newer version. (pr: %d.%02d <-> %d.%02d)"},
    {15205, "This update is not designed for this MCU. (bl: %d.%02d <-> %d.%02d)"},
    {15206,
     "You started update process of the MCU's software.\nAll saved data will be destroyed in it.\nSuggested "
     "to save before you proceed. Do you want to continue?"},
    {15207, "Failed to change to update mode."},
    {15208, "Incompatible update mode."},
    {15239, "The latest update process failed. You have to restart updating."},
    {15232, "Exiting ... [%c]"},
    {15241,
     "Warning!\nIf any MCU is connected, its data will be overwritten by file you will load.\nContinue?"},
    {15247, "The MCU is busy. Please be patient ..."},
    {15353, "Retrieving data ..."},
    {15389, "Writing: %d%%."},
    {15390, "Initializing: %d%%."},
    {15391, "Waiting ..."},
    {15392, "Close"},
    {15393, "Failed. Connection lost. You have to restart patching."},
    {15395, "Finished successfully."},
    {15397, "Programming ..."},
    {15423, "Reading: %d%%."},
    {15505, "The following PIDs are not supported: "},
    {15519, "Normal"},
    {15520, "Ceodeux"},
};

std::string LoadProgramString(UINT id) {
    char buffer[1024] = {};
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof(buffer));
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string LoadMap(UINT id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), "Map");
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const char* data = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return data != nullptr ? std::string(data, SizeofResource(module, resource)) : std::string();
}

}  // namespace

TEST(ZarvoResources, StringTableHoldsEveryTextExactly) {
    for (const StringRow& row : kStrings) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(LoadProgramString(row.id), row.text);
    }
}

TEST(ZarvoResources, MapTablesAreFoundByTheirTypeName) {
    const struct {
        UINT id;
        const char* firstLineStart;
    } rows[] = {
        {IDR_MAP_TROUBLE_CODES, "P0100 Mass or Volume Air Flow Circuit Malfunction"},
        {IDR_MAP_OBD_STANDARDS, "01\tOBD II (California ARB)"},
        {IDR_MAP_OBD_PARAMETERS, "03\tFuel system status"},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        const std::string map = LoadMap(row.id);
        EXPECT_NE(map.find(row.firstLineStart), std::string::npos);
        EXPECT_NE(map.find("\r\n"), std::string::npos) << "lines end with CR LF";
    }
}

TEST(ZarvoResources, AcceleratorTableHoldsTheKeysOfTheCommands) {
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> entries(static_cast<size_t>(CopyAcceleratorTableA(table, nullptr, 0)));
    CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
    DestroyAcceleratorTable(table);
    const ACCEL expected[] = {
        {FVIRTKEY | FCONTROL, 'G', 32785},          {FVIRTKEY | FCONTROL, 'B', 32786},
        {FVIRTKEY | FCONTROL | FSHIFT, 'U', 32787}, {FVIRTKEY, VK_F3, 32789},
        {FVIRTKEY | FSHIFT, VK_F3, 32789},          {FVIRTKEY, VK_F4, 32790},
        {FVIRTKEY | FSHIFT, VK_F4, 32790},          {FVIRTKEY | FCONTROL, 'Y', 32772},
        {FVIRTKEY | FCONTROL, 'Z', 32771},
    };
    ASSERT_EQ(entries.size(), std::size(expected));
    for (size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].fVirt & ~0x80, expected[i].fVirt);  // 0x80 marks the last entry
        EXPECT_EQ(entries[i].key, expected[i].key);
        EXPECT_EQ(entries[i].cmd, expected[i].cmd);
    }
}

TEST(ZarvoResources, IconsLoadAtTheSizesTheWindowsAskFor) {
    for (UINT id : {IDI_ZARVO, IDI_LANGUAGE, IDI_LANGUAGE_FLAG}) {
        SCOPED_TRACE(id);
        for (int size : {16, 32}) {
            HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size,
                                     LR_DEFAULTCOLOR);
            EXPECT_NE(icon, nullptr);
            DestroyIcon(static_cast<HICON>(icon));
        }
    }
}

TEST(ZarvoResources, VersionBlockGivesTheFileVersion) {
    char path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_NE(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoBytes = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &infoBytes));
    EXPECT_EQ(HIWORD(info->dwFileVersionMS), 1);
    EXPECT_EQ(LOWORD(info->dwFileVersionMS), 2);
    EXPECT_EQ(HIWORD(info->dwFileVersionLS), 3);
    EXPECT_EQ(LOWORD(info->dwFileVersionLS), 45);
}
