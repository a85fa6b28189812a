// Update and zipped update file model.
#include "manager/CFirmwareUpdateFile.h"

#include "link/CUpdateFileFormat.h"
#include "link/CWholeFile.h"

CFirmwareUpdateFile::CFirmwareUpdateFile()
    : m_format(CUpdateFileFormat::kFormatWord), m_protocol(0), m_build(0), m_firmware(0), m_bootloader(0) {}

CFirmwareUpdateFile::~CFirmwareUpdateFile() {
    Clear();
}

void CFirmwareUpdateFile::Clear() {
    m_image.clear();
    m_descriptions.RemoveAll();
}

int CFirmwareUpdateFile::LoadUpdateFile(LPCSTR fileName, int& cause) {
    return CWholeFile::Load(
        fileName, CUpdateFileFormat::UpdateFrame(), cause,
        [this](const BYTE* file, std::size_t size) { return LoadUpdateBytes(file, size); });
}

int CFirmwareUpdateFile::LoadZippedFile(LPCSTR fileName, int& cause) {
    return CWholeFile::Load(
        fileName, CUpdateFileFormat::ZippedFrame(), cause,
        [this](const BYTE* file, std::size_t size) { return LoadZippedBytes(file, size); });
}

bool CFirmwareUpdateFile::LoadUpdateBytes(const BYTE* file, std::size_t size) {
    UpdateFileContents contents;
    if (CUpdateFileFormat::ReadUpdate(file, size, contents) != CUpdateFileFormat::Result::Ok) {
        return false;
    }
    m_format = contents.format;
    m_protocol = contents.protocol;
    m_build = contents.build;
    m_firmware = contents.firmware;
    m_bootloader = contents.bootloader;
    m_image.swap(contents.image);
    return true;
}

// The header words are taken as soon as they are read, so a file refused for its format word
// or its payload leaves them behind; the image and descriptions change only on success.
bool CFirmwareUpdateFile::LoadZippedBytes(const BYTE* file, std::size_t size) {
    UpdateFileContents contents;
    const CUpdateFileFormat::Result header = CUpdateFileFormat::ReadZippedHeader(file, size, contents);
    if (header == CUpdateFileFormat::Result::BadFrame) {
        return false;
    }
    m_format = contents.format;
    if (header != CUpdateFileFormat::Result::Ok) {
        return false;
    }
    m_protocol = contents.protocol;
    m_build = contents.build;
    m_firmware = contents.firmware;
    m_bootloader = contents.bootloader;
    if (CUpdateFileFormat::ReadZippedPayload(file, size, contents) != CUpdateFileFormat::Result::Ok) {
        return false;
    }
    m_image.swap(contents.image);
    m_descriptions.RemoveAll();
    CDescriptionEntries::Store(contents.descriptions, m_descriptions);
    return true;
}

bool CFirmwareUpdateFile::SaveZippedBytes(std::vector<BYTE>& file) const {
    UpdateFileContents words;
    words.format = m_format;
    words.protocol = m_protocol;
    words.build = m_build;
    words.firmware = m_firmware;
    words.bootloader = m_bootloader;
    return CUpdateFileFormat::BuildZipped(words, m_image, m_descriptions, file);
}

int CFirmwareUpdateFile::SaveZippedFile(LPCSTR fileName, int& cause) const {
    if (m_image.empty()) {
        return 0;
    }
    return CWholeFile::Save(fileName, cause,
                            [this](std::vector<BYTE>& file) { return SaveZippedBytes(file); });
}

void CFirmwareUpdateFile::GetDescriptions(CMapStringToString& descriptions) const {
    CDescriptionEntries::Copy(m_descriptions, descriptions);
}

void CFirmwareUpdateFile::SetDescription(LPCSTR key, LPCSTR text) {
    m_descriptions.SetAt(key, text);
}

bool CFirmwareUpdateFile::RemoveDescription(LPCSTR key) {
    return m_descriptions.RemoveKey(key) != FALSE;
}
