// The model of a firmware update file (zfu, read only) and a zipped update file (zfz, read and
// written): the version words, the firmware image and the per-language descriptions. Portable.
#pragma once

#include "classlib/core/CMap.h"
#include "classlib/core/WinTypes.h"

#include <cstddef>
#include <vector>

class CFirmwareUpdateFile {
public:
    CFirmwareUpdateFile();
    virtual ~CFirmwareUpdateFile();
    CFirmwareUpdateFile(const CFirmwareUpdateFile&) = delete;
    CFirmwareUpdateFile& operator=(const CFirmwareUpdateFile&) = delete;

    // Frees the image and empties the descriptions.
    void Clear();

    bool HasImage() const { return !m_image.empty(); }

    // Each returns 1 on success, else 0. `cause` is 0 unless opening, reading or writing the
    // file failed, then the file exception's cause. A refused load leaves the image and the
    // descriptions as they were. Loading an update file keeps the descriptions; loading a
    // zipped file replaces them.
    int LoadUpdateFile(LPCSTR fileName, int& cause);
    int LoadZippedFile(LPCSTR fileName, int& cause);
    // A model without an image is not written and `cause` is left alone. A failed write leaves
    // any file that was there as it was.
    int SaveZippedFile(LPCSTR fileName, int& cause) const;

    // The checks and reading of the loads on the bytes of a whole file.
    bool LoadUpdateBytes(const BYTE* file, std::size_t size);
    bool LoadZippedBytes(const BYTE* file, std::size_t size);
    // The bytes SaveZippedFile writes; false without an image, when packing fails or when the
    // file would exceed the size limit.
    bool SaveZippedBytes(std::vector<BYTE>& file) const;

    WORD GetFormat() const { return m_format; }

    WORD GetProtocol() const { return m_protocol; }

    WORD GetBuild() const { return m_build; }

    WORD GetFirmware() const { return m_firmware; }

    WORD GetBootloader() const { return m_bootloader; }

    const std::vector<BYTE>& GetImage() const { return m_image; }

    void GetDescriptions(CMapStringToString& descriptions) const;
    void SetDescription(LPCSTR key, LPCSTR text);
    bool RemoveDescription(LPCSTR key);

private:
    WORD m_format;
    WORD m_protocol;
    WORD m_build;
    WORD m_firmware;
    WORD m_bootloader;
    std::vector<BYTE> m_image;
    CMapStringToString m_descriptions;
};
