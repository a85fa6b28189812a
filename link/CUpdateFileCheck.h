// Decides whether a firmware update file (zfu or zfz) is intact and fits the program and the
// unit waiting in update mode, and reads the header for the file dialog's preview. Works on
// the bytes of the whole file; choosing, reading and reporting belong to the data handler.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"
#include "link/CUpdateFileFormat.h"

#include <array>
#include <cstddef>
#include <vector>

class CUpdateFileCheck {
public:
    // String-table ids of the messages; each is shown with the four numbers of GetArguments
    // (none for kInvalidFileFormat).
    static constexpr UINT kPassed = 0;
    static constexpr UINT kInvalidFileFormat = 15122;
    static constexpr UINT kFirmwareNotForUnit = 15203;    // unit major, minor; file firmware major, minor
    static constexpr UINT kProtocolIncompatible = 15204;  // 1, 30; file protocol major, minor
    static constexpr UINT kBootloaderNotForUnit = 15205;  // unit major, minor; file bootloader major, minor

    CUpdateFileCheck();

    // Checks a whole file against the unit's version word (major in the high byte, minor in
    // the low 7 bits). kPassed with the image (and for a zipped file the descriptions) ready,
    // else the id of the message to show.
    UINT Check(const BYTE* file, std::size_t size, WORD unitVersion);

    // The header of a whole file for the preview, without the checks against the unit; for
    // a zipped file the payload is unpacked for its descriptions. False when it fails a check.
    bool ReadInfo(const BYTE* file, std::size_t size);

    const std::array<int, 4>& GetArguments() const { return m_arguments; }

    bool IsZipped() const { return m_zipped; }

    const UpdateFileContents& GetContents() const { return m_contents; }

    // Preview texts of the file read last: "%d.%02d" firmware version, "%04d" build number and
    // "%d" branch.
    CString GetVersionText() const;
    CString GetBuildText() const;
    CString GetBranchText() const;

private:
    UINT CheckVersions(WORD unitVersion, bool checkFirmware);
    bool ReadFile(const BYTE* file, std::size_t size);

    UpdateFileContents m_contents;
    bool m_zipped;
    std::array<int, 4> m_arguments;
};
