// Layouts of firmware update files (zfu: header words and the plain image) and zipped update
// files (zfz: header words and a zlib-packed payload of the image and per-language
// descriptions). Read by the configurator's checks and by the file manager's model; the
// manager also writes the zipped kind. Portable.
#pragma once

#include "classlib/core/CMap.h"
#include "classlib/core/WinTypes.h"
#include "link/CDescriptionEntries.h"
#include "link/CFileFrame.h"

#include <cstddef>
#include <vector>

struct UpdateFileContents {
    WORD format = 0x0100;
    WORD protocol = 0;
    WORD build = 0;
    WORD firmware = 0;
    WORD bootloader = 0;
    DWORD unpackedBytes = 0;  // zipped files only: the payload size the header states
    std::vector<BYTE> image;
    CDescriptionEntries::Entries descriptions;  // zipped files only, in file order
};

class CUpdateFileFormat {
public:
    static constexpr WORD kFormatWord = 0x0100;

    enum class Result {
        Ok,
        BadFrame,       // size, magic, length field or CRC-32
        BadFormatWord,  // zipped files: the header words were read, the format word is not 0x0100
        BadPayload,     // zipped files: the payload does not unpack or is inconsistent
    };

    static const CFileFrame& UpdateFrame();
    static const CFileFrame& ZippedFrame();

    // Update file: frame checks, then the header words and the image.
    static Result ReadUpdate(const BYTE* file, std::size_t size, UpdateFileContents& contents);

    // Zipped file, header only: frame checks, the format word, the other words and the stated
    // payload size. The image and descriptions are not touched.
    static Result ReadZippedHeader(const BYTE* file, std::size_t size, UpdateFileContents& contents);
    // Zipped file, after ReadZippedHeader: unpacks the payload into the image and descriptions.
    // Nothing changes unless the whole payload is consistent.
    static Result ReadZippedPayload(const BYTE* file, std::size_t size, UpdateFileContents& contents);

    // Builds a zipped file from the header words, the image and the descriptions (in the map's
    // iteration order). False for an empty image, when packing fails or when the file would
    // exceed the size limit.
    static bool BuildZipped(const UpdateFileContents& words,
                            const std::vector<BYTE>& image,
                            const CMapStringToString& descriptions,
                            std::vector<BYTE>& file);

    static int GetMajor(WORD versionWord) { return versionWord >> 8; }

    // Bit 7 of the low byte is no part of the minor.
    static int GetMinor(WORD versionWord) { return versionWord & 0x7F; }

    static int GetBuildNumber(WORD buildWord) { return buildWord & 0x3FF; }

    static int GetBranch(WORD buildWord) { return buildWord >> 10; }

    // "%d.%02d" of a protocol, firmware or bootloader version word.
    static CString FormatVersion(WORD versionWord);
    // "%04d" of the build number of a build word.
    static CString FormatBuildNumber(WORD buildWord);
    // "%d.%02d-%04d (%d)": firmware version with build number and branch.
    static CString FormatFirmwareBuild(WORD firmwareWord, WORD buildWord);
};
