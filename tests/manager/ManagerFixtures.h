// Firmware files for the viewer's tests, written with the project's own file layouts: update
// (zfu), zipped update (zfz) and patch (zfp) files with chosen words and description keys.
#pragma once

#include "classlib/core/CMap.h"
#include "firmware/CFirmwarePatch.h"
#include "link/CFileFrame.h"
#include "link/CUpdateFileFormat.h"
#include "tests/support/TestTrees.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <shellapi.h>
#include <string>
#include <utility>
#include <vector>

namespace ManagerFixtures {

using Keys = std::initializer_list<std::pair<const char*, const char*>>;

// The words every fixture carries: firmware 3.05, build 78 of variant 2, protocol 1.11,
// bootloader 2.07.
constexpr WORD kProtocol = 0x010B;
constexpr WORD kBuild = 0x084E;
constexpr WORD kFirmware = 0x0385;
constexpr WORD kBootloader = 0x0207;

inline bool WriteBytes(const std::string& path, const std::vector<BYTE>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

inline bool WriteUpdateFile(const std::string& path) {
    std::vector<BYTE> file = CUpdateFileFormat::UpdateFrame().Begin();
    CFileFrame::AppendWord(file, kProtocol);
    CFileFrame::AppendWord(file, kBuild);
    CFileFrame::AppendWord(file, kFirmware);
    CFileFrame::AppendWord(file, kBootloader);
    for (int i = 0; i < 64; ++i) {
        file.push_back(static_cast<BYTE>(i * 7));
    }
    CUpdateFileFormat::UpdateFrame().Finish(file);
    return WriteBytes(path, file);
}

inline bool WriteZippedFile(const std::string& path, Keys keys) {
    UpdateFileContents words;
    words.protocol = kProtocol;
    words.build = kBuild;
    words.firmware = kFirmware;
    words.bootloader = kBootloader;
    CMapStringToString descriptions;
    for (const auto& key : keys) {
        descriptions.SetAt(key.first, key.second);
    }
    std::vector<BYTE> file;
    const std::vector<BYTE> image(100, 0x5A);
    return CUpdateFileFormat::BuildZipped(words, image, descriptions, file) && WriteBytes(path, file);
}

inline bool WritePatchFile(const std::string& path, Keys keys) {
    CFirmwarePatch patch;
    patch.SetVersion(kFirmware);
    patch.SetBuild(kBuild);
    patch.SetDate(2024, 5, 17);
    CByteArray data;
    data.Add(1);
    data.Add(2);
    patch.SetRecord(0x10, 1, data);
    for (const auto& key : keys) {
        patch.SetDescription(key.first, key.second);
    }
    int cause = 0;
    return patch.Save(path.c_str(), cause) == 1;
}

// An empty folder of this test program's own below the build tree, as Windows sees it.
inline std::string FreshFolder(const char* name) {
    std::string folder = BuildTree();
    for (char& c : folder) {
        if (c == '/') {
            c = '\\';
        }
    }
    if (!folder.empty() && folder[0] == '\\') {
        folder = "Z:" + folder;
    }
    folder += "\\manager-fixtures";
    CreateDirectoryA(folder.c_str(), nullptr);
    folder += "\\";
    folder += name;
    if (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) {
        SHFILEOPSTRUCTA remove = {};
        std::vector<char> from(folder.begin(), folder.end());
        from.push_back('\0');
        from.push_back('\0');
        remove.wFunc = FO_DELETE;
        remove.pFrom = from.data();
        remove.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        SHFileOperationA(&remove);
    }
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

}  // namespace ManagerFixtures
